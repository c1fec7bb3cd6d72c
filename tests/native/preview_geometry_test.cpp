// The preview's sizes and places, and the pace of its frames.
#include "base/dpi.h"
#include "watch/preview_geometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(PreviewPictureSize, OwnSizeUpTo320x240AndFittedAbove)
{
    struct Case { int line, width, height, dpi, shownWidth, shownHeight; };
    const Case cases[] = {
        {__LINE__, 320, 200, 96, 320, 200},
        {__LINE__, 320, 240, 96, 320, 240},
        {__LINE__, 1, 1, 96, 1, 1},
        {__LINE__, 320, 200, 144, 480, 300},    // scaled by the DPI
        {__LINE__, 160, 120, 192, 320, 240},
        {__LINE__, 640, 480, 96, 320, 240},     // proportions kept
        {__LINE__, 640, 400, 96, 320, 200},
        {__LINE__, 321, 100, 96, 320, 100},     // 99.7
        {__LINE__, 300, 480, 96, 150, 240},
        {__LINE__, 640, 480, 144, 480, 360},
        {__LINE__, 2048, 2048, 96, 240, 240},
        {__LINE__, 4000, 1, 96, 320, 1},        // never thinner than a pixel
        {__LINE__, 1, 4000, 96, 1, 240},
        {__LINE__, 0, 200, 96, 0, 0},           // no picture
    };
    for (const Case& c : cases) {
        PreviewSize size = PreviewPictureSize(c.width, c.height, c.dpi);
        EXPECT_EQ(size.width, c.shownWidth) << "line " << c.line;
        EXPECT_EQ(size.height, c.shownHeight) << "line " << c.line;
    }
}

TEST(PreviewLayout, PictureAboveTheLineWithMargins)
{
    PreviewLayout at96 = PreviewLayoutAt({320, 200}, {150, 13}, 96);
    EXPECT_EQ(at96.picture.left, 4);
    EXPECT_EQ(at96.picture.top, 4);
    EXPECT_EQ(at96.picture.right, 324);
    EXPECT_EQ(at96.picture.bottom, 204);
    EXPECT_EQ(at96.textX, 4);
    EXPECT_EQ(at96.textY, 208);
    EXPECT_EQ(at96.client.width, 328);
    EXPECT_EQ(at96.client.height, 225);

    // A line wider than the picture widens the popup; no picture, the line alone.
    EXPECT_EQ(PreviewLayoutAt({20, 10}, {150, 13}, 96).client.width, 158);
    PreviewLayout lineOnly = PreviewLayoutAt({0, 0}, {200, 13}, 96);
    EXPECT_EQ(lineOnly.picture.right - lineOnly.picture.left, 0);
    EXPECT_EQ(lineOnly.textY, 4);
    EXPECT_EQ(lineOnly.client.height, 21);

    PreviewLayout at144 = PreviewLayoutAt({480, 300}, {200, 20}, 144);
    EXPECT_EQ(at144.picture.left, 6);
    EXPECT_EQ(at144.textY, 6 + 300 + 6);
    EXPECT_EQ(at144.client.width, 492);
}

