// The viewer's sizes, zoom steps, status line, and its reading of any frame,
// forwards and back.
#include "anim/flc_reader.h"
#include "anim/flc_sources.h"
#include "tests/support/flc_writer.h"
#include "watch/viewer_geometry.h"
#include "watch/viewer_reading.h"
#include "watch/viewer_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(ViewerGeometry, BaseSizeScalesByDpiAndTallPixelsOnlyFor320x200)
{
    struct Case { int line, width, height; bool tall; int dpi, shownWidth, shownHeight; };
    const Case cases[] = {
        {__LINE__, 640, 480, false, 96, 640, 480},
        {__LINE__, 640, 480, false, 144, 960, 720},
        {__LINE__, 640, 480, false, 192, 1280, 960},
        {__LINE__, 320, 200, false, 96, 320, 200},
        {__LINE__, 320, 200, true, 96, 320, 240},     // 6:5 pixels: 4:3 on the screen
        {__LINE__, 320, 200, true, 144, 480, 360},
        {__LINE__, 640, 400, true, 96, 640, 400},     // other sizes never stretched
        {__LINE__, 0, 200, false, 96, 0, 0},
    };
    for (const Case& c : cases) {
        ViewerSize size = ViewerBaseSize(c.width, c.height, c.tall, c.dpi);
        EXPECT_EQ(size.width, c.shownWidth) << "line " << c.line;
        EXPECT_EQ(size.height, c.shownHeight) << "line " << c.line;
    }
}

TEST(ViewerGeometry, ZoomStepsAreWholeAndFitKeepsProportions)
{
    struct Case { int line, zoom, areaWidth, areaHeight, width, height; };
    const Case cases[] = {
        {__LINE__, 1, 100, 100, 640, 480},
        {__LINE__, 2, 100, 100, 1280, 960},
        {__LINE__, -2, 100, 100, 320, 240},
        {__LINE__, -3, 100, 100, 213, 160},
        {__LINE__, kViewerFit, 320, 480, 320, 240},     // the width decides
        {__LINE__, kViewerFit, 1000, 240, 320, 240},    // the height decides
        {__LINE__, kViewerFit, 1920, 1440, 1920, 1440}, // fit enlarges too
        {__LINE__, kViewerFit, 1800, 1400, 1280, 960},  // by whole steps only: 200 %, not 281 %
        {__LINE__, kViewerFit, 600, 460, 320, 240},     // and by whole fractions below 100 %
        {__LINE__, kViewerFit, 0, 100, 0, 0},
    };
    for (const Case& c : cases) {
        ViewerSize size = ViewerShownSize({640, 480}, c.zoom, {c.areaWidth, c.areaHeight});
        EXPECT_EQ(size.width, c.width) << "line " << c.line;
        EXPECT_EQ(size.height, c.height) << "line " << c.line;
    }
    EXPECT_EQ(ViewerShownPercent({640, 480}, {320, 240}), 50);
    EXPECT_EQ(ViewerShownPercent({640, 480}, {960, 720}), 150);

    // + and - go a whole step; from a fit of 150 % the next steps are 200 % and 100 %.
    struct Step { int line, zoom, direction, fitPercent, next; };
    const Step steps[] = {
        {__LINE__, 1, +1, 0, 2},
        {__LINE__, 1, -1, 0, -2},
        {__LINE__, -2, +1, 0, 1},
        {__LINE__, -3, +1, 0, -2},
        {__LINE__, kViewerLargestZoom, +1, 0, kViewerLargestZoom},
        {__LINE__, kViewerSmallestZoom, -1, 0, kViewerSmallestZoom},
        {__LINE__, kViewerFit, +1, 150, 2},
        {__LINE__, kViewerFit, -1, 150, 1},
        {__LINE__, kViewerFit, +1, 40, -2},
        {__LINE__, kViewerFit, -1, 40, -3},
    };
    for (const Step& s : steps)
        EXPECT_EQ(ViewerNextZoom(s.zoom, s.direction, s.fitPercent), s.next) << "line " << s.line;
    EXPECT_EQ(ViewerZoomPercent(-3), 33);

    // The fit's step: the largest that fits, whole or a whole fraction.
    struct Fit { int line, baseWidth, baseHeight, areaWidth, areaHeight, zoom; };
    const Fit fits[] = {
        {__LINE__, 320, 200, 922, 576, 2},      // 288 % would fit; 200 % is the step
        {__LINE__, 320, 240, 800, 500, 2},      // 6:5 pixels: the rows decide
        {__LINE__, 320, 200, 320, 200, 1},
        {__LINE__, 320, 200, 319, 200, -2},
        {__LINE__, 320, 200, 4000, 4000, kViewerLargestZoom},
        {__LINE__, 640, 480, 300, 300, -3},     // 213 x 160
        {__LINE__, 640, 480, 10, 10, kViewerSmallestZoom},
    };
    for (const Fit& f : fits)
        EXPECT_EQ(ViewerFitZoom({f.baseWidth, f.baseHeight}, {f.areaWidth, f.areaHeight}), f.zoom) << "line " << f.line;
}

