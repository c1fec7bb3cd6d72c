// Starting the player, the editor and the copy tool on the selected animation.
#pragma once

#include <windows.h>

// Starts the companion of `commandId` (ID_PLAY, ID_EDIT, ID_COPY); 1 when a
// program started, 0 when the error message was shown.
int LaunchCompanion(HWND mainWindow, int listId, int commandId);

// Makes the folder of `path` the current drive and folder; 0 on success.
int EnterFileFolder(const char* path);