// Every combination of rows (top, middle, bottom, partly under a task bar
// above or below; narrow, full width; at either edge), pictures, lines, DPIs
// and work areas: the popup never covers its row, stays in the work area,
// and keeps the picture's proportions. The work areas' left and top edges lie
// apart from 0 and from each other, so that a clamp measured against the
// wrong edge takes the popup out of its monitor.
TEST(PlacePreview, NeverOverTheRowAndAlwaysInTheWorkArea)
{
    const PreviewBox works[] = {
        {0, 0, 1024, 740},          // 1024 x 768 less a task bar
        {0, 0, 800, 570},
        {0, 0, 1920, 1040},
        {-1920, 0, 0, 1040},        // a second monitor left of the first
        {0, 30, 640, 480},          // a task bar at the top
        {1920, 0, 3200, 984},       // a second monitor right of the first
        {0, -1024, 1280, -40},      // one above the first, its task bar at the bottom
        {1024, 40, 2048, 768},      // right of the first, its task bar at the top
        {-800, 250, 0, 850},        // left of the first, lower down
    };
    const PreviewSize pictures[] = {{320, 200}, {480, 300}, {320, 240}, {1, 240}, {320, 1}, {0, 0}};
    const PreviewSize texts[] = {{150, 13}, {420, 13}, {900, 20}};
    int placed = 0;
    for (const PreviewBox& work : works) {
        const int width = work.right - work.left;
        const int height = work.bottom - work.top;
        for (int dpi : {96, 144, 192}) {
            const int rowHeight = ScaleToDpi(84, dpi);
            // Rows of a window in the middle, a maximised one, one at each edge, and a narrow one.
            const int lefts[] = {work.left + width / 4, work.left, work.left + width - 500, work.left, work.left + 10};
            const int rights[] = {work.left + 3 * width / 4, work.right - 17, work.right - 10, work.left + 500,
                                  work.left + 200};
            for (int r = 0; r < 5; ++r)
                for (int top : {work.top, work.top + height / 3, work.bottom - rowHeight - 5, work.bottom - rowHeight,
                                work.top - rowHeight / 2, work.bottom - rowHeight / 2}) {
                    const PreviewBox row = {lefts[r], top, rights[r], top + rowHeight};
                    for (PreviewSize picture : pictures)
                        for (PreviewSize text : texts) {
                            PreviewPlace place = PlacePreview(row, picture, text, {2, 2}, dpi, work);
                            const PreviewBox& box = place.box;
                            SCOPED_TRACE(::testing::Message()
                                         << "work " << work.left << "," << work.top << "," << work.right << ","
                                         << work.bottom << " dpi " << dpi << " row " << row.left << "," << row.top
                                         << "," << row.right << "," << row.bottom << " picture " << picture.width
                                         << "x" << picture.height << " text " << text.width);
                            ASSERT_LT(box.left, box.right);
                            ASSERT_LT(box.top, box.bottom);
                            ++placed;
                            const bool apart = box.right <= row.left || box.left >= row.right
                                               || box.bottom <= row.top || box.top >= row.bottom;
                            EXPECT_TRUE(apart) << box.left << "," << box.top << "," << box.right << "," << box.bottom;
                            EXPECT_GE(box.left, work.left);
                            EXPECT_GE(box.top, work.top);
                            EXPECT_LE(box.right, work.right);
                            EXPECT_LE(box.bottom, work.bottom);
                            // Shrunk, never grown; the proportions within a pixel.
                            EXPECT_LE(place.picture.width, picture.width);
                            EXPECT_LE(place.picture.height, picture.height);
                            if (place.picture.width > 0 && picture.width > 0) {
                                const double wanted = static_cast<double>(picture.width) / picture.height;
                                EXPECT_NEAR(place.picture.width, wanted * place.picture.height, wanted + 1.0);
                            }
                            // The picture and the line fit the popup's height.
                            const PreviewSize client = PreviewLayoutAt(place.picture, text, dpi).client;
                            EXPECT_EQ(box.bottom - box.top, client.height + 2);
                        }
                }
        }
    }
    EXPECT_EQ(placed, 9 * 3 * 5 * 6 * 6 * 3);
}

TEST(PlacePreview, TheFirstSideWhereItFitsWholeElseWhereTheLargestPictureFits)
{
    const PreviewBox work = {0, 0, 1024, 740};
    const PreviewSize picture = {320, 200};
    const PreviewSize text = {150, 13};
    // 96 DPI: 2 x 4 margin and 2 border beside the picture (330 wide), 4 + 200 + 4 + 13 + 4 + 2 high (227).
    struct Case { int line; PreviewBox row; int left, top, right, bottom; int pictureWidth, pictureHeight; };
    const Case cases[] = {
        {__LINE__, {100, 100, 500, 184}, 500, 100, 830, 327, 320, 200},     // right of the row
        {__LINE__, {400, 100, 900, 184}, 70, 100, 400, 327, 320, 200},      // no room right: left
        {__LINE__, {250, 100, 770, 184}, 440, 184, 770, 411, 320, 200},     // neither: below, right-aligned
        {__LINE__, {250, 600, 770, 684}, 440, 373, 770, 600, 320, 200},     // nor below: above
        {__LINE__, {100, 650, 500, 734}, 500, 513, 830, 740, 320, 200},     // right, moved up into the area
        // A window in the middle of the screen, too wide for either side, its row
        // in the middle of the list: below it, the whole picture.
        {__LINE__, {200, 300, 824, 384}, 494, 384, 824, 611, 320, 200},
        // A maximised window: rows the screen's width. Below the top row; above the lowest.
        {__LINE__, {2, 60, 1005, 144}, 675, 144, 1005, 371, 320, 200},
        {__LINE__, {2, 640, 1005, 724}, 675, 413, 1005, 640, 320, 200},
        // A row in the middle of a maximised window on a low screen: 200 above,
        // 180 below. Above wins, the picture shrunk to 173 high (proportions kept).
        {__LINE__, {2, 200, 1005, 284}, 719, 0, 1005, 200, 276, 173},
    };
    for (const Case& c : cases) {
        const PreviewBox area = c.line == cases[8].line ? PreviewBox{0, 0, 1024, 464} : work;
        PreviewPlace place = PlacePreview(c.row, picture, text, {2, 2}, 96, area);
        EXPECT_EQ(place.box.left, c.left) << "line " << c.line;
        EXPECT_EQ(place.box.top, c.top) << "line " << c.line;
        EXPECT_EQ(place.box.right, c.right) << "line " << c.line;
        EXPECT_EQ(place.box.bottom, c.bottom) << "line " << c.line;
        EXPECT_EQ(place.picture.width, c.pictureWidth) << "line " << c.line;
        EXPECT_EQ(place.picture.height, c.pictureHeight) << "line " << c.line;
    }
    // No room on any side (a row filling the work area): not shown at all.
    PreviewPlace none = PlacePreview({0, 0, 1024, 740}, picture, text, {2, 2}, 96, work);
    EXPECT_EQ(none.box.right - none.box.left, 0);
    // A line one pixel wider than the room on the right: left, where it shows whole.
    PreviewPlace wide = PlacePreview({500, 100, 595, 184}, picture, {420, 13}, {2, 2}, 96, work);
    EXPECT_EQ(wide.box.left, 70);
    EXPECT_EQ(wide.box.right, 500);
    // Above and below a row as wide as the work area, one pixel less than the
    // line alone needs (23): not shown.
    PreviewPlace low = PlacePreview({0, 20, 1024, 718}, picture, text, {2, 2}, 96, work);
    EXPECT_EQ(low.box.bottom - low.box.top, 0);
    // A line wider than the widest room is cut by the popup's edge.
    PreviewPlace cut = PlacePreview({2, 60, 1005, 144}, {0, 0}, {1500, 13}, {2, 2}, 96, work);
    EXPECT_EQ(cut.box.left, 0);
    EXPECT_EQ(cut.box.right, 1024);
    EXPECT_EQ(cut.box.top, 144);
}

