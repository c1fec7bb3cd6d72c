// What a screen reader learns of the animation list: the platform's standard
// object for it, with every row named by what the row shows.
#pragma once

#include <windows.h>

// Makes `list` answer WM_GETOBJECT for its client area. The accessibility
// libraries (and COM on the list's thread) are loaded at the first such
// request, never before, from the system folder; the list's end leaves COM
// again.
void ServeListAccessibility(HWND list);

// How many of the list's accessible objects are alive: none once every
// client has released them.
int LiveListAccessibleCount();
