#include "watch/preview_geometry.h"

#include "base/dpi.h"

#include <algorithm>

namespace {

// a * b / c rounded to the nearest, halves up; all positive and small enough
// that 64 bits hold the product.
int Proportion(int a, int b, int c)
{
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    return static_cast<int>((2 * product + c) / (2 * static_cast<std::int64_t>(c)));
}

// Moves `start` so that `length` from it lies within `low`..`high` where it can;
// a length larger than the room starts at `low`.
int Inside(int start, int length, int low, int high)
{
    if (start + length > high)
        start = high - length;
    return std::max(start, low);
}

} // namespace

PreviewSize PreviewPictureSize(int width, int height, int dpi)
{
    if (width <= 0 || height <= 0)
        return {0, 0};
    if (width <= kPreviewMaxWidth && height <= kPreviewMaxHeight)
        return {ScaleToDpi(width, dpi), ScaleToDpi(height, dpi)};
    const int boxWidth = ScaleToDpi(kPreviewMaxWidth, dpi);
    const int boxHeight = ScaleToDpi(kPreviewMaxHeight, dpi);
    // Wider than the box's proportions: the width fills the box.
    if (static_cast<std::int64_t>(width) * boxHeight >= static_cast<std::int64_t>(height) * boxWidth)
        return {boxWidth, std::max(1, Proportion(height, boxWidth, width))};
    return {std::max(1, Proportion(width, boxHeight, height)), boxHeight};
}

PreviewLayout PreviewLayoutAt(PreviewSize picture, PreviewSize text, int dpi)
{
    const int margin = ScaleToDpi(kPreviewMargin, dpi);
    PreviewLayout layout = {};
    int y = margin;
    if (picture.width > 0 && picture.height > 0) {
        layout.picture = {margin, margin, margin + picture.width, margin + picture.height};
        y = layout.picture.bottom + ScaleToDpi(kPreviewGap, dpi);
    }
    layout.textX = margin;
    layout.textY = y;
    layout.client.width = std::max(picture.width, text.width) + 2 * margin;
    layout.client.height = y + text.height + margin;
    return layout;
}

namespace {

enum class Side { Right, Left, Below, Above };

// The part of the work area on one side of the row.
PreviewBox RoomOn(Side side, const PreviewBox& row, const PreviewBox& work)
{
    switch (side) {
    case Side::Right: return {row.right, work.top, work.right, work.bottom};
    case Side::Left: return {work.left, work.top, row.left, work.bottom};
    case Side::Below: return {work.left, row.bottom, work.right, work.bottom};
    case Side::Above: break;
    }
    return {work.left, work.top, work.right, row.top};
}

// The largest size of `picture`'s proportions within `width` x `height`, never
// larger than the picture itself; 0 x 0 when nothing of it fits.
PreviewSize FitPicture(PreviewSize picture, int width, int height)
{
    if (picture.width <= 0 || picture.height <= 0 || width <= 0 || height <= 0)
        return {0, 0};
    if (picture.width <= width && picture.height <= height)
        return picture;
    if (static_cast<std::int64_t>(picture.width) * height >= static_cast<std::int64_t>(picture.height) * width)
        return {width, std::max(1, static_cast<int>(static_cast<std::int64_t>(picture.height) * width / picture.width))};
    return {std::max(1, static_cast<int>(static_cast<std::int64_t>(picture.width) * height / picture.height)), height};
}

struct Candidate {
    bool usable = false;
    bool whole = false;         // the full picture and the whole line fit
    PreviewSize picture = {0, 0};
    PreviewSize outer = {0, 0};
    std::int64_t shownArea = 0;
    int shownWidth = 0;
};

Candidate TryRoom(const PreviewBox& room, PreviewSize picture, PreviewSize text, PreviewSize frame, int dpi)
{
    Candidate c;
    const int width = room.right - room.left;
    const int height = room.bottom - room.top;
    const int margin = ScaleToDpi(kPreviewMargin, dpi);
    const int besidePicture = 2 * margin + frame.width;
    const int abovePicture = 2 * margin + ScaleToDpi(kPreviewGap, dpi) + text.height + frame.height;
    c.picture = FitPicture(picture, width - besidePicture, height - abovePicture);
    const PreviewSize client = PreviewLayoutAt(c.picture, text, dpi).client;
    c.outer = {client.width + frame.width, client.height + frame.height};
    // Something must show beside the border: a line of its full height, and
    // at least a pixel of its width.
    c.usable = c.outer.height <= height && width > besidePicture;
    c.whole = c.usable && c.outer.width <= width && c.picture.width == picture.width
              && c.picture.height == picture.height;
    c.outer.width = std::min(c.outer.width, width);
    c.shownArea = static_cast<std::int64_t>(c.picture.width) * c.picture.height;
    c.shownWidth = c.outer.width;
    return c;
}

} // namespace

PreviewPlace PlacePreview(const PreviewBox& row, PreviewSize picture, PreviewSize text, PreviewSize frame, int dpi,
                          const PreviewBox& workArea)
{
    const Side sides[] = {Side::Right, Side::Left, Side::Below, Side::Above};
    Candidate best;
    Side bestSide = Side::Right;
    for (Side side : sides) {
        Candidate c = TryRoom(RoomOn(side, row, workArea), picture, text, frame, dpi);
        if (!c.usable)
            continue;
        if (c.whole) {
            best = c;
            bestSide = side;
            break;
        }
        if (!best.usable || c.shownArea > best.shownArea
            || (c.shownArea == best.shownArea && c.shownWidth > best.shownWidth)) {
            best = c;
            bestSide = side;
        }
    }
    PreviewPlace place = {};
    if (!best.usable)
        return place;
    const int width = best.outer.width;
    const int height = best.outer.height;
    int x = 0;
    int y = 0;
    switch (bestSide) {
    case Side::Right:
        x = row.right;
        y = Inside(row.top, height, workArea.top, workArea.bottom);
        break;
    case Side::Left:
        x = row.left - width;
        y = Inside(row.top, height, workArea.top, workArea.bottom);
        break;
    case Side::Below:
        x = Inside(row.right - width, width, workArea.left, workArea.right);
        y = row.bottom;
        break;
    case Side::Above:
        x = Inside(row.right - width, width, workArea.left, workArea.right);
        y = row.top - height;
        break;
    }
    place.box = {x, y, x + width, y + height};
    place.picture = best.picture;
    return place;
}

unsigned PreviewFrameMilliseconds(std::uint64_t delayMicroseconds)
{
    const std::uint64_t milliseconds = delayMicroseconds / 1000;
    if (milliseconds < kPreviewMinimumFrameMilliseconds)
        return kPreviewMinimumFrameMilliseconds;
    // The platform's timers take at most 0x7FFFFFFF milliseconds.
    return static_cast<unsigned>(std::min<std::uint64_t>(milliseconds, 0x7FFFFFFF));
}

int PreviewRowStride(int width)
{
    return (width + 3) / 4 * 4;
}

void ShrinkIndices(const std::uint8_t* from, PreviewSize fromSize, std::uint8_t* to, PreviewSize toSize, int toStride)
{
    for (int y = 0; y < toSize.height; ++y) {
        const int sourceY = static_cast<int>(static_cast<std::int64_t>(y) * fromSize.height / toSize.height);
        const std::uint8_t* line = from + static_cast<std::size_t>(sourceY) * fromSize.width;
        std::uint8_t* out = to + static_cast<std::size_t>(y) * toStride;
        for (int x = 0; x < toSize.width; ++x)
            out[x] = line[static_cast<std::int64_t>(x) * fromSize.width / toSize.width];
    }
}
