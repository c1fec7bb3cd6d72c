// An animation's picture, colour indices and their 256 colours, drawn into
// any device context: the preview's and the viewer's.
#pragma once

#include <windows.h>

#include <cstdint>

// Draws the `width` x `height` picture (rows top first, `indices` in whole
// 4-byte words a row) stretched to `to`, nearest pixel: never blurred, at its
// own size every pixel the file's. `palette` is 256 colours as R, G, B.
void DrawIndexedPicture(HDC dc, const RECT& to, const std::uint8_t* indices, int width, int height,
                        const std::uint8_t* palette);
