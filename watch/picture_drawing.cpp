#include "watch/picture_drawing.h"

void DrawIndexedPicture(HDC dc, const RECT& to, const std::uint8_t* indices, int width, int height,
                        const std::uint8_t* palette)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = -height;     // top row first
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = 256;
    for (int n = 0; n < 256; ++n)
        info.colours[n] = RGBQUAD{palette[n * 3 + 2], palette[n * 3 + 1], palette[n * 3], 0};
    const int previousMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, 0, 0, width, height, indices,
                  reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, previousMode);
}
