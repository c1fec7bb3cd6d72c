// The command line that starts the player, the editor or the copy tool on the
// selected animation, composed from what the registry and the catalogue say.
#pragma once

#include "base/sizes.h"
#include "catalogue/store.h"

#include <cstddef>

// The longest command line the platform starts: CreateProcess takes up to
// 32 767 characters with the terminator, and WinExec hands its line on to it.
// A registered command, a program and its arguments, is read into as much.
// A line composed here is far shorter: a program part of at most 271
// characters (a program folder of 259 and "VANCOPY.EXE ") and a path of 259.
constexpr std::size_t kCommandLineSize = 32767;

// The key under HKEY_CLASSES_ROOT whose default value holds the command
// registered for the companion of `commandId` (ID_PLAY, ID_EDIT, ID_COPY).
const char* RegisteredCommandKey(int commandId);

// The registry's answer to the query of that value.
struct RegistryAnswer {
    long result;            // 0 when the value was read
    const char* text;       // the bytes stored, not necessarily terminated
    long size;              // the bytes stored, terminator included
};

// What the composition asks of the system around it.
class LaunchEnvironment {
public:
    // 1 when a file or folder of that name exists; blanks at its end do not count.
    virtual int Exists(const char* programPart) = 0;
    // The catalogue's program folder ending in a backslash; false when it
    // cannot be held whole.
    virtual bool ProgramFolder(char (&folder)[kFolderSize]) = 0;

protected:
    ~LaunchEnvironment() = default;
};

struct CompanionStart {
    char commandLine[kCommandLineSize];
    // Where the program's file name starts in the command line, for a second
    // start through the platform's program search; -1: no second start.
    int nameStart;
    // Edit only: the animation whose folder becomes the current folder before
    // the start; empty for no change.
    char folderPath[kPathSize];
};

// Composes the start of the companion of `commandId` on `selectedPath` (empty
// when no row is selected, and the program starts on no file). False when the
// command line cannot be held whole, or when a row is selected but its path
// could not be formed (empty): a program started then would open no file, or
// a different one. Then nothing may be started and `start` holds empty texts.
bool ComposeCompanionStart(const RegistryAnswer& answer, int commandId, LaunchEnvironment& environment,
                           const char* selectedPath, bool rowSelected, CompanionStart& start);

// Cuts a file's path in place to its folder, the last backslash removed:
// D:\ANIM\BALL.FLC becomes D:\ANIM, and D:\BALL.FLC becomes D: (drive D's
// current folder). A text without a backslash stays as it is.
void CutToFolder(char* path);

// The folder that Edit makes current for the animation at `path`: the path
// cut at its last backslash, as CutToFolder does. False, with `folder` empty,
// when that leaves no folder (an empty path, \BALL.FLC) and for a folder
// longer than 259 characters, which is never cut to fit: a cut folder would
// be another one.
bool EditFolder(char (&folder)[kPathSize], const char* path);

// The drive that Edit's folder change makes current: 1 for A: up to 26 for Z:
// (either letter case), when the folder starts with a drive letter and a
// colon. 0 for every other folder (a network folder \\SERVER\SHARE\..., a
// relative one, the empty text): then only the folder changes.
int FolderDrive(const char* folder);
