// The toolbar's owner-drawn picture buttons and the strip behind them.
#pragma once

#include <windows.h>

#include "base/colour_scheme.h"
#include "base/dpi.h"

// A button that shows a picture and carries `name` as its window text, which
// the drawing never shows but a screen reader and the tooltip read.
void CreatePictureButton(HWND parent, int id, const char* name, int x, int y, int width, int height);

// A tooltip that names each of the `count` picture buttons `ids` of `parent`
// by its window text. The common controls are loaded here, not at start-up.
HWND CreateButtonTooltips(HWND parent, const int* ids, int count);

// Draws one button: raised, or pressed (gray upper-left edge, picture one
// pixel right and down); the picture comes from `memoryContext`. Edges and
// the press are as wide as a line at `dpi`; the classic colours are named,
// `colours` may give others.
void DrawPictureButton(const DRAWITEMSTRUCT* drawItem, HDC memoryContext, HBITMAP picture,
                       int pictureWidth, int pictureHeight, int dpi = kBaseDpi,
                       const ColourScheme& colours = kClassicColours);

// The strip's lines: white top row, black row under it, black and light gray
// right columns, as high as the strip at `dpi`. Everything else shows the
// window's background.
void PaintToolbarStrip(HDC dc, int right, int dpi = kBaseDpi, const ColourScheme& colours = kClassicColours);
