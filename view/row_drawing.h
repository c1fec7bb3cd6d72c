// The list control and the drawing of its 84-pixel rows.
#pragma once

#include <windows.h>

void LoadRowLabels();
// 1 when the list control was made; its fonts, brush and icons are made either way.
int CreateAnimationList(HWND window, int listId);
// Draws one row; 0 when the row carries no record.
int DrawAnimationRow(const DRAWITEMSTRUCT* drawItem);
void ReleaseListResources();
