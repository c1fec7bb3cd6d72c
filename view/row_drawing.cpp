#include "view/row_drawing.h"

#include "base/instance.h"
#include "base/text.h"
#include "res/resource.h"
#include "view/list_accessible.h"

#include <cstddef>
#include <string_view>

char RowLabels[kRowLabelCount][kRowLabelSize];

namespace {

constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_SORT
                             | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
static_assert(kListStyle == 0x50B00153, "the list's style bits");

const COLORREF kSelectionColour = RGB(0, 128, 128);

HBRUSH SelectionBrush;
HFONT NormalFont;
HFONT BoldFont;
HICON RowIcons[kRowIconSlots];
int RowIconCount;

HFONT CreateRowFont(int weight)
{
    return CreateFontA(16, 0, 0, 0, weight, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FF_SWISS, "MS Sans Serif");
}

// Loaded unshared, so that releasing them really frees them.
HICON LoadRowIcon(int n)
{
    return static_cast<HICON>(LoadImageA(ModuleInstance, MAKEINTRESOURCEA(IDI_ROW_FIRST + n), IMAGE_ICON, 0, 0,
                                         LR_DEFAULTSIZE));
}

void Fill(HDC dc, int stockBrush, int x, int y, int width, int height)
{
    SelectObject(dc, GetStockObject(stockBrush));
    PatBlt(dc, x, y, width, height, PATCOPY);
}

// The raised panel: white top and left edges, a gray line above the black
// last line; selected rows sink into gray and light gray around the teal fill.
void DrawPanel(HDC dc, const RECT& row, bool selected)
{
    int x = row.left;
    int y = row.top;
    int width = row.right - row.left;
    int height = row.bottom - row.top;
    HGDIOBJ previous = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    PatBlt(dc, x, y + height - 1, width, 1, PATCOPY);
    Fill(dc, selected ? GRAY_BRUSH : WHITE_BRUSH, x, y, width, 1);
    PatBlt(dc, x, y, 1, height - 1, PATCOPY);
    Fill(dc, selected ? LTGRAY_BRUSH : GRAY_BRUSH, x, y + height - 2, width, 1);
    if (selected)
        SelectObject(dc, SelectionBrush);
    else
        SelectObject(dc, GetStockObject(LTGRAY_BRUSH));
    PatBlt(dc, x + 1, y + 1, width - 1, height - 3, PATCOPY);
    SelectObject(dc, previous);
}

void DrawAt(HDC dc, const RECT& row, RowPoint at, std::string_view text)
{
    TextOutA(dc, row.left + at.x, row.top + at.y, text.data(), static_cast<int>(text.size()));
}

} // namespace

void LoadRowLabels()
{
    for (int n = 0; n < kRowLabelCount; ++n)
        if (LoadStringA(ModuleInstance, IDS_LABEL_TITLE + n, RowLabels[n], kRowLabelSize) <= 0)
            RowLabels[n][0] = '\0';
}

void CreateRowResources()
{
    SelectionBrush = CreateSolidBrush(kSelectionColour);
    NormalFont = CreateRowFont(FW_NORMAL);
    BoldFont = CreateRowFont(FW_BOLD);
    RowIconCount = LoadUntilMissing(RowIcons, LoadRowIcon);
}

int CreateAnimationList(HWND window, int listId)
{
    CreateRowResources();
    HWND list = CreateWindowExA(0, "LISTBOX", nullptr, kListStyle, 0, 0, 0, 0, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(listId)), ModuleInstance, nullptr);
    SendDlgItemMessageA(window, listId, LB_SETITEMHEIGHT, 0, kRowHeight);
    SendDlgItemMessageA(window, listId, LB_SETHORIZONTALEXTENT, kRowExtent, 0);
    ServeListAccessibility(list);
    return list != nullptr ? 1 : 0;
}

void DrawAnimationRow(HDC dc, const RECT& row, bool selected, const AnimationRecord& record,
                      const RowValues& values)
{
    DrawPanel(dc, row, selected);
    int icon = record.iconIndex >= 0 && record.iconIndex < RowIconCount ? record.iconIndex : 0;
    if (RowIcons[icon] != nullptr)
        DrawIcon(dc, row.left + kRowIconAt.x, row.top + kRowIconAt.y, RowIcons[icon]);

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    HGDIOBJ previousFont = SelectObject(dc, BoldFont);
    for (int n = 0; n < kRowLabelCount; ++n)
        DrawAt(dc, row, kRowLabelAt[n], std::string_view(RowLabels[n], BoundedLength(RowLabels[n], kRowLabelSize)));

    SelectObject(dc, NormalFont);
    SetTextColor(dc, selected ? RGB(255, 255, 255) : RGB(0, 0, 0));
    for (int n = 0; n < kRowLabelCount; ++n)
        DrawAt(dc, row, kRowValueAt[n], values.text[n]);
    SelectObject(dc, previousFont);
}

int DrawAnimationItem(const DRAWITEMSTRUCT* drawItem)
{
    // An empty list asks for a row -1 (its focus rectangle): nothing to draw.
    if (static_cast<int>(drawItem->itemID) < 0)
        return 1;
    bool selected = (drawItem->itemState & ODS_SELECTED) != 0;
    const auto* record = reinterpret_cast<const AnimationRecord*>(drawItem->itemData);
    if (record == nullptr) {
        DrawPanel(drawItem->hDC, drawItem->rcItem, selected);
        return 0;
    }
    char keywords[kKeywordTextSize];
    DrawAnimationRow(drawItem->hDC, drawItem->rcItem, selected, *record, RowValuesOf(*record, keywords));
    return 1;
}

void ReleaseListResources()
{
    HGDIOBJ objects[] = {SelectionBrush, NormalFont, BoldFont};
    for (HGDIOBJ object : objects)
        if (object != nullptr)
            DeleteObject(object);
    SelectionBrush = nullptr;
    NormalFont = nullptr;
    BoldFont = nullptr;
    for (int n = 0; n < RowIconCount; ++n) {
        DestroyIcon(RowIcons[n]);
        RowIcons[n] = nullptr;
    }
    RowIconCount = 0;
}