TEST(ViewerGeometry, CentredAndFirstWindowSize)
{
    ViewerBox box = ViewerCentred({320, 200}, {400, 300});
    EXPECT_EQ(box.left, 40);
    EXPECT_EQ(box.top, 50);
    EXPECT_EQ(box.right, 360);
    EXPECT_EQ(box.bottom, 250);
    ViewerBox overhang = ViewerCentred({500, 300}, {400, 300});
    EXPECT_EQ(overhang.left, -50);
    EXPECT_EQ(overhang.right, 450);

    struct Case { int line, baseWidth, baseHeight, availableWidth, availableHeight, zoom, clientWidth, clientHeight; };
    const Case cases[] = {
        {__LINE__, 640, 480, 1024, 700, 1, 640, 500},        // 100 %, the status line under it
        {__LINE__, 160, 100, 1024, 700, 1, 320, 120},        // at least as wide as the status line needs
        {__LINE__, 800, 600, 1024, 600, kViewerFit, 400, 320},   // 50 %, the step that fits 1024 x 580
        {__LINE__, 1280, 960, 1024, 700, kViewerFit, 640, 500},
    };
    for (const Case& c : cases) {
        ViewerStart start = ViewerStartLayout({c.baseWidth, c.baseHeight}, 20, 320, {c.availableWidth, c.availableHeight});
        EXPECT_EQ(start.zoom, c.zoom) << "line " << c.line;
        EXPECT_EQ(start.client.width, c.clientWidth) << "line " << c.line;
        EXPECT_EQ(start.client.height, c.clientHeight) << "line " << c.line;
    }
}

// The window that grows and shrinks with its picture keeps its middle and
// stays within the work area, also one that does not start at 0, 0.
TEST(ViewerGeometry, AResizedWindowKeepsItsMiddleWithinTheWorkArea)
{
    struct Case { int line; ViewerBox window; ViewerSize size; ViewerBox work; ViewerBox placed; };
    const Case cases[] = {
        {__LINE__, {200, 150, 600, 450}, {800, 600}, {0, 0, 1024, 768}, {0, 0, 800, 600}},
        {__LINE__, {0, 0, 800, 600}, {400, 300}, {0, 0, 1024, 768}, {200, 150, 600, 450}},
        {__LINE__, {600, 100, 1000, 400}, {600, 300}, {0, 0, 1024, 768}, {424, 100, 1024, 400}},
        {__LINE__, {100, 100, 500, 400}, {1200, 900}, {0, 0, 1024, 768}, {0, 0, 1200, 900}},
        {__LINE__, {-1000, 100, -600, 400}, {800, 600}, {-1280, 0, 0, 1024}, {-1200, 0, -400, 600}},
        {__LINE__, {300, 40, 500, 240}, {200, 400}, {0, 30, 1024, 768}, {300, 30, 500, 430}},   // a bar at the top
    };
    for (const Case& c : cases) {
        ViewerBox placed = ViewerResizedPlace(c.window, c.size, c.work);
        EXPECT_EQ(placed.left, c.placed.left) << "line " << c.line;
        EXPECT_EQ(placed.top, c.placed.top) << "line " << c.line;
        EXPECT_EQ(placed.right, c.placed.right) << "line " << c.line;
        EXPECT_EQ(placed.bottom, c.placed.bottom) << "line " << c.line;
    }
    // The client for a zoomed picture: the picture and the status line,
    // within what the work area leaves, never narrower than the status line.
    struct Client { int line; ViewerSize shown; ViewerSize client; };
    const Client clients[] = {
        {__LINE__, {640, 400}, {640, 420}},
        {__LINE__, {160, 100}, {320, 120}},
        {__LINE__, {1280, 800}, {1000, 700}},
    };
    for (const Client& c : clients) {
        ViewerSize client = ViewerClientFor(c.shown, 20, 320, {1000, 700});
        EXPECT_EQ(client.width, c.client.width) << "line " << c.line;
        EXPECT_EQ(client.height, c.client.height) << "line " << c.line;
    }
}

