#include "view/row_drawing.h"

#include "base/instance.h"
#include "base/system_colours.h"
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

HFONT NormalFont;
HFONT BoldFont;
HICON RowIcons[kRowIconSlots];
int RowIconCount;
// The DPI the fonts and icons were made for, and the rows' layout there.
int RowDpi = kBaseDpi;
RowGeometry Row = RowGeometryAt(kBaseDpi);
// The labels' widths in the bold font, the same in every row: measured with
// the first row drawn, forgotten when the fonts or the labels change.
int LabelWidths[kRowLabelCount];
bool LabelWidthsKnown = false;

HFONT CreateRowFont(int weight)
{
    return CreateFontA(Row.fontHeight, 0, 0, 0, weight, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FF_SWISS,
                       RowFontFace(RowDpi));
}

// Loaded unshared, so that releasing them really frees them; in the size of
// the icon cell, so the picture made for that size is taken, not a stretched one.
HICON LoadRowIcon(int n)
{
    return static_cast<HICON>(LoadImageA(ModuleInstance, MAKEINTRESOURCEA(IDI_ROW_FIRST + n), IMAGE_ICON,
                                         Row.iconSize, Row.iconSize, 0));
}

// The raised panel: light top and left edges, a shadow line above the last
// line; selected rows sink (their own colours) around their fill.
void DrawPanel(HDC dc, const RECT& row, const RowColours& colours)
{
    int x = row.left;
    int y = row.top;
    int width = row.right - row.left;
    int height = row.bottom - row.top;
    int line = Row.line;
    FillWithColour(dc, x, y + height - line, width, line, colours.last);
    FillWithColour(dc, x, y, width, line, colours.light);
    FillWithColour(dc, x, y, line, height - line, colours.light);
    FillWithColour(dc, x, y + height - 2 * line, width, line, colours.shadow);
    FillWithColour(dc, x + line, y + line, width - line, height - 3 * line, colours.fill);
}

// The list's rows in the height and extent of the current DPI. A list that
// refuses the height keeps its own, and the rows are laid out for that one:
// texts laid out for a higher row would run over the rows below.
void SizeRows(HWND list)
{
    if (list != nullptr && SendMessageA(list, LB_SETITEMHEIGHT, 0, Row.height) == LB_ERR) {
        LRESULT height = SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
        if (height > 0 && height != Row.height) {
            ReleaseListResources();
            CreateRowResources(RowDpiForHeight(static_cast<int>(height)));
        }
    }
    SendMessageA(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(Row.extent), 0);
}

void DrawAt(HDC dc, const RECT& row, int x, int y, std::string_view text)
{
    TextOutA(dc, row.left + x, row.top + y, text.data(), static_cast<int>(text.size()));
}

// The width of `text` in the font selected into `dc`.
int WidthOf(HDC dc, std::string_view text)
{
    SIZE size = {0, 0};
    if (text.empty() || !GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size))
        return 0;
    return size.cx;
}

std::string_view LabelText(int n)
{
    return std::string_view(RowLabels[n], BoundedLength(RowLabels[n], kRowLabelSize));
}

} // namespace

void LoadRowLabels()
{
    for (int n = 0; n < kRowLabelCount; ++n)
        if (LoadStringA(ModuleInstance, IDS_LABEL_TITLE + n, RowLabels[n], kRowLabelSize) <= 0)
            RowLabels[n][0] = '\0';
    LabelWidthsKnown = false;
}

void CreateRowResources(int dpi)
{
    RowDpi = dpi;
    Row = RowGeometryAt(dpi);
    LabelWidthsKnown = false;
    NormalFont = CreateRowFont(FW_NORMAL);
    BoldFont = CreateRowFont(FW_BOLD);
    RowIconCount = LoadUntilMissing(RowIcons, LoadRowIcon);
}

int CreateAnimationList(HWND window, int listId, int dpi)
{
    CreateRowResources(dpi);
    HWND list = CreateWindowExA(0, "LISTBOX", nullptr, kListStyle, 0, 0, 0, 0, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(listId)), ModuleInstance, nullptr);
    SizeRows(list);
    ServeListAccessibility(list);
    return list != nullptr ? 1 : 0;
}