TEST(PreviewFrameMilliseconds, OwnDelayWithAFloorOf1In70Seconds)
{
    struct Case { std::uint64_t microseconds; unsigned milliseconds; };
    for (Case c : {Case{0, 14}, Case{1000, 14}, Case{14285, 14}, Case{16000, 16}, Case{100000, 100},
                   Case{5000000000ull * 1000, 0x7FFFFFFF}})
        EXPECT_EQ(PreviewFrameMilliseconds(c.microseconds), c.milliseconds) << c.microseconds;
}

// A medium that needs 120 ms for each picture of a file of 100 ms a frame:
// the window's timer ticks every 100 ms and takes the next picture; the
// reading decodes the one after only once that is taken. With the pace, a
// picture late for its tick shows when it comes (every 120 ms); waiting for
// the next tick would show one every 200 ms.
TEST(PreviewPace, ALatePictureShowsWhenItComes)
{
    const unsigned period = 100;
    for (unsigned decoding : {60u, 120u, 150u}) {
        PreviewPace pace;
        std::vector<unsigned> shown = {0};
        unsigned nextTick = period;
        unsigned readyAt = decoding;    // the reading starts on the next picture as the first shows
        for (unsigned now = 1; now <= 2000; ++now) {
            bool show = false;
            if (now == readyAt && pace.Late()) {      // the reading's news
                pace.Reset();
                show = true;
            } else if (now == nextTick) {
                show = pace.Tick(now >= readyAt);
            }
            if (now == nextTick || show)
                nextTick = now + period;              // a picture shown late starts the timer anew
            if (show) {
                shown.push_back(now);
                readyAt = now + decoding;
            }
        }
        const unsigned step = decoding > period ? decoding : period;
        ASSERT_GE(shown.size(), 2000 / step) << decoding;
        for (std::size_t n = 1; n < shown.size(); ++n)
            EXPECT_EQ(shown[n] - shown[n - 1], step) << decoding << " ms, picture " << n;
    }
}

TEST(ShrinkIndices, NearestPixel)
{
    const std::uint8_t from[] = {1, 2, 3, 4,
                                 5, 6, 7, 8};
    std::uint8_t to[8] = {};
    ShrinkIndices(from, {4, 2}, to, {2, 2}, 4);
    EXPECT_EQ(to[0], 1);
    EXPECT_EQ(to[1], 3);
    EXPECT_EQ(to[4], 5);    // the second row starts at the stride
    EXPECT_EQ(to[5], 7);
    EXPECT_EQ(PreviewRowStride(1), 4);
    EXPECT_EQ(PreviewRowStride(320), 320);
    EXPECT_EQ(PreviewRowStride(321), 324);
}

} // namespace
