// A stand-in for one program of the Vantry package. It notes how it was
// started: with VANTRY_STANDIN_LOG set, one line appended to that file (its
// command line, a tab, its current folder), quietly and at once; otherwise a
// message box saying what it was asked to do.
#include <windows.h>

#include <string>

namespace {

// The text after the program's own name on the command line.
std::string Arguments(const char* commandLine)
{
    const char* cursor = commandLine;
    if (*cursor == '"') {
        ++cursor;
        while (*cursor != '\0' && *cursor != '"')
            ++cursor;
        if (*cursor == '"')
            ++cursor;
    } else {
        while (*cursor != '\0' && *cursor != ' ' && *cursor != '\t')
            ++cursor;
    }
    while (*cursor == ' ' || *cursor == '\t')
        ++cursor;
    return cursor;
}

std::string CurrentFolder()
{
    char folder[MAX_PATH * 2] = "";
    DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
    return length < sizeof folder ? std::string(folder, length) : std::string();
}

std::string LogPath()
{
    char path[MAX_PATH * 2] = "";
    DWORD length = GetEnvironmentVariableA("VANTRY_STANDIN_LOG", path, sizeof path);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

void AppendLine(const std::string& logPath, const std::string& line)
{
    HANDLE file = CreateFileA(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const char* commandLine = GetCommandLineA();
    std::string folder = CurrentFolder();
    std::string logPath = LogPath();
    if (!logPath.empty()) {
        AppendLine(logPath, std::string(commandLine) + "\t" + folder + "\r\n");
        return 0;
    }
    std::string arguments = Arguments(commandLine);
    std::string text = arguments.empty()
        ? std::string(STANDIN_NAME " wurde ohne Animation gestartet.")
        : std::string(STANDIN_NAME " soll " STANDIN_ACTION ":\n") + arguments;
    text += "\n\nAktueller Ordner: " + folder + "\n\n(Platzhalter, nicht das Programm selbst.)";
    MessageBoxA(nullptr, text.c_str(), STANDIN_NAME, MB_OK | MB_ICONINFORMATION);
    return 0;
}