int SetAnimationListDpi(HWND window, int listId, int dpi)
{
    // Without a list (no catalogue) no drawing tools were made, and none are now.
    HWND list = GetDlgItem(window, listId);
    if (list == nullptr)
        return -1;
    ReleaseListResources();
    CreateRowResources(dpi);
    LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
    LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SizeRows(list);
    if (selected >= 0)
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    if (top >= 0)
        SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    return static_cast<int>(top);
}

void ShowListFrom(HWND window, int listId, int top)
{
    if (top >= 0)
        SendDlgItemMessageA(window, listId, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
}

void DrawAnimationRow(HDC dc, const RECT& row, bool selected, const AnimationRecord& record,
                      const RowValues& values, const ColourScheme& scheme)
{
    const RowColours& colours = selected ? scheme.selectedRow : scheme.row;
    DrawPanel(dc, row, colours);
    int icon = record.iconIndex >= 0 && record.iconIndex < RowIconCount ? record.iconIndex : 0;
    if (RowIcons[icon] != nullptr)
        DrawIconEx(dc, row.left + Row.iconAt.x, row.top + Row.iconAt.y, RowIcons[icon], Row.iconSize, Row.iconSize, 0,
                   nullptr, DI_NORMAL);

    // The face the platform gives may be wider than the named one: measured
    // as drawn, no text runs into the next on its line.
    RowTextWidths widths;
    HGDIOBJ previousFont = SelectObject(dc, BoldFont);
    if (!LabelWidthsKnown) {
        for (int n = 0; n < kRowLabelCount; ++n)
            LabelWidths[n] = WidthOf(dc, LabelText(n));
        LabelWidthsKnown = true;
    }
    for (int n = 0; n < kRowLabelCount; ++n)
        widths.label[n] = LabelWidths[n];
    SelectObject(dc, NormalFont);
    for (int n = 0; n < kRowLabelCount; ++n)
        widths.value[n] = WidthOf(dc, values.text[n]);
    const RowTextColumns columns = PlaceRowTexts(Row, widths);

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colours.label);
    SelectObject(dc, BoldFont);
    for (int n = 0; n < kRowLabelCount; ++n)
        DrawAt(dc, row, columns.label[n], Row.labelAt[n].y, LabelText(n));

    SelectObject(dc, NormalFont);
    SetTextColor(dc, colours.value);
    for (int n = 0; n < kRowLabelCount; ++n)
        DrawAt(dc, row, columns.value[n], Row.valueAt[n].y, values.text[n]);
    SelectObject(dc, previousFont);
}

int DrawAnimationItem(const DRAWITEMSTRUCT* drawItem, const ColourScheme& scheme)
{
    // An empty list asks for a row -1 (its focus rectangle): nothing to draw.
    if (static_cast<int>(drawItem->itemID) < 0)
        return 1;
    bool selected = (drawItem->itemState & ODS_SELECTED) != 0;
    const auto* record = reinterpret_cast<const AnimationRecord*>(drawItem->itemData);
    if (record == nullptr) {
        DrawPanel(drawItem->hDC, drawItem->rcItem, selected ? scheme.selectedRow : scheme.row);
        return 0;
    }
    char keywords[kKeywordTextSize];
    DrawAnimationRow(drawItem->hDC, drawItem->rcItem, selected, *record, RowValuesOf(*record, keywords),
                     scheme);
    return 1;
}

void ReleaseListResources()
{
    HGDIOBJ objects[] = {NormalFont, BoldFont};
    for (HGDIOBJ object : objects)
        if (object != nullptr)
            DeleteObject(object);
    NormalFont = nullptr;
    BoldFont = nullptr;
    LabelWidthsKnown = false;
    for (int n = 0; n < RowIconCount; ++n) {
        DestroyIcon(RowIcons[n]);
        RowIcons[n] = nullptr;
    }
    RowIconCount = 0;
}
