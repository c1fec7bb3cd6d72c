// Lengths at other DPIs: the rounding, and the layouts of the window, the
// rows and the status bar that follow from it.
#include "app/layout.h"
#include "base/dpi.h"
#include "statusbar/status_text.h"
#include "view/row_text.h"

#include <gtest/gtest.h>

namespace {

TEST(ScaleToDpi, RoundsHalvesAwayFromZero)
{
    struct Case { int length, dpi, expected; };
    const Case cases[] = {
        {84, 96, 84}, {540, 96, 540}, {-7, 96, -7},
        {84, 144, 126}, {13, 144, 20},          // 19.5
        {1, 144, 2}, {-1, 144, -2},             // 1.5 and -1.5
        {2, 120, 3}, {30, 120, 38}, {29, 120, 36},  // 2.5, 37.5, 36.25
        {1, 120, 1},                            // 1.25
        {520, 192, 1040}, {0, 144, 0},
        {473, 0, 473}, {473, -96, 473},         // no DPI known: as at 96
        {2000000, 192, 4000000},                // no overflow on the way
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScaleToDpi(c.length, c.dpi), c.expected) << c.length << " at " << c.dpi;
}

TEST(LineWidthAtDpi, WholePixelsOnly)
{
    struct Case { int dpi, width; };
    for (Case c : {Case{96, 1}, Case{120, 1}, Case{144, 1}, Case{191, 1}, Case{192, 2}, Case{288, 3},
                   Case{336, 3}, Case{480, 5}, Case{0, 1}})
        EXPECT_EQ(LineWidthAtDpi(c.dpi), c.width) << c.dpi;
}

TEST(DpiLayout, At96EveryLengthStaysWhereItIs)
{
    RowGeometry row = RowGeometryAt(96);
    EXPECT_EQ(row.height, 84);
    EXPECT_EQ(row.extent, 540);
    EXPECT_EQ(row.line, 1);
    EXPECT_EQ(row.iconAt.x, 4);
    EXPECT_EQ(row.iconAt.y, 4);
    EXPECT_EQ(row.iconSize, 32);
    EXPECT_EQ(row.fontHeight, 16);
    for (int n = 0; n < kRowLabelCount; ++n) {
        EXPECT_EQ(row.labelAt[n].x, kRowLabelAt[n].x);
        EXPECT_EQ(row.labelAt[n].y, kRowLabelAt[n].y);
        EXPECT_EQ(row.valueAt[n].x, kRowValueAt[n].x);
        EXPECT_EQ(row.valueAt[n].y, kRowValueAt[n].y);
    }
    EXPECT_STREQ(RowFontFace(96), "MS Sans Serif");

    StatusGeometry bar = StatusGeometryAt(96);
    EXPECT_EQ(bar.height, 20);
    EXPECT_EQ(bar.line, 1);
    EXPECT_EQ(bar.label.left, 1);
    EXPECT_EQ(bar.label.right, 54);
    EXPECT_EQ(bar.position.left, 56);
    EXPECT_EQ(bar.position.right, 140);
    EXPECT_EQ(bar.path.left, 146);
    EXPECT_EQ(bar.path.top, 3);
    EXPECT_EQ(bar.path.right, 470);
    EXPECT_EQ(bar.path.bottom, 20);
    EXPECT_EQ(bar.gripSpan, 13);

    ToolbarGeometry toolbar = ToolbarGeometryAt(96);
    EXPECT_EQ(toolbar.stripHeight, 32);
    EXPECT_EQ(toolbar.buttonSize, 30);
    EXPECT_EQ(toolbar.buttonStep, 29);
    EXPECT_EQ(toolbar.buttonTop, 2);
    EXPECT_EQ(toolbar.pressOffset, 1);
    EXPECT_EQ(toolbar.line, 1);
    EXPECT_EQ(PictureSizeOfSet(PictureSetAt(96)), 24);

    Placement client = InitialClientArea(96, 17);
    EXPECT_EQ(client.width, 520);
    EXPECT_EQ(client.height, 17 + 473);
    for (int n = 1; n <= 13; ++n)
        EXPECT_EQ(GripDiagonalPen(n, 96), GripLinePen(n)) << n;
}

TEST(DpiLayout, LengthsScaleWithTheDpi)
{
    struct Case { int dpi; int row, extent, icon, font, sizeValueX, keywordsY, bar, pathRight, strip, button, picture; };
    const Case cases[] = {
        {120, 105, 675, 40, 20, 553, 75, 25, 588, 40, 38, 24},
        {144, 126, 810, 48, 24, 663, 90, 30, 705, 48, 45, 36},
        {192, 168, 1080, 64, 32, 884, 120, 40, 940, 64, 60, 48},
        // Above 291 DPI a row would pass a list box's 255 pixels: the rows
        // stay as at 291 DPI, everything else goes on scaling.
        {288, 252, 1620, 96, 48, 1326, 180, 60, 1410, 96, 90, 48},
        {336, 255, 1637, 97, 49, 1340, 182, 70, 1645, 112, 105, 48},
        {480, 255, 1637, 97, 49, 1340, 182, 100, 2350, 160, 150, 48},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        RowGeometry row = RowGeometryAt(c.dpi);
        EXPECT_EQ(row.height, c.row);
        EXPECT_EQ(row.extent, c.extent);
        EXPECT_EQ(row.iconSize, c.icon);
        EXPECT_EQ(row.fontHeight, c.font);
        EXPECT_EQ(row.valueAt[4].x, c.sizeValueX);
        EXPECT_EQ(row.valueAt[5].y, c.keywordsY);
        EXPECT_STRNE(RowFontFace(c.dpi), "MS Sans Serif");
        StatusGeometry bar = StatusGeometryAt(c.dpi);
        EXPECT_EQ(bar.height, c.bar);
        EXPECT_EQ(bar.path.right, c.pathRight);
        EXPECT_EQ(bar.path.bottom, bar.height);
        ToolbarGeometry toolbar = ToolbarGeometryAt(c.dpi);
        EXPECT_EQ(toolbar.stripHeight, c.strip);
        EXPECT_EQ(toolbar.buttonSize, c.button);
        EXPECT_EQ(PictureSizeOfSet(PictureSetAt(c.dpi)), c.picture);
        MainLayout layout = ComputeMainLayout(800, 700, c.dpi);
        EXPECT_EQ(layout.list.y, c.strip);
        EXPECT_EQ(layout.list.height, 700 - c.strip - c.bar);
        EXPECT_EQ(layout.statusBar.y, 700 - c.bar);
        EXPECT_EQ(layout.statusBar.height, c.bar);
    }
}

// What must hold at the scales Windows offers up to 200 %, whatever the
// rounding does.
TEST(DpiLayout, NothingOverlapsAtAnyDpi)
{
    for (int dpi : {96, 120, 144, 168, 192, 288, 336, 480}) {
        SCOPED_TRACE(dpi);
        ToolbarGeometry toolbar = ToolbarGeometryAt(dpi);
        // The buttons stand below the strip's white and black lines, inside the strip.
        EXPECT_GE(toolbar.buttonTop, 2 * toolbar.line);
        EXPECT_EQ(toolbar.buttonTop + toolbar.buttonSize, toolbar.stripHeight);
        // Neighbours share one edge line: the black between them is as wide as the outer edges.
        EXPECT_EQ(toolbar.buttonStep, toolbar.buttonSize - toolbar.line);
        // The picture, even pressed, keeps clear of the button's two edge lines.
        int picture = PictureSizeOfSet(PictureSetAt(dpi));
        int at = (toolbar.buttonSize - picture) / 2;
        EXPECT_GE(at, 2 * toolbar.line);
        EXPECT_LE(at + toolbar.pressOffset + picture, toolbar.buttonSize - 2 * toolbar.line);

        RowGeometry row = RowGeometryAt(dpi);
        EXPECT_LE(row.height, 255);                         // what a list box takes
        EXPECT_LE(row.iconAt.x + row.iconSize, row.labelAt[0].x);
        EXPECT_LE(row.iconAt.y + row.iconSize, row.height - 3 * row.line);
        EXPECT_GE(row.iconAt.y, row.line);
        for (int n = 0; n < kRowLabelCount; ++n)
            EXPECT_LE(row.valueAt[n].y + row.fontHeight, row.height - 2 * row.line) << n;

        StatusGeometry bar = StatusGeometryAt(dpi);
        EXPECT_GE(bar.position.top, 2 * bar.line);          // below the top lines
        EXPECT_LT(bar.label.right, bar.position.left);
        EXPECT_LT(bar.position.right, bar.path.left);
        // The grip fills its span: every diagonal but the left-out lines has a pen.
        int drawn = 0;
        for (int d = 1; d <= bar.gripSpan; ++d)
            drawn += GripDiagonalPen(d, dpi) != GripPen::None;
        EXPECT_GT(drawn, bar.gripSpan / 2);
        EXPECT_EQ(GripDiagonalPen(bar.gripSpan, dpi), GripPen::White);
        EXPECT_EQ(GripDiagonalPen(bar.gripSpan + 1, dpi), GripPen::None);
    }
}

TEST(DpiLayout, RowsAreLaidOutForTheHighestDpiThatFitsTheList)
{
    struct Case { int dpi, layoutDpi, height, line; };
    const Case cases[] = {
        {96, 96, 84, 1}, {192, 192, 168, 2},
        {291, 291, 255, 3},                     // 254.6 rounds to 255
        {292, 291, 255, 3},                     // 255.5 would round to 256
        {288, 288, 252, 3}, {336, 291, 255, 3}, {480, 291, 255, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RowLayoutDpi(c.dpi), c.layoutDpi) << c.dpi;
        RowGeometry row = RowGeometryAt(c.dpi);
        EXPECT_EQ(row.height, c.height) << c.dpi;
        EXPECT_EQ(row.line, c.line) << c.dpi;
    }
    // A list that keeps a height of its own: the rows are laid out for it.
    struct Height { int height, dpi; };
    for (Height h : {Height{84, 96}, Height{255, 291}, Height{48, 55}, Height{0, 1}, Height{-5, 1}}) {
        EXPECT_EQ(RowDpiForHeight(h.height), h.dpi) << h.height;
        if (h.height >= 84) {
            EXPECT_LE(RowGeometryAt(RowDpiForHeight(h.height)).height, h.height);
        }
    }
}

// Which answer a window's DPI comes from, by the functions the system has:
// Windows 10 1607 on, 8.1, and Vista to 8.
TEST(DpiSource, TheNewestTheSystemOffers)
{
    struct Case { const char* system; bool window, forWindow, forMonitor; DpiSource source; };
    const Case cases[] = {
        {"10 (1607 on)", true, true, true, DpiSource::Window},
        {"8.1 and 10 before 1607", true, false, true, DpiSource::Monitor},
        {"Vista to 8", true, false, false, DpiSource::Screen},
        {"user32 without shcore", true, true, false, DpiSource::Window},
        {"no window yet", false, true, true, DpiSource::Screen},
        {"no window on 8.1", false, false, true, DpiSource::Screen},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseDpiSource(c.window, c.forWindow, c.forMonitor), c.source) << c.system;
}

TEST(DpiSource, FramesAreAskedToScaleOnlyInTheOlderPerMonitorMode)
{
    struct Case { const char* system; bool hasCall, perMonitorV2; bool asked; };
    const Case cases[] = {
        {"10 (1607), per-monitor", true, false, true},
        {"10 (1703 on), per-monitor v2", true, true, false},
        {"8.1: no such call", false, false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NeedsNonClientScaling(c.hasCall, c.perMonitorV2), c.asked) << c.system;
}

TEST(DpiLayout, PicturesNeverGrowPastTheirButton)
{
    struct Case { int dpi, set; };
    // 36 pixels fit from 142 DPI on (35.5 rounds up), 48 from 190 DPI on.
    const Case cases[] = {{96, 0}, {120, 0}, {141, 0}, {142, 1}, {168, 1}, {189, 1}, {190, 2}, {288, 2}};
    for (const Case& c : cases)
        EXPECT_EQ(PictureSetAt(c.dpi), c.set) << c.dpi;
}

TEST(DpiLayout, GripCornerFollowsTheScaledSpan)
{
    struct Case { int dpi, x, y; bool inside; };
    const Case cases[] = {
        {96, 507, 7, true}, {96, 506, 19, false},
        {144, 500, 10, true},       // 20 pixels at 144 DPI: from 500 and 10 on
        {144, 499, 29, false}, {144, 519, 9, false},
        {192, 494, 0, true}, {192, 493, 19, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsInSizeGrip(true, c.x, c.y, 520, c.dpi == 144 ? 30 : 20, c.dpi), c.inside)
            << c.dpi << ": " << c.x << ',' << c.y;
}

} // namespace