TEST(ViewerGeometry, PanningALargerPictureReachesEveryEdge)
{
    // One axis: a 640-pixel picture in a 300-pixel area scrolls from 0 to 340;
    // one that fits is centred and does not scroll.
    struct Case { int line, shown, area, scroll, clamped, placed; };
    const Case cases[] = {
        {__LINE__, 640, 300, 0, 0, 0},              // its start in view
        {__LINE__, 640, 300, 340, 340, -340},       // its end at the area's end
        {__LINE__, 640, 300, 500, 340, -340},       // no further
        {__LINE__, 640, 300, -20, 0, 0},
        {__LINE__, 640, 300, 100, 100, -100},
        {__LINE__, 200, 300, 50, 0, 50},            // fits: centred whatever the scroll
        {__LINE__, 300, 300, 10, 0, 0},
        {__LINE__, 301, 300, 10, 1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ViewerClampScroll(c.scroll, c.shown, c.area), c.clamped) << "line " << c.line;
        EXPECT_EQ(ViewerPlaced(c.shown, c.area, c.scroll), c.placed) << "line " << c.line;
        EXPECT_EQ(ViewerScrollLimit(c.shown, c.area), c.shown > c.area ? c.shown - c.area : 0) << "line " << c.line;
    }
    ViewerBox box = ViewerPlacedBox({640, 200}, {300, 250}, {400, 30});
    EXPECT_EQ(box.left, -340);
    EXPECT_EQ(box.right, 300);      // the right edge in view
    EXPECT_EQ(box.top, 25);         // the rows fit: centred
    EXPECT_EQ(box.bottom, 225);
}

TEST(ViewerGeometry, ZoomingKeepsThePointInPlace)
{
    // The picture's pixel under `point` before is under it after, unless the
    // limits forbid; a picture that comes to fit is centred (scroll 0).
    struct Case { int line, start, oldShown, newShown, area, point, scroll; };
    const Case cases[] = {
        {__LINE__, -10, 320, 640, 300, 150, 170},   // centre kept: (150 + 10) * 2 - 150
        {__LINE__, -10, 320, 640, 300, 0, 20},      // the area's start kept
        {__LINE__, 0, 320, 640, 300, 0, 0},         // the picture's start stays at the start
        {__LINE__, -30, 320, 640, 300, 299, 340},   // clamped at the end
        {__LINE__, 40, 220, 440, 300, 150, 70},     // from centred: the middle stays the middle
        {__LINE__, -170, 640, 320, 300, 150, 10},   // zoomed out, still larger
        {__LINE__, -170, 640, 160, 300, 150, 0},    // zoomed out until it fits
        {__LINE__, -100, 400, 1200, 300, 100, 500},
    };
    for (const Case& c : cases) {
        const int scroll = ViewerScrollAbout(c.start, c.oldShown, c.newShown, c.area, c.point);
        EXPECT_EQ(scroll, c.scroll) << "line " << c.line;
    }
    // Every point of a larger picture stays within one pixel when nothing clamps.
    for (int point = 0; point < 300; point += 7) {
        const int scroll = ViewerScrollAbout(-50, 400, 800, 300, point);
        const int pictureBefore = point + 50;               // in the old size
        const int pictureAfter = point + scroll;            // in the new size
        if (scroll > 0 && scroll < 500) {
            EXPECT_EQ(pictureAfter / 2, pictureBefore) << point;
        }
    }
}

TEST(ViewerGeometry, SpeedsStretchTheFilesPace)
{
    EXPECT_EQ(ViewerFrameMilliseconds(100000, ViewerSpeed::Normal), 100u);
    EXPECT_EQ(ViewerFrameMilliseconds(100000, ViewerSpeed::Half), 200u);
    EXPECT_EQ(ViewerFrameMilliseconds(100000, ViewerSpeed::Double), 50u);
    EXPECT_EQ(ViewerFrameMilliseconds(100000, ViewerSpeed::Quadruple), 25u);
    EXPECT_EQ(ViewerFrameMilliseconds(0, ViewerSpeed::Normal), 14u);     // the preview's fastest
    EXPECT_EQ(ViewerFrameMilliseconds(0, ViewerSpeed::Quadruple), 3u);
}

