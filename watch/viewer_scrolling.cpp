#include "watch/viewer_scrolling.h"

#include "base/dpi.h"
#include "watch/viewer_frames.h"
#include "watch/viewer_layout.h"
#include "watch/viewer_state.h"
#include "watch/viewer_status.h"

namespace {

constexpr int kScrollLine = 20;             // pixels at 96 DPI per arrow of a scroll bar
constexpr int kWheelLines = 3;

// The picture is larger than its area on at least one side.
bool Pannable()
{
    if (!V.hasFrame)
        return false;
    ViewerSize area = PictureArea();
    ViewerSize shown = ShownSize(area);
    return shown.width > area.width || shown.height > area.height;
}

void ScrollTo(ViewerScroll to)
{
    ViewerSize area = PictureArea();
    ViewerSize shown = ShownSize(area);
    to = {ViewerClampScroll(to.x, shown.width, area.width), ViewerClampScroll(to.y, shown.height, area.height)};
    if (to.x == V.scroll.x && to.y == V.scroll.y)
        return;
    V.scroll = to;
    SetScrollPos(V.pane, SB_HORZ, to.x, TRUE);
    SetScrollPos(V.pane, SB_VERT, to.y, TRUE);
    InvalidatePicture();
}

int ScrollLine()
{
    return ScaleToDpi(kScrollLine, V.dpi);
}

} // namespace

void OnScroll(int bar, WPARAM wordParam)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(V.pane, bar, &info);
    int to = bar == SB_HORZ ? V.scroll.x : V.scroll.y;
    switch (LOWORD(wordParam)) {
    case SB_LINEUP: to -= ScrollLine(); break;
    case SB_LINEDOWN: to += ScrollLine(); break;
    case SB_PAGEUP: to -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: to += static_cast<int>(info.nPage); break;
    case SB_TOP: to = 0; break;
    case SB_BOTTOM: to = info.nMax; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: to = info.nTrackPos; break;
    default: return;
    }
    ScrollTo(bar == SB_HORZ ? ViewerScroll{to, V.scroll.y} : ViewerScroll{V.scroll.x, to});
}

POINT AreaCentre()
{
    ViewerSize area = PictureArea();
    return {area.width / 2, area.height / 2};
}

void SetZoom(int zoom, POINT at, bool centred)
{
    RECT before = PictureRect();
    V.zoom = zoom;
    PlaceScrollBars();      // the bars the new size needs, and so the area
    POINT to = centred ? AreaCentre() : at;
    ViewerSize area = PictureArea();
    ViewerSize shown = ShownSize(area);
    V.scroll = {ViewerScrollAbout(before.left + to.x - at.x, before.right - before.left, shown.width, area.width, to.x),
                ViewerScrollAbout(before.top + to.y - at.y, before.bottom - before.top, shown.height, area.height, to.y)};
    Relayout();
    UpdateStatus();
}

void Zoom(int direction, POINT at, bool centred)
{
    SetZoom(ViewerNextZoom(V.zoom, direction, ShownPercent()), at, centred);
}

void ToggleTallPixels()
{
    if (!ViewerAspectApplies(V.facts.info.width, V.facts.info.height))
        return;
    V.tallPixels = !V.tallPixels;
    Relayout();
    UpdateStatus();
}

void OnMouseWheel(WPARAM wordParam, LPARAM longParam, bool tilted)
{
    const int keys = GET_KEYSTATE_WPARAM(wordParam);
    const int delta = GET_WHEEL_DELTA_WPARAM(wordParam);
    if (!tilted && (keys & MK_CONTROL) != 0) {
        POINT at = {static_cast<short>(LOWORD(longParam)), static_cast<short>(HIWORD(longParam))};
        ScreenToClient(V.pane, &at);
        Zoom(delta > 0 ? +1 : -1, at, false);
        return;
    }
    const int step = delta * kWheelLines * ScrollLine() / WHEEL_DELTA;
    if (tilted)
        ScrollTo({V.scroll.x + step, V.scroll.y});
    else if ((keys & MK_SHIFT) != 0)
        ScrollTo({V.scroll.x - step, V.scroll.y});
    else
        ScrollTo({V.scroll.x, V.scroll.y - step});
}

void OnLeftButtonDown(LPARAM longParam)
{
    if (V.playingAll) {
        EndPlayingAll();
        return;
    }
    if (!Pannable())
        return;
    V.dragging = true;
    V.dragFrom = {static_cast<short>(LOWORD(longParam)), static_cast<short>(HIWORD(longParam))};
    V.dragScroll = V.scroll;
    SetCapture(V.pane);
}

void OnMouseMove(LPARAM longParam)
{
    if (!V.dragging || GetCapture() != V.pane)
        return;
    const int x = static_cast<short>(LOWORD(longParam));
    const int y = static_cast<short>(HIWORD(longParam));
    ScrollTo({V.dragScroll.x - (x - V.dragFrom.x), V.dragScroll.y - (y - V.dragFrom.y)});
}

void OnLeftButtonUp()
{
    if (V.dragging)
        ReleaseCapture();
}

void OnCaptureChanged()
{
    V.dragging = false;
}

bool OnSetCursor(HWND over, LPARAM longParam)
{
    if (over != V.pane || LOWORD(longParam) != HTCLIENT || (!Pannable() && !V.dragging))
        return false;
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));     // IDC_HAND
    return true;
}
