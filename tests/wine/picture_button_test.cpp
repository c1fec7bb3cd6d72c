// The toolbar's picture buttons and strip, drawn into a 32-bit DIB section.
#include "app/layout.h"
#include "app/picture_button.h"
#include "base/instance.h"
#include "res/resource.h"

#include "pixels.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255), kGray = RGB(128, 128, 128),
               kLightGray = RGB(192, 192, 192);
const COLORREF kMagenta = RGB(255, 0, 255);     // shows what was never drawn

// A square picture that is red at its top-left pixel and blue elsewhere.
HBITMAP MarkedPicture(HDC reference, int size = 24)
{
    HBITMAP picture = CreateCompatibleBitmap(reference, size, size);
    HDC dc = CreateCompatibleDC(reference);
    HGDIOBJ previous = SelectObject(dc, picture);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    RECT all = {0, 0, size, size};
    FillRect(dc, &all, blue);
    SetPixel(dc, 0, 0, RGB(255, 0, 0));
    SelectObject(dc, previous);
    DeleteObject(blue);
    DeleteDC(dc);
    return picture;
}

void DrawButton(Canvas& canvas, bool pressed)
{
    HDC memory = CreateCompatibleDC(canvas.Dc());
    HBITMAP picture = MarkedPicture(canvas.Dc());
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = ID_PLAY;
    item.itemState = pressed ? ODS_SELECTED : 0;
    item.hDC = canvas.Dc();
    item.rcItem = {0, 0, 30, 30};
    DrawPictureButton(&item, memory, picture, 24, 24);
    DeleteObject(picture);
    DeleteDC(memory);
}

TEST(PictureButton, RaisedAndPressed)
{
    struct Case { bool pressed; COLORREF light, dark; int picture; };
    for (Case c : {Case{false, kWhite, kGray, 3}, Case{true, kGray, kLightGray, 4}}) {
        SCOPED_TRACE(c.pressed ? "pressed" : "raised");
        Canvas canvas(30, 30, kMagenta);
        DrawButton(canvas, c.pressed);
        for (int y : {0, 15, 29}) {                 // both sides black, full height
            EXPECT_EQ(canvas.At(0, y), kBlack);
            EXPECT_EQ(canvas.At(29, y), kBlack);
        }
        EXPECT_EQ(canvas.At(1, 0), c.light);        // top row
        EXPECT_EQ(canvas.At(27, 0), c.light);
        EXPECT_EQ(canvas.At(1, 15), c.light);       // left column
        EXPECT_EQ(canvas.At(15, 29), c.dark);       // bottom row
        EXPECT_EQ(canvas.At(28, 0), c.dark);        // right column from the top
        EXPECT_EQ(canvas.At(28, 28), c.dark);
        EXPECT_EQ(canvas.At(2, 2), kLightGray);     // face
        EXPECT_EQ(canvas.At(c.picture, c.picture), RGB(255, 0, 0));   // picture's first pixel
        EXPECT_EQ(canvas.At(c.picture + 23, c.picture + 23), RGB(0, 0, 255));
    }
}

TEST(ToolbarStrip, LinesAlongTheTopAndTheRightEdge)
{
    Canvas canvas(100, 32, kMagenta);
    PaintToolbarStrip(canvas.Dc(), 100);
    EXPECT_EQ(canvas.At(0, 0), kWhite);
    EXPECT_EQ(canvas.At(97, 0), kWhite);
    EXPECT_EQ(canvas.At(0, 1), kBlack);
    EXPECT_EQ(canvas.At(97, 1), kBlack);
    EXPECT_EQ(canvas.At(99, 0), kBlack);            // black column drawn after the white row
    EXPECT_EQ(canvas.At(99, 31), kBlack);
    EXPECT_EQ(canvas.At(98, 0), kLightGray);
    EXPECT_EQ(canvas.At(98, 31), kLightGray);
    EXPECT_EQ(canvas.At(50, 10), kMagenta);       // the rest is the class background's
}

