#include "watch/viewer_layout.h"

#include "base/display_dpi.h"
#include "base/dpi.h"
#include "watch/viewer_state.h"

namespace {

constexpr int kEmptyWidth = 320;            // the window for no picture, at 96 DPI: the preview's box
constexpr int kEmptyHeight = 240;
constexpr int kStatusHeight = 20;           // at 96 DPI, as the main window's status bar
constexpr int kMinimumWidth = 320;          // room for the status line

int StatusHeight()
{
    return ScaleToDpi(kStatusHeight, V.dpi);
}

ViewerSize ClientSize(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

ViewerSize BaseSize()
{
    return ViewerBaseSize(V.facts.info.width, V.facts.info.height, V.tallPixels, V.dpi);
}

void SetScrollBar(int bar, int shown, int area, int position)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    // An empty range hides the bar.
    info.nMax = shown > area ? shown - 1 : 0;
    info.nPage = shown > area ? static_cast<UINT>(area) : 0;
    info.nPos = position;
    SetScrollInfo(V.pane, bar, &info, TRUE);
}

} // namespace

ViewerSize PictureArea()
{
    return ClientSize(V.pane);
}

ViewerSize ShownSize(ViewerSize area)
{
    return ViewerShownSize(BaseSize(), V.zoom, area);
}

RECT PictureRect()
{
    ViewerSize area = PictureArea();
    ViewerBox box = ViewerPlacedBox(ShownSize(area), area, V.scroll);
    return {box.left, box.top, box.right, box.bottom};
}

int ShownPercent()
{
    if (V.zoom != kViewerFit)
        return ViewerZoomPercent(V.zoom);
    return ViewerShownPercent(BaseSize(), ViewerShownSize(BaseSize(), V.zoom, PictureArea()));
}

void InvalidatePicture()
{
    InvalidateRect(V.pane, nullptr, FALSE);
}

void PlaceChildren()
{
    ViewerSize client = ClientSize(V.window);
    const int paneHeight = client.height > StatusHeight() ? client.height - StatusHeight() : 0;
    SetWindowPos(V.pane, nullptr, 0, 0, client.width, paneHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(V.status, nullptr, 0, paneHeight, client.width, StatusHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
}

// Scroll bars only while the picture is larger than its area. A bar that
// comes or goes changes the area, so once more until it stays.
void PlaceScrollBars()
{
    if (V.placingBars)
        return;
    V.placingBars = true;
    for (int pass = 0; pass < 3; ++pass) {
        ViewerSize area = PictureArea();
        ViewerSize shown = ShownSize(area);
        if (!V.hasFrame && !V.holding)
            shown = {0, 0};
        V.scroll = {ViewerClampScroll(V.scroll.x, shown.width, area.width),
                    ViewerClampScroll(V.scroll.y, shown.height, area.height)};
        SetScrollBar(SB_HORZ, shown.width, area.width, V.scroll.x);
        SetScrollBar(SB_VERT, shown.height, area.height, V.scroll.y);
        ViewerSize now = PictureArea();
        if (now.width == area.width && now.height == area.height)
            break;
    }
    V.placingBars = false;
}

void Relayout()
{
    PlaceScrollBars();
    InvalidatePicture();
}

void SizeToPicture()
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(V.owner, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectForDpi(frame, kViewerStyle, false, 0, V.dpi);
    const int extraWidth = frame.right - frame.left;
    const int extraHeight = frame.bottom - frame.top;
    ViewerSize base = BaseSize();
    if (base.width <= 0 || base.height <= 0)
        base = {ScaleToDpi(kEmptyWidth, V.dpi), ScaleToDpi(kEmptyHeight, V.dpi)};
    ViewerStart start = ViewerStartLayout(base, StatusHeight(), ScaleToDpi(kMinimumWidth, V.dpi),
                                          {work.right - work.left - extraWidth, work.bottom - work.top - extraHeight});
    V.zoom = start.zoom;
    V.scroll = {0, 0};
    const int width = start.client.width + extraWidth;
    const int height = start.client.height + extraHeight;
    SetWindowPos(V.window, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    Relayout();     // also when the size stayed
}
