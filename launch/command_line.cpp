#include "launch/command_line.h"

#include "base/text.h"
#include "res/resource.h"

#include <cstring>

namespace {

// The program started from the program folder when the registered one cannot
// be used. Each name ends in the blank that separates it from the path.
const char* FallbackName(int commandId)
{
    switch (commandId) {
    case ID_EDIT: return "VANEDIT.EXE ";
    case ID_COPY: return "VANCOPY.EXE ";
    default: return "VANSHOW.EXE ";
    }
}

// The registered command cut to its program part: the registered argument
// goes, and the copy tool is looked for beside the program registered for the
// image-sequence type. False when that program cannot be used.
bool RegisteredProgram(const RegistryAnswer& answer, int commandId, LaunchEnvironment& environment,
                       char (&part)[kCommandLineSize])
{
    if (answer.result != 0 || answer.size <= 0 || answer.text == nullptr)
        return false;
    std::size_t stored = static_cast<std::size_t>(answer.size);
    if (stored > kCommandLineSize)
        stored = kCommandLineSize;
    std::size_t length = BoundedLength(answer.text, stored);
    if (length == kCommandLineSize)
        return false;               // no room left for the terminator
    std::memcpy(part, answer.text, length);
    part[length] = '\0';

    if (char* blank = std::strrchr(part, ' '))
        blank[1] = '\0';
    if (commandId == ID_COPY) {
        if (char* backslash = std::strrchr(part, '\\'))
            backslash[1] = '\0';
        if (!AppendText(part, FallbackName(ID_COPY)))
            return false;           // a cut name would test another file
    }
    return environment.Exists(part) != 0;
}

} // namespace

const char* RegisteredCommandKey(int commandId)
{
    return commandId == ID_PLAY ? "vAnimation\\shell\\open\\command" : "vBildsequenz\\shell\\open\\command";
}

bool ComposeCompanionStart(const RegistryAnswer& answer, int commandId, LaunchEnvironment& environment,
                           const char* selectedPath, bool rowSelected, CompanionStart& start)
{
    start.commandLine[0] = '\0';
    start.nameStart = -1;
    start.folderPath[0] = '\0';
    char* line = start.commandLine;
    if (rowSelected && selectedPath[0] == '\0')
        return false;               // the row's path was too long to be held whole

    if (!RegisteredProgram(answer, commandId, environment, start.commandLine)) {
        char folder[kFolderSize];
        if (!environment.ProgramFolder(folder) || !CopyText(start.commandLine, folder)
            || !AppendText(start.commandLine, FallbackName(commandId))) {
            start.commandLine[0] = '\0';
            return false;
        }
    }

    // A registered command without any blank is all program: the path still
    // needs its separating blank, or the two would run together as one name.
    std::size_t length = std::strlen(line);
    bool fits = length == 0 || line[length - 1] == ' ' || AppendText(start.commandLine, " ");

    // The second start runs the program's file name on its own, never the
    // animation: a program part that ends in its folder gets none.
    if (const char* backslash = std::strrchr(line, '\\')) {
        if (backslash[1] != ' ' && backslash[1] != '\0')
            start.nameStart = static_cast<int>(backslash + 1 - line);
    }

    fits = fits && AppendText(start.commandLine, selectedPath);
    if (fits && commandId == ID_EDIT)
        fits = CopyText(start.folderPath, selectedPath);
    if (!fits) {
        start.commandLine[0] = '\0';
        start.nameStart = -1;
        start.folderPath[0] = '\0';
        return false;
    }
    return true;
}

void CutToFolder(char* path)
{
    if (char* backslash = std::strrchr(path, '\\'))
        *backslash = '\0';
}

bool EditFolder(char (&folder)[kPathSize], const char* path)
{
    folder[0] = '\0';
    const char* backslash = std::strrchr(path, '\\');
    std::size_t length = backslash != nullptr ? static_cast<std::size_t>(backslash - path) : std::strlen(path);
    if (length == 0 || length >= kPathSize)
        return false;
    std::memcpy(folder, path, length);
    folder[length] = '\0';
    return true;
}

int FolderDrive(const char* folder)
{
    char letter = folder[0];
    if (letter == '\0' || folder[1] != ':')
        return 0;
    if (letter >= 'A' && letter <= 'Z')
        return letter - 'A' + 1;
    if (letter >= 'a' && letter <= 'z')
        return letter - 'a' + 1;
    return 0;
}
