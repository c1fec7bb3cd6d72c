// Start-up: where the catalogue is, the medium prompt, one instance only.
#pragma once

#include <windows.h>

// The running main window; written only by start-up and the entry point.
extern HWND MainWindowHandle;

// 1 to go on and create the main window; 0 to end at once (the user cancelled
// the medium prompt, or another instance runs and was brought to the front).
int StartUp(HINSTANCE instance, const char* arguments);