TEST(ViewerText, StatusLine)
{
    ViewerStatus status;
    status.info.width = 320;
    status.info.height = 200;
    status.info.frames = 24;
    status.info.delayMicroseconds = 100000;
    status.frame = 5;
    char text[kViewerStatusSize];
    const char* damaged = ", besch\xE4" "digt ab Bild %d";
    EXPECT_TRUE(FormatViewerStatus(text, status, damaged));
    EXPECT_STREQ(text, "Bild 5 von 24, 320 \xD7 200, 2,4 s, 100 %");
    status.paused = true;
    status.percent = 33;
    status.speed = ViewerSpeed::Half;
    status.damagedAt = 7;
    EXPECT_TRUE(FormatViewerStatus(text, status, damaged));
    EXPECT_STREQ(text, "Bild 5 von 24, 320 \xD7 200, 2,4 s, 33 %, Pause, Tempo \xBD\xD7, besch\xE4" "digt ab Bild 7");
    status.tallPixels = true;
    EXPECT_TRUE(FormatViewerStatus(text, status, damaged));
    EXPECT_STREQ(text, "Bild 5 von 24, 320 \xD7 200, 2,4 s, 33 %, Pixel 6:5, Pause, Tempo \xBD\xD7, besch\xE4" "digt ab Bild 7");

    EXPECT_STREQ(ViewerFileName("E:\\ANIM\\NATUR\\FISCH.FLC"), "FISCH.FLC");
    EXPECT_STREQ(ViewerFileName("BALL.FLC"), "BALL.FLC");
}

// Frames that build on each other: frame 1 is all index 0, and every later
// frame n sets pixel (n, 0) to index n with a byte delta, so a picture is
// right only when every frame before it was applied.
std::string ChainedFlc(int width, int height, int frames)
{
    using namespace flc_writer;
    std::string body;
    auto frame = [&body](const std::string& chunks, int count) {
        std::string head;
        Put32(head, static_cast<std::uint32_t>(16 + chunks.size()));
        Put16(head, 0xF1FA);
        Put16(head, static_cast<unsigned>(count));
        head.append(8, '\0');
        body += head + chunks;
    };
    std::string first;
    Put32(first, 6 + 2 + 2 + 768);
    Put16(first, 4);
    Put16(first, 1);
    first += std::string(2, '\0');
    std::vector<std::uint8_t> palette = RampPalette();
    first.append(reinterpret_cast<const char*>(palette.data()), 768);
    Put32(first, static_cast<std::uint32_t>(6 + width * height));
    Put16(first, 16);
    first.append(static_cast<std::size_t>(width * height), '\0');
    frame(first, 2);
    for (int n = 2; n <= frames; ++n) {
        std::string delta;
        Put16(delta, 0);        // first line
        Put16(delta, 1);        // one line
        delta += '\1';          // one packet
        delta += static_cast<char>(n % width);
        delta += '\1';
        delta += static_cast<char>(n);
        if (delta.size() % 2 != 0)
            delta += '\0';
        std::string chunk;
        Put32(chunk, static_cast<std::uint32_t>(6 + delta.size()));
        Put16(chunk, 12);
        frame(chunk + delta, 1);
    }
    return Header(width, height, frames, 70, 128 + body.size()) + body;
}

// Every picture of the file as a plain reading from the start gives it.
std::vector<std::vector<std::uint8_t>> Straight(const std::string& file)
{
    FlcMemorySource source(file.data(), file.size());
    FlcReader reader;
    std::vector<std::vector<std::uint8_t>> pictures;
    if (reader.Open(source) != FlcStatus::Frame)
        return pictures;
    const std::size_t pixels = static_cast<std::size_t>(reader.Info().width) * reader.Info().height;
    while (reader.NextFrame() == FlcStatus::Frame)
        pictures.emplace_back(reader.Indices(), reader.Indices() + pixels);
    return pictures;
}

