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

PreviewPoint PlacePreview(const PreviewBox& row, PreviewSize size, const PreviewBox& workArea)
{
    PreviewPoint at;
    if (row.right + size.width <= workArea.right)
        at = {row.right, row.top};
    else if (row.left - size.width >= workArea.left)
        at = {row.left - size.width, row.top};
    else if (row.bottom + size.height <= workArea.bottom)
        at = {row.right - size.width, row.bottom};
    else
        at = {row.right - size.width, row.top - size.height};
    at.x = Inside(at.x, size.width, workArea.left, workArea.right);
    at.y = Inside(at.y, size.height, workArea.top, workArea.bottom);
    return at;
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
