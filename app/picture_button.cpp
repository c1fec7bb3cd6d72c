#include "app/picture_button.h"

#include "base/instance.h"

namespace {

void Fill(HDC dc, int x, int y, int width, int height)
{
    PatBlt(dc, x, y, width, height, PATCOPY);
}

HBRUSH Stock(int brush)
{
    return static_cast<HBRUSH>(GetStockObject(brush));
}

} // namespace

void CreatePictureButton(HWND parent, int id, int x, int y, int width, int height)
{
    CreateWindowExA(0, "BUTTON", nullptr, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, x, y, width, height, parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance, nullptr);
}

void DrawPictureButton(const DRAWITEMSTRUCT* drawItem, HDC memoryContext, HBITMAP picture,
                       int pictureWidth, int pictureHeight)
{
    HDC dc = drawItem->hDC;
    int w = drawItem->rcItem.right;
    int h = drawItem->rcItem.bottom;
    bool pressed = (drawItem->itemState & ODS_SELECTED) != 0;
    HBRUSH light = Stock(pressed ? GRAY_BRUSH : WHITE_BRUSH);
    HBRUSH dark = Stock(pressed ? LTGRAY_BRUSH : GRAY_BRUSH);
    int offset = pressed ? 1 : 0;

    HGDIOBJ previousBrush = SelectObject(dc, Stock(LTGRAY_BRUSH));
    Fill(dc, 1, 1, w - 2, h - 2);

    HGDIOBJ previousPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 0, h);
    MoveToEx(dc, w - 1, 0, nullptr);
    LineTo(dc, w - 1, h);

    SelectObject(dc, light);
    Fill(dc, 1, 0, w - 2, 1);
    Fill(dc, 1, 1, 1, h - 2);
    SelectObject(dc, dark);
    Fill(dc, 1, h - 1, w - 2, 1);
    Fill(dc, w - 2, 0, 1, h - 1);
    SelectObject(dc, previousPen);
    SelectObject(dc, previousBrush);

    HGDIOBJ previousPicture = SelectObject(memoryContext, picture);
    BitBlt(dc, (w - pictureWidth) / 2 + offset, (h - pictureHeight) / 2 + offset, pictureWidth, pictureHeight,
           memoryContext, 0, 0, SRCCOPY);
    SelectObject(memoryContext, previousPicture);
}

void PaintToolbarStrip(HDC dc, int right)
{
    HGDIOBJ previousBrush = SelectObject(dc, Stock(WHITE_BRUSH));
    Fill(dc, 0, 0, right, 1);
    SelectObject(dc, Stock(BLACK_BRUSH));
    Fill(dc, 0, 1, right - 2, 1);
    Fill(dc, right - 1, 0, 1, 32);
    SelectObject(dc, Stock(LTGRAY_BRUSH));
    Fill(dc, right - 2, 0, 1, 32);
    SelectObject(dc, previousBrush);
}
