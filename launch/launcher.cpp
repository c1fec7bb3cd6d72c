#include "launch/launcher.h"

#include "base/file_exists.h"
#include "base/messages.h"
#include "catalogue/settings.h"
#include "launch/command_line.h"
#include "res/resource.h"

#include <direct.h>

namespace {

class SystemEnvironment final : public LaunchEnvironment {
public:
    int Exists(const char* programPart) override { return FileExists(programPart); }

    bool ProgramFolder(char (&folder)[kFolderSize]) override
    {
        return ResolveFolderSetting(IDS_SETTINGS, IDS_PROGRAM_PATH, folder, 0) != 0;
    }
};

bool Started(const char* commandLine)
{
    return WinExec(commandLine, SW_SHOW) >= 32;
}

} // namespace

int LaunchCompanion(HWND owner, int commandId, const char* animationPath, bool rowSelected)
{
    // The registry is only read here, never written.
    char registered[kCommandLineSize];
    LONG size = sizeof registered;
    LONG result = RegQueryValueA(HKEY_CLASSES_ROOT, RegisteredCommandKey(commandId), registered, &size);

    SystemEnvironment environment;
    CompanionStart start;
    if (ComposeCompanionStart({result, registered, size}, commandId, environment, animationPath, rowSelected, start)) {
        // The editor works in the animation's folder; KORVAL keeps it as its own.
        if (start.folderPath[0] != '\0')
            EnterFileFolder(start.folderPath);
        if (Started(start.commandLine))
            return 1;
        // The named folder may not hold the program: let the platform's
        // program search look for its file name.
        if (start.nameStart >= 0 && Started(start.commandLine + start.nameStart))
            return 1;
    }
    ShowStringMessage(owner, IDS_PROGRAM_MISSING, IDS_ERROR_CAPTION, MB_ICONHAND);
    return 0;
}

int EnterFileFolder(const char* path)
{
    // The folder stays in the ANSI code page: the runtime's _chdir reads ANSI
    // names, and an OEM copy would miss every folder whose name holds an umlaut.
    char folder[kPathSize];
    if (!EditFolder(folder, path))
        return -1;              // no animation, or a folder that would be cut: stay
    _strupr(folder);
    // Only a drive letter names a drive: a network folder (\\SERVER\SHARE)
    // changes the folder alone, and the runtime never sees a drive beyond Z.
    if (int drive = FolderDrive(folder))
        _chdrive(drive);
    return _chdir(folder);
}
