// Filling the animation list and reading back its rows.
#pragma once

#include <windows.h>

// Refills list `listId` of `window` in `sortMode` (negative: keep the current
// order) through the keyword filter; returns the rows added. Selects nothing.
int FillAnimationList(HWND window, int listId, int sortMode);

// BasePath and the file of the row at `rowPosition`, in a buffer that the next
// call overwrites; the empty text when there is no such row.
const char* SelectedAnimationPath(HWND window, int listId, int rowPosition);

// The title of the row at `rowPosition`; the empty text when there is no such row.
const char* AnimationRowTitle(HWND window, int listId, int rowPosition);
