#include "app/picture_button.h"

#include "app/layout.h"
#include "base/instance.h"
#include "base/system_colours.h"
#include "base/themed_controls.h"

#include <commctrl.h>

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
                       int pictureWidth, int pictureHeight, int dpi, const ColourScheme& colours)
{
    HDC dc = drawItem->hDC;
    int w = drawItem->rcItem.right;
    int h = drawItem->rcItem.bottom;
    const ToolbarGeometry toolbar = ToolbarGeometryAt(dpi);
    const int line = toolbar.line;
    bool pressed = (drawItem->itemState & ODS_SELECTED) != 0;
    Colour light = pressed ? colours.edgeShadow : colours.edgeLight;
    Colour dark = pressed ? colours.edgeSoft : colours.edgeShadow;
    int offset = pressed ? toolbar.pressOffset : 0;

    FillWithColour(dc, line, line, w - 2 * line, h - 2 * line, colours.face);
    FillWithColour(dc, 0, 0, line, h, colours.frame);
    FillWithColour(dc, w - line, 0, line, h, colours.frame);
    FillWithColour(dc, line, 0, w - 2 * line, line, light);
    FillWithColour(dc, line, line, line, h - 2 * line, light);
    FillWithColour(dc, line, h - line, w - 2 * line, line, dark);
    FillWithColour(dc, w - 2 * line, 0, line, h - line, dark);

    HGDIOBJ previousPicture = SelectObject(memoryContext, picture);
    BitBlt(dc, (w - pictureWidth) / 2 + offset, (h - pictureHeight) / 2 + offset, pictureWidth, pictureHeight,
           memoryContext, 0, 0, SRCCOPY);
    SelectObject(memoryContext, previousPicture);
}

void PaintToolbarStrip(HDC dc, int right, int dpi, const ColourScheme& colours)
{
    const ToolbarGeometry toolbar = ToolbarGeometryAt(dpi);
    const int line = toolbar.line;
    FillWithColour(dc, 0, 0, right, line, colours.edgeLight);
    FillWithColour(dc, 0, line, right - 2 * line, line, colours.frame);
    FillWithColour(dc, right - line, 0, line, toolbar.stripHeight, colours.frame);
    FillWithColour(dc, right - 2 * line, 0, line, toolbar.stripHeight, colours.edgeSoft);
}
