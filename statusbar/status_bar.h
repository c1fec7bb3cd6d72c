// The status bar at the foot of the main window.
#pragma once

#include <windows.h>

int RegisterStatusBarClass(HINSTANCE instance);
HWND CreateStatusBar(HWND parent, int id);
// Shows row `index` (zero-based, -1 for none) of `count` and its path.
void UpdateStatusBar(HWND parent, int id, int index, int count, const char* path);
LRESULT CALLBACK StatusBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
