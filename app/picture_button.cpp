#include "app/picture_button.h"

#include "app/layout.h"
#include "base/instance.h"
#include "base/themed_controls.h"

#include <commctrl.h>

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

void CreatePictureButton(HWND parent, int id, const char* name, int x, int y, int width, int height)
{
    CreateWindowExA(0, "BUTTON", name, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, x, y, width, height, parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance, nullptr);
}

HWND CreateButtonTooltips(HWND parent, const int* ids, int count)
{
    // The themed controls' context picks the library of the system's visual style.
    ThemedControls themed;
    using InitProc = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    HMODULE controls = LoadLibraryA("comctl32.dll");
    auto initialise = controls != nullptr ? reinterpret_cast<InitProc>(reinterpret_cast<void*>(
                                                GetProcAddress(controls, "InitCommonControlsEx")))
                                          : nullptr;
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
    if (initialise == nullptr || !initialise(&classes))
        return nullptr;
    HWND tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, ModuleInstance,
                                   nullptr);
    if (tooltip == nullptr)
        return nullptr;
    for (int n = 0; n < count; ++n) {
        HWND button = GetDlgItem(parent, ids[n]);
        char name[64] = "";
        GetWindowTextA(button, name, sizeof name);
        // The size of the first tool structure: every version takes it.
        TOOLINFOA tool = {};
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = parent;
        tool.uId = reinterpret_cast<UINT_PTR>(button);
        tool.lpszText = name;
        SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return tooltip;
}

void DrawPictureButton(const DRAWITEMSTRUCT* drawItem, HDC memoryContext, HBITMAP picture,
                       int pictureWidth, int pictureHeight, int dpi)
{
    HDC dc = drawItem->hDC;
    int w = drawItem->rcItem.right;
    int h = drawItem->rcItem.bottom;
    const ToolbarGeometry toolbar = ToolbarGeometryAt(dpi);
    const int line = toolbar.line;
    bool pressed = (drawItem->itemState & ODS_SELECTED) != 0;
    HBRUSH light = Stock(pressed ? GRAY_BRUSH : WHITE_BRUSH);
    HBRUSH dark = Stock(pressed ? LTGRAY_BRUSH : GRAY_BRUSH);
    int offset = pressed ? toolbar.pressOffset : 0;

    HGDIOBJ previousBrush = SelectObject(dc, Stock(LTGRAY_BRUSH));
    Fill(dc, line, line, w - 2 * line, h - 2 * line);

    HGDIOBJ previousPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    for (int n = 0; n < line; ++n) {
        MoveToEx(dc, n, 0, nullptr);
        LineTo(dc, n, h);
        MoveToEx(dc, w - 1 - n, 0, nullptr);
        LineTo(dc, w - 1 - n, h);
    }

    SelectObject(dc, light);
    Fill(dc, line, 0, w - 2 * line, line);
    Fill(dc, line, line, line, h - 2 * line);
    SelectObject(dc, dark);
    Fill(dc, line, h - line, w - 2 * line, line);
    Fill(dc, w - 2 * line, 0, line, h - line);
    SelectObject(dc, previousPen);
    SelectObject(dc, previousBrush);

    HGDIOBJ previousPicture = SelectObject(memoryContext, picture);
    BitBlt(dc, (w - pictureWidth) / 2 + offset, (h - pictureHeight) / 2 + offset, pictureWidth, pictureHeight,
           memoryContext, 0, 0, SRCCOPY);
    SelectObject(memoryContext, previousPicture);
}

void PaintToolbarStrip(HDC dc, int right, int dpi)
{
    const ToolbarGeometry toolbar = ToolbarGeometryAt(dpi);
    const int line = toolbar.line;
    HGDIOBJ previousBrush = SelectObject(dc, Stock(WHITE_BRUSH));
    Fill(dc, 0, 0, right, line);
    SelectObject(dc, Stock(BLACK_BRUSH));
    Fill(dc, 0, line, right - 2 * line, line);
    Fill(dc, right - line, 0, line, toolbar.stripHeight);
    SelectObject(dc, Stock(LTGRAY_BRUSH));
    Fill(dc, right - 2 * line, 0, line, toolbar.stripHeight);
    SelectObject(dc, previousBrush);
}
