// The list control and the drawing of its 84-pixel rows.
#pragma once

#include <windows.h>

#include "base/colour_scheme.h"
#include "catalogue/store.h"
#include "view/row_text.h"

// The labels "Titel:", "Autor:", ... as the string table gives them;
// written only by LoadRowLabels.
extern char RowLabels[kRowLabelCount][kRowLabelSize];
void LoadRowLabels();
// The fonts and the row icons, made once for `dpi`.
void CreateRowResources(int dpi = kBaseDpi);
// 1 when the list control was made; its drawing tools are made either way.
// Rows, fonts and icons take the sizes of `dpi`. The list answers a screen
// reader's questions with its rows' names.
int CreateAnimationList(HWND window, int listId, int dpi = kBaseDpi);
// The list and its drawing tools move to `dpi`: fonts and icons made anew,
// the row height and extent scaled. The selected row and the first row shown
// stay. Returns that first row (-1 without a list): a list that is then
// sized anew may scroll, and is shown from that row again (ShowListFrom).
int SetAnimationListDpi(HWND window, int listId, int dpi);
void ShowListFrom(HWND window, int listId, int top);

// Draws the row of `record` showing `values` into any device context: the
// panel, the icon, the labels and the values, laid out for the DPI the
// drawing tools were made for, in the colours of `scheme`.
void DrawAnimationRow(HDC dc, const RECT& row, bool selected, const AnimationRecord& record,
                      const RowValues& values, const ColourScheme& scheme = kClassicColours);
// Draws the list item the list asks for; 0 when the item carries no record
// (only its panel is drawn).
int DrawAnimationItem(const DRAWITEMSTRUCT* drawItem, const ColourScheme& scheme = kClassicColours);

void ReleaseListResources();
