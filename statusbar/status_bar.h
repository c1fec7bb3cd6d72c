// The status bar at the foot of the main window.
#pragma once

#include <windows.h>

#include "base/colour_scheme.h"
#include "statusbar/status_text.h"

int RegisterStatusBarClass(HINSTANCE instance);
// The bar is laid out for `dpi` until SetStatusBarDpi moves it to another.
HWND CreateStatusBar(HWND parent, int id, int dpi = kBaseDpi);
void SetStatusBarDpi(HWND parent, int id, int dpi);
// Shows row `index` (zero-based, -1 for none) of `count` and its path.
void UpdateStatusBar(HWND parent, int id, int index, int count, const char* path);
LRESULT CALLBACK StatusBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Paints a bar of `area`'s size showing `texts` into any device context,
// laid out for `dpi`; the size grip in its bottom-right corner with the newer
// look. The bar's background is the window's: light gray, or the face colour
// of `colours`.
void PaintStatusBar(HDC dc, const RECT& area, const StatusTexts& texts, bool newerLook, int dpi = kBaseDpi,
                    const ColourScheme& colours = kClassicColours);
// A pane sunk into the bar: gray top and left edges, white bottom and right
// edges (`line` pixels wide), light gray inside, the text in the device
// context's text colour; `alignment` is DT_CENTER or DT_LEFT. `colours` may
// give others for the classic ones.
void DrawSunkenPane(HDC dc, const RECT& rectangle, const char* text, UINT alignment, int line = 1,
                    const ColourScheme& colours = kClassicColours);
