// The toolbar's owner-drawn picture buttons and the strip behind them.
#pragma once

#include <windows.h>

void CreatePictureButton(HWND parent, int id, int x, int y, int width, int height);

// Draws one button: raised, or pressed (gray upper-left edge, picture one
// pixel right and down); the picture comes from `memoryContext`.
void DrawPictureButton(const DRAWITEMSTRUCT* drawItem, HDC memoryContext, HBITMAP picture,
                       int pictureWidth, int pictureHeight);

// The strip's lines: white top row, black row under it, black and light gray
// right columns. Everything else shows the class background.
void PaintToolbarStrip(HDC dc, int right);