TEST(PictureButton, EdgesAndPictureAt144And192)
{
    struct Case { int dpi; int line; int picture; };
    for (Case c : {Case{144, 1, 36}, Case{192, 2, 48}}) {
        const ToolbarGeometry toolbar = ToolbarGeometryAt(c.dpi);
        const int size = toolbar.buttonSize;
        ASSERT_EQ(PictureSizeOfSet(PictureSetAt(c.dpi)), c.picture);
        for (bool pressed : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.dpi << " DPI, " << (pressed ? "pressed" : "raised"));
            Canvas canvas(size, size, kMagenta);
            HDC memory = CreateCompatibleDC(canvas.Dc());
            HBITMAP picture = MarkedPicture(canvas.Dc(), c.picture);
            DRAWITEMSTRUCT item = {};
            item.CtlType = ODT_BUTTON;
            item.CtlID = ID_PLAY;
            item.itemState = pressed ? ODS_SELECTED : 0;
            item.hDC = canvas.Dc();
            item.rcItem = {0, 0, size, size};
            DrawPictureButton(&item, memory, picture, c.picture, c.picture, c.dpi);
            DeleteObject(picture);
            DeleteDC(memory);

            const COLORREF light = pressed ? kGray : kWhite;
            const COLORREF dark = pressed ? kLightGray : kGray;
            for (int n = 0; n < c.line; ++n) {
                EXPECT_EQ(canvas.At(n, size / 2), kBlack);
                EXPECT_EQ(canvas.At(size - 1 - n, size / 2), kBlack);
                EXPECT_EQ(canvas.At(size / 2, n), light);
                EXPECT_EQ(canvas.At(c.line + n, size / 2), light);
                EXPECT_EQ(canvas.At(size / 2, size - 1 - n), dark);
                EXPECT_EQ(canvas.At(size - 1 - c.line - n, size / 2), dark);
            }
            EXPECT_EQ(canvas.At(2 * c.line, 2 * c.line), kLightGray);
            // The picture centred, and moved by a line's width while pressed.
            int at = (size - c.picture) / 2 + (pressed ? c.line : 0);
            EXPECT_EQ(canvas.At(at, at), RGB(255, 0, 0));
            EXPECT_EQ(canvas.At(at + c.picture - 1, at + c.picture - 1), RGB(0, 0, 255));
            EXPECT_EQ(canvas.Count(RECT{0, 0, size, size}, RGB(0, 0, 255)), c.picture * c.picture - 1);
        }
    }
}

// Three buttons side by side as the window places them: the black between
// neighbours is as wide as the outer edges, at every DPI.
TEST(PictureButton, NeighboursShareOneEdgeLine)
{
    struct Case { int dpi; int line; int step; };
    for (Case c : {Case{96, 1, 29}, Case{144, 1, 44}, Case{192, 2, 58}, Case{288, 3, 87}, Case{480, 5, 145}}) {
        SCOPED_TRACE(testing::Message() << c.dpi << " DPI");
        const ToolbarGeometry toolbar = ToolbarGeometryAt(c.dpi);
        ASSERT_EQ(toolbar.buttonStep, c.step);
        const int size = toolbar.buttonSize;
        const int picture = PictureSizeOfSet(PictureSetAt(c.dpi));
        Canvas canvas(2 * c.step + size + 4, size, kMagenta);
        HDC memory = CreateCompatibleDC(canvas.Dc());
        HBITMAP bitmap = MarkedPicture(canvas.Dc(), picture);
        for (int n = 0; n < 3; ++n) {
            SetViewportOrgEx(canvas.Dc(), n * toolbar.buttonStep, 0, nullptr);
            DRAWITEMSTRUCT item = {};
            item.CtlType = ODT_BUTTON;
            item.CtlID = static_cast<UINT>(ID_PLAY + n);
            item.hDC = canvas.Dc();
            item.rcItem = {0, 0, size, size};
            DrawPictureButton(&item, memory, bitmap, picture, picture, c.dpi);
        }
        SetViewportOrgEx(canvas.Dc(), 0, 0, nullptr);
        DeleteObject(bitmap);
        DeleteDC(memory);

        // The black columns across the buttons' middle (above the picture):
        // the outer edges, and one shared line between each two neighbours.
        struct Span { int first, width; };
        std::vector<Span> black;
        const int y = toolbar.line + 1;
        for (int x = 0; x < canvas.Width(); ++x) {
            if (canvas.At(x, y) != kBlack)
                continue;
            if (!black.empty() && black.back().first + black.back().width == x)
                ++black.back().width;
            else
                black.push_back({x, 1});
        }
        ASSERT_EQ(black.size(), 4u);
        for (int n = 0; n < 4; ++n) {
            EXPECT_EQ(black[static_cast<std::size_t>(n)].width, c.line) << "black line " << n;
            EXPECT_EQ(black[static_cast<std::size_t>(n)].first, n < 3 ? n * c.step : 2 * c.step + size - c.line)
                << "black line " << n;
        }
    }
}

TEST(ToolbarStrip, LinesAndHeightAt192)
{
    const ToolbarGeometry toolbar = ToolbarGeometryAt(192);
    Canvas canvas(200, toolbar.stripHeight + 4, kMagenta);
    PaintToolbarStrip(canvas.Dc(), 200, 192);
    EXPECT_EQ(canvas.At(50, 0), kWhite);
    EXPECT_EQ(canvas.At(50, 1), kWhite);
    EXPECT_EQ(canvas.At(50, 2), kBlack);
    EXPECT_EQ(canvas.At(50, 3), kBlack);
    EXPECT_EQ(canvas.At(50, 4), kMagenta);
    EXPECT_EQ(canvas.At(199, toolbar.stripHeight - 1), kBlack);
    EXPECT_EQ(canvas.At(197, toolbar.stripHeight - 1), kLightGray);
    EXPECT_EQ(canvas.At(199, toolbar.stripHeight), kMagenta);
}

} // namespace
