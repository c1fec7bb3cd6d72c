// Starting the player, the editor and the copy tool on the selected animation.
#pragma once

#include <windows.h>

// Starts the companion of `commandId` (ID_PLAY, ID_EDIT, ID_COPY) on
// `animationPath`, the selected row's full path. Without a selected row
// (`rowSelected` false) the program starts on no file; a selected row whose
// path is empty could not be formed, and then nothing starts. 1 when a
// program started, 0 when the error message was shown over `owner`.
int LaunchCompanion(HWND owner, int commandId, const char* animationPath, bool rowSelected);

// Makes the folder of `path` the current drive and folder; 0 on success.
int EnterFileFolder(const char* path);
