// The status bar at the foot of the main window.
#pragma once

#include <windows.h>

#include "statusbar/status_text.h"

// The one status bar's state; the class keeps no per-window data.
struct StatusBarState {
    char labelText[kStatusLabelSize];
    char positionText[kStatusPositionSize];
    char pathText[kStatusPathSize];
    int clientWidth;
    int clientHeight;
    int newerLook;
};

extern StatusBarState StatusBar;

int RegisterStatusBarClass(HINSTANCE instance);
HWND CreateStatusBar(HWND parent, int id);
// Shows row `index` (zero-based, -1 for none) of `count` and its path.
void UpdateStatusBar(HWND parent, int id, int index, int count, const char* path);
LRESULT CALLBACK StatusBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The painting, into any device context of the status bar's size.
void PaintStatusBar(HWND window, HDC dc, int newerLook);
// A pane sunk into the bar: gray top and left edges, white bottom and right
// edges, light gray inside; `alignment` is DT_CENTER or DT_LEFT.
void DrawSunkenPane(HDC dc, const RECT& rectangle, const char* text, UINT alignment);
