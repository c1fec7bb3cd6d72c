// The command line of Play, Edit and Copy from any registered command (second
// line), program folder (third line) and selected path (fourth line); the
// first line chooses the command and whether the registered program exists.
#include "fuzz_input.h"
#include "launch/command_line.h"
#include "view/list_order.h"
#include "res/resource.h"

#include <cstdio>

namespace {

class Environment final : public LaunchEnvironment {
public:
    Environment(bool exists, std::string folder) : exists_(exists), folder_(std::move(folder)) {}
    int Exists(const char* programPart) override
    {
        FUZZ_CHECK(Terminated(programPart, kCommandLineSize));
        return exists_ ? 1 : 0;
    }
    bool ProgramFolder(char (&folder)[kFolderSize]) override
    {
        if (folder_.size() >= kFolderSize)
            return false;
        std::memcpy(folder, folder_.c_str(), folder_.size() + 1);
        return true;
    }

private:
    bool exists_;
    std::string folder_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    std::string choice = input.Next();
    int commandId = ID_PLAY;
    bool exists = false;
    long result = 0;
    bool rowSelected = false;
    if (!choice.empty()) {
        commandId = choice[0] % 3 == 0 ? ID_PLAY : choice[0] % 3 == 1 ? ID_EDIT : ID_COPY;
        exists = (choice[0] & 8) != 0;
        result = (choice[0] & 16) != 0 ? 2 : 0;
        rowSelected = (choice[0] & 32) != 0;
    }
    // The registry's bytes, not necessarily terminated, and the size it reports.
    std::string registered = input.Next();
    std::string folder = input.Next();
    std::string selected = input.Next().substr(0, kAnimationPathSize - 1);     // the path buffer's capacity
    // The launcher's buffer as the registry leaves it: never more than its
    // size reported, and what follows the value is whatever was there.
    std::vector<char> bytes(registered.begin(), registered.end());
    bytes.resize(kCommandLineSize, 'x');
    long reported = choice.size() > 1 ? static_cast<unsigned char>(choice[1]) : static_cast<long>(registered.size() + 1);
    if (reported > static_cast<long>(kCommandLineSize))
        reported = static_cast<long>(kCommandLineSize);

    // Edit's folder change on any text: a whole folder of it or none, and a
    // drive from A to Z only.
    char editFolder[kPathSize];
    if (EditFolder(editFolder, folder.c_str()))
        FUZZ_CHECK(std::strlen(editFolder) > 0 && folder.compare(0, std::strlen(editFolder), editFolder) == 0);
    else
        FUZZ_CHECK(editFolder[0] == '\0');
    int drive = FolderDrive(editFolder);
    FUZZ_CHECK(drive >= 0 && drive <= 26);

    RegistryAnswer answer{result, bytes.data(), reported};
    Environment environment(exists, folder);
    CompanionStart start;
    std::memset(&start, 0x5A, sizeof start);
    bool fits = ComposeCompanionStart(answer, commandId, environment, selected.c_str(), rowSelected, start);
    FUZZ_CHECK(Terminated(start.commandLine, sizeof start.commandLine));
    FUZZ_CHECK(Terminated(start.folderPath, sizeof start.folderPath));
    std::size_t length = std::strlen(start.commandLine);
    if (!fits) {
        FUZZ_CHECK(length == 0 && start.nameStart == -1);
        return 0;
    }
    // A selected row always starts the program on its file.
    FUZZ_CHECK(!rowSelected || !selected.empty());
    // The selected path is the line's end, whole.
    FUZZ_CHECK(length >= selected.size() && std::strcmp(start.commandLine + length - selected.size(), selected.c_str()) == 0);
    FUZZ_CHECK(start.nameStart >= -1 && start.nameStart < static_cast<int>(length));
    if (commandId == ID_EDIT) {
        FUZZ_CHECK(std::strcmp(start.folderPath, selected.c_str()) == 0);
        CutToFolder(start.folderPath);
        FUZZ_CHECK(Terminated(start.folderPath, sizeof start.folderPath));
    }
    return 0;
}
