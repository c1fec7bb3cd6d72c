// The status bar at the foot of the main window.
#pragma once

#include <windows.h>

#include "statusbar/status_text.h"

int RegisterStatusBarClass(HINSTANCE instance);
HWND CreateStatusBar(HWND parent, int id);
// Shows row `index` (zero-based, -1 for none) of `count` and its path.
void UpdateStatusBar(HWND parent, int id, int index, int count, const char* path);
LRESULT CALLBACK StatusBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Paints a bar of `area`'s size showing `texts` into any device context; the
// size grip in its bottom-right corner with the newer look.
void PaintStatusBar(HDC dc, const RECT& area, const StatusTexts& texts, bool newerLook);
// A pane sunk into the bar: gray top and left edges, white bottom and right
// edges, light gray inside; `alignment` is DT_CENTER or DT_LEFT.
void DrawSunkenPane(HDC dc, const RECT& rectangle, const char* text, UINT alignment);
