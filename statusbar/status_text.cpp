#include "statusbar/status_text.h"

#include "base/text.h"

#include <climits>

void FormatStatusPosition(char (&text)[kStatusPositionSize], int index, int count)
{
    // Two 32-bit numbers and " von " always fit.
    int number = index < INT_MAX ? index + 1 : INT_MAX;
    FormatText(text, "%d von %d", number, count);
}

void JoinStatusTexts(char (&line)[kStatusTextSize], const StatusTexts& texts)
{
    // Each text is held terminated in a slot of its own, so the join fits.
    if (texts.path[0] != '\0')
        FormatText(line, "%s %s %s", texts.label, texts.position, texts.path);
    else
        FormatText(line, "%s %s", texts.label, texts.position);
}

bool IsNewerLook(unsigned long version)
{
    unsigned major = version & 0xFFu;
    unsigned minor = (version >> 8) & 0xFFu;
    return major > 3 || minor > 50;
}

bool IsInSizeGrip(bool newerLook, int x, int y, int clientWidth, int clientHeight, int dpi)
{
    int span = ScaleToDpi(kSizeGripSpan, dpi);
    return newerLook && x >= clientWidth - span && y >= clientHeight - span;
}

GripPen GripLinePen(int n)
{
    switch (n) {
    case 13:
    case 8:
    case 3:
        return GripPen::White;
    case 9:
    case 4:
        return GripPen::None;
    default:
        return GripPen::Gray;
    }
}

GripPen GripDiagonalPen(int diagonal, int dpi)
{
    // Line n covers the diagonals after the scaled n - 1, up to the scaled n.
    for (int n = 1; n <= kSizeGripSpan; ++n)
        if (diagonal > ScaleToDpi(n - 1, dpi) && diagonal <= ScaleToDpi(n, dpi))
            return GripLinePen(n);
    return GripPen::None;
}

StatusGeometry StatusGeometryAt(int dpi)
{
    auto scale = [dpi](int length) { return ScaleToDpi(length, dpi); };
    auto scaleBox = [&](StatusBox box) {
        return StatusBox{scale(box.left), scale(box.top), scale(box.right), scale(box.bottom)};
    };
    StatusGeometry geometry;
    geometry.height = scale(kStatusBarHeight);
    geometry.line = LineWidthAtDpi(dpi);
    geometry.label = scaleBox(kStatusLabelBox);
    geometry.position = scaleBox(kStatusPositionBox);
    geometry.path = scaleBox(kStatusPathBox);
    geometry.gripSpan = scale(kSizeGripSpan);
    geometry.fontHeight = scale(kStatusFontHeight);
    return geometry;
}
