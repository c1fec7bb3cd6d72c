// How large the viewer draws its picture and where: zoom steps, fitting, the
// 6:5 pixels of 320 x 200 pictures, the first window size and the frame pace,
// free of the platform.
#pragma once

#include <cstdint>

struct ViewerSize {
    int width;
    int height;
};

struct ViewerBox {
    int left, top, right, bottom;
};

// A zoom is a whole step: n >= 1 draws each pixel n times as large, n <= -2
// draws 1/|n| of it; kViewerFit shows the largest step that fits the window.
constexpr int kViewerFit = 0;
constexpr int kViewerLargestZoom = 8;       // 800 %
constexpr int kViewerSmallestZoom = -8;     // 12 %

// The percent a zoom step shows (100, 200, ..., 50, 33, 25, ...).
int ViewerZoomPercent(int zoom);
// The next whole step in (`direction` > 0) or out from `zoom`; from the fit,
// the first step past the fit's `fitPercent`. Stays within the bounds.
int ViewerNextZoom(int zoom, int direction, int fitPercent);

// Pictures of 320 x 200 were made for 4:3 screens whose pixels were 6:5 tall.
bool ViewerAspectApplies(int width, int height);

// The picture's size at 100 % on a screen of `dpi`: its own pixels scaled by
// the DPI, the rows 6/5 as tall when `tallPixels` and the picture is 320 x 200.
ViewerSize ViewerBaseSize(int width, int height, bool tallPixels, int dpi);

// The step the fit shows: the largest whole one (100 % ... 800 %) at which
// `base` fits `area`, else the largest fraction (1/2 ... 1/8) that fits,
// else the smallest step; so every pixel stays a whole block or a whole part.
int ViewerFitZoom(ViewerSize base, ViewerSize area);

// The size `base` is drawn at with `zoom` in a picture area of `area`.
ViewerSize ViewerShownSize(ViewerSize base, int zoom, ViewerSize area);

// The percent the shown size is of the base size, rounded.
int ViewerShownPercent(ViewerSize base, ViewerSize shown);

// `shown` centred in `area` (origin 0, 0); a picture larger than the area
// overhangs it evenly on both sides.
ViewerBox ViewerCentred(ViewerSize shown, ViewerSize area);

// Panning a picture larger than its area, one axis at a time: the scroll
// position is how far the picture's start lies before the area's, from 0 to
// the limit (the overhang); a picture that fits has only 0 and is centred.
int ViewerScrollLimit(int shown, int area);
int ViewerClampScroll(int scroll, int shown, int area);
// Where the picture starts in the area (0 at the area's start).
int ViewerPlaced(int shown, int area, int scroll);
// The scroll position after the picture, starting at `start` and `oldShown`
// long, is drawn `newShown` long, so that the point of it at `point` in the
// area stays there (as far as the limits let it).
int ViewerScrollAbout(int start, int oldShown, int newShown, int area, int point);

struct ViewerScroll {
    int x, y;
};
// `shown` placed in `area` with `scroll` (clamped): centred where it fits.
ViewerBox ViewerPlacedBox(ViewerSize shown, ViewerSize area, ViewerScroll scroll);

// The client size for a picture shown `shown` large: the picture with the
// status line under it, at least `minimumWidth` wide, within `available`
// (the work area less the window's frame); a larger picture scrolls.
ViewerSize ViewerClientFor(ViewerSize shown, int statusHeight, int minimumWidth, ViewerSize available);

// The viewer's first client size and zoom: the picture at 100 % when that
// fits `available`; else the fit, the largest step that does.
struct ViewerStart {
    int zoom;
    ViewerSize client;
};
ViewerStart ViewerStartLayout(ViewerSize base, int statusHeight, int minimumWidth, ViewerSize available);

// Where a window at `window` goes when it takes `size`: its middle stays
// where it was, and it is pulled into `work` (its top left edges first
// where it is larger).
ViewerBox ViewerResizedPlace(ViewerBox window, ViewerSize size, ViewerBox work);

// Speeds: half, normal, twice and four times the file's own pace.
enum class ViewerSpeed { Half, Normal, Double, Quadruple };
// Timer milliseconds between two frames at `speed` for a delay in
// microseconds: the preview's pace (14 ms at the fastest) stretched or
// shortened, at least 1.
unsigned ViewerFrameMilliseconds(std::uint64_t delayMicroseconds, ViewerSpeed speed);