TEST(ViewerReading, AnyFrameForwardsAndBackEqualsTheStraightDecode)
{
    const std::string file = ChainedFlc(640, 480, 200);
    const auto pictures = Straight(file);
    ASSERT_EQ(pictures.size(), 200u);
    FlcMemorySource source(file.data(), file.size());
    ViewerReading reading;
    reading.Open(&source);
    ASSERT_EQ(reading.Facts().answer, PreviewAnswer::Playing);
    const int interval = ViewerSnapshotInterval(200, 640 * 480);
    EXPECT_LE(200 / interval * (640 * 480 + 768), static_cast<int>(kViewerSnapshotBytes));

    // Played through once, then stepped back frame by frame, then jumps.
    const int order[] = {1, 2, 3, 100, 200, 199, 198, 150, 37, 1, 200, 64, 63, 2};
    for (int n = 1; n <= 200; ++n)
        ASSERT_TRUE(reading.Seek(n)) << n;
    for (int n : order) {
        long before = reading.FramesDecoded();
        ASSERT_TRUE(reading.Seek(n)) << n;
        EXPECT_EQ(reading.FrameNumber(), n);
        EXPECT_EQ(std::memcmp(reading.Indices(), pictures[n - 1].data(), 640 * 480), 0) << "frame " << n;
        // A step back never decodes from the start: at most one interval.
        EXPECT_LE(reading.FramesDecoded() - before, interval) << "frame " << n;
    }
    EXPECT_FALSE(reading.Seek(0));
    EXPECT_FALSE(reading.Seek(201));
}

TEST(ViewerReading, DamagedFilePlaysUpToTheDamage)
{
    const std::string file = flc_writer::CutInFrame(flc_writer::GradientFlc(16, 8, 5, 100), 3);
    FlcMemorySource source(file.data(), file.size());
    ViewerReading reading;
    reading.Open(&source);
    EXPECT_EQ(reading.LastFrame(), 5);
    EXPECT_TRUE(reading.Seek(2));
    EXPECT_FALSE(reading.Seek(4));
    EXPECT_EQ(reading.Facts().damagedAt, 3);
    EXPECT_EQ(reading.LastFrame(), 2);
    EXPECT_TRUE(reading.Seek(1));
    EXPECT_TRUE(reading.Seek(2));
    EXPECT_EQ(reading.Facts().answer, PreviewAnswer::Playing);

    const std::string broken = flc_writer::CutInFrame(flc_writer::GradientFlc(16, 8, 2, 100), 1);
    FlcMemorySource brokenSource(broken.data(), broken.size());
    reading.Open(&brokenSource);
    EXPECT_FALSE(reading.Seek(1));
    EXPECT_EQ(reading.Facts().answer, PreviewAnswer::Damaged);

    reading.Open(nullptr);
    EXPECT_EQ(reading.Facts().answer, PreviewAnswer::NotFound);
}

// A frame that breaks after its palette leaves the reader a picture no frame
// has; a seek back to the frame before it shows that frame as it is.
TEST(ViewerReading, AfterTheDamageTheLastGoodFrameIsWhole)
{
    const std::string whole = flc_writer::GradientFlc(16, 8, 5, 100);
    const std::string file = flc_writer::RedThenCutInFrame(whole, 3);
    const auto pictures = Straight(whole);
    const std::vector<std::uint8_t> ramp = flc_writer::RampPalette();
    struct Case { int line; std::vector<int> seeks; };
    const Case cases[] = {
        {__LINE__, {1, 2, 3, 2}},       // stepped into the damage and back
        {__LINE__, {1, 5, 2}},          // to the last frame, past the damage
        {__LINE__, {2, 4, 1, 2}},       // back to the start and on again
    };
    for (const Case& c : cases) {
        FlcMemorySource source(file.data(), file.size());
        ViewerReading reading;
        reading.Open(&source);
        for (int n : c.seeks)
            reading.Seek(n);
        const int last = c.seeks.back();
        EXPECT_EQ(reading.Facts().damagedAt, 3) << "line " << c.line;
        EXPECT_EQ(reading.FrameNumber(), last) << "line " << c.line;
        EXPECT_EQ(std::memcmp(reading.Indices(), pictures[last - 1].data(), 16 * 8), 0) << "line " << c.line;
        EXPECT_EQ(std::memcmp(reading.Palette(), ramp.data(), 768), 0) << "line " << c.line;
    }
}

} // namespace
