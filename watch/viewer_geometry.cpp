#include "watch/viewer_geometry.h"

#include "base/dpi.h"
#include "watch/preview_geometry.h"

#include <algorithm>

namespace {

int Divided(int length, int divisor)
{
    return std::max(1, (length + divisor / 2) / divisor);
}

} // namespace

int ViewerZoomPercent(int zoom)
{
    if (zoom >= 1)
        return 100 * zoom;
    if (zoom <= -2)
        return (100 + (-zoom) / 2) / (-zoom);
    return 100;
}

int ViewerNextZoom(int zoom, int direction, int fitPercent)
{
    if (zoom == kViewerFit) {
        // The first whole step beyond the fitted size, that way.
        int step = direction > 0 ? kViewerSmallestZoom : kViewerLargestZoom;
        for (int n = kViewerSmallestZoom; n <= kViewerLargestZoom; ++n) {
            if (n == 0 || n == -1)
                continue;
            int percent = ViewerZoomPercent(n);
            if (direction > 0 && percent > fitPercent) {
                step = n;
                break;
            }
            if (direction < 0 && percent < fitPercent)
                step = n;
        }
        return step;
    }
    int next = zoom + (direction > 0 ? 1 : -1);
    if (next == 0 || next == -1)
        next = direction > 0 ? 1 : -2;
    return std::min(kViewerLargestZoom, std::max(kViewerSmallestZoom, next));
}

bool ViewerAspectApplies(int width, int height)
{
    return width == 320 && height == 200;
}

ViewerSize ViewerBaseSize(int width, int height, bool tallPixels, int dpi)
{
    if (width <= 0 || height <= 0)
        return {0, 0};
    int rows = tallPixels && ViewerAspectApplies(width, height) ? height * 6 / 5 : height;
    return {ScaleToDpi(width, dpi), ScaleToDpi(rows, dpi)};
}

int ViewerFitZoom(ViewerSize base, ViewerSize area)
{
    auto fits = [&](int zoom) {
        const ViewerSize shown = ViewerShownSize(base, zoom, area);
        return shown.width <= area.width && shown.height <= area.height;
    };
    for (int zoom = kViewerLargestZoom; zoom >= 1; --zoom)
        if (fits(zoom))
            return zoom;
    for (int zoom = -2; zoom > kViewerSmallestZoom; --zoom)
        if (fits(zoom))
            return zoom;
    return kViewerSmallestZoom;
}

ViewerSize ViewerShownSize(ViewerSize base, int zoom, ViewerSize area)
{
    if (base.width <= 0 || base.height <= 0)
        return {0, 0};
    if (zoom >= 1)
        return {base.width * zoom, base.height * zoom};
    if (zoom <= -2)
        return {Divided(base.width, -zoom), Divided(base.height, -zoom)};
    if (area.width <= 0 || area.height <= 0)
        return {0, 0};
    return ViewerShownSize(base, ViewerFitZoom(base, area), area);
}

int ViewerShownPercent(ViewerSize base, ViewerSize shown)
{
    if (base.width <= 0)
        return 0;
    return static_cast<int>((200LL * shown.width + base.width) / (2LL * base.width));
}

ViewerBox ViewerCentred(ViewerSize shown, ViewerSize area)
{
    // Halves rounded down on both sides alike, also for an overhang.
    auto half = [](int length) { return length >= 0 ? length / 2 : -((-length + 1) / 2); };
    int left = half(area.width - shown.width);
    int top = half(area.height - shown.height);
    return {left, top, left + shown.width, top + shown.height};
}

int ViewerScrollLimit(int shown, int area)
{
    return shown > area ? shown - area : 0;
}

int ViewerClampScroll(int scroll, int shown, int area)
{
    return std::min(std::max(scroll, 0), ViewerScrollLimit(shown, area));
}

int ViewerPlaced(int shown, int area, int scroll)
{
    if (shown <= area)
        return (area - shown) / 2;
    return -ViewerClampScroll(scroll, shown, area);
}

int ViewerScrollAbout(int start, int oldShown, int newShown, int area, int point)
{
    if (oldShown <= 0 || newShown <= area)
        return 0;
    // The picture's place under the point, in the new size.
    const std::int64_t under = static_cast<std::int64_t>(point - start) * newShown / oldShown;
    const std::int64_t scroll = under - point;
    const int limit = ViewerScrollLimit(newShown, area);
    return static_cast<int>(std::min<std::int64_t>(std::max<std::int64_t>(scroll, 0), limit));
}

ViewerBox ViewerPlacedBox(ViewerSize shown, ViewerSize area, ViewerScroll scroll)
{
    const int left = ViewerPlaced(shown.width, area.width, scroll.x);
    const int top = ViewerPlaced(shown.height, area.height, scroll.y);
    return {left, top, left + shown.width, top + shown.height};
}

ViewerSize ViewerClientFor(ViewerSize shown, int statusHeight, int minimumWidth, ViewerSize available)
{
    return {std::min(std::max(shown.width, minimumWidth), std::max(available.width, 1)),
            std::min(shown.height + statusHeight, std::max(available.height, 1))};
}

ViewerStart ViewerStartLayout(ViewerSize base, int statusHeight, int minimumWidth, ViewerSize available)
{
    ViewerSize room = {available.width, std::max(0, available.height - statusHeight)};
    ViewerStart start = {1, base};
    if (base.width > room.width || base.height > room.height) {
        start.zoom = kViewerFit;
        start.client = ViewerShownSize(base, kViewerFit, room);
    }
    start.client = ViewerClientFor(start.client, statusHeight, minimumWidth, available);
    return start;
}

ViewerBox ViewerResizedPlace(ViewerBox window, ViewerSize size, ViewerBox work)
{
    auto place = [](int start, int end, int length, int workStart, int workEnd) {
        int at = start + (end - start - length) / 2;
        at = std::min(at, workEnd - length);
        return std::max(at, workStart);
    };
    const int left = place(window.left, window.right, size.width, work.left, work.right);
    const int top = place(window.top, window.bottom, size.height, work.top, work.bottom);
    return {left, top, left + size.width, top + size.height};
}

unsigned ViewerFrameMilliseconds(std::uint64_t delayMicroseconds, ViewerSpeed speed)
{
    unsigned pace = PreviewFrameMilliseconds(delayMicroseconds);
    switch (speed) {
    case ViewerSpeed::Half: return pace > 0x3FFFFFFF ? 0x7FFFFFFF : 2 * pace;
    case ViewerSpeed::Double: return std::max(1u, pace / 2);
    case ViewerSpeed::Quadruple: return std::max(1u, pace / 4);
    default: return pace;
    }
}
