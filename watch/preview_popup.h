// The preview: a small window beside a row of the animation list that plays
// the row's animation. It comes when the pointer rests on a row, or with F3
// for the selected row, and goes on a click, a key, scrolling, the pointer
// leaving the list, the main window losing the activation or a companion
// program starting. It never takes the focus or the activation.
#pragma once

#include <windows.h>

#include "watch/preview_reading.h"

// Watches `list` for the pointer resting on its rows. Nothing of the preview
// is made before it is first shown.
void WatchListForPreview(HWND list, int dpi);
// The DPI the preview is drawn at: the main window's. A shown preview goes.
void SetPreviewDpi(int dpi);

// Shows the preview of the selected row of list `listId`, or hides it when
// shown; a preview the pointer showed is kept instead, as if F3 had shown it.
void TogglePreview(HWND window, int listId);
void HidePreview();
// Hides a preview the pointer showed; one that F3 or "Vorschau" showed stays
// (through the menu, where "Vorschau" carries its check mark).
void HideHoverPreview();

// The popup while a preview is asked for or shown; null otherwise.
HWND PreviewWindow();

// Draws a preview into any device context: the background, `frame` (null for
// none) at `shown` size at the top left, and `line` under it, as laid out by
// PreviewLayoutAt for `dpi` in the popup's client area `area`.
void PaintPreview(HDC dc, const RECT& area, const PreviewFrame* frame, PreviewSize shown, const char* line, int dpi);
