// The preview's sizes and places, and the reading of its file a picture at a time.
#include "tests/support/flc_writer.h"
#include "watch/preview_geometry.h"
#include "watch/preview_reading.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
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

TEST(PlacePreview, BesideTheRowAndInsideTheWorkArea)
{
    const PreviewBox work = {0, 0, 1024, 740};
    struct Case { int line; PreviewBox row; PreviewSize size; int x, y; };
    const Case cases[] = {
        {__LINE__, {100, 100, 500, 184}, {330, 230}, 500, 100},   // right of the row
        {__LINE__, {400, 100, 900, 184}, {330, 230}, 70, 100},    // no room right: left
        {__LINE__, {250, 100, 770, 184}, {330, 230}, 440, 184},   // neither: below, right-aligned
        {__LINE__, {250, 600, 770, 684}, {330, 230}, 440, 370},   // nor below: above
        {__LINE__, {100, 650, 500, 734}, {330, 230}, 500, 510},   // right, moved up into the area
        {__LINE__, {0, 0, 1024, 740}, {330, 230}, 694, 0},        // no room anywhere: above, moved inside
        {__LINE__, {0, 0, 100, 50}, {2000, 2000}, 0, 0},          // larger than the area: its top left
    };
    for (const Case& c : cases) {
        PreviewPoint at = PlacePreview(c.row, c.size, work);
        EXPECT_EQ(at.x, c.x) << "line " << c.line;
        EXPECT_EQ(at.y, c.y) << "line " << c.line;
    }
    // A second monitor's work area left of the first.
    PreviewPoint at = PlacePreview({-1500, 100, -1000, 184}, {330, 230}, {-1920, 0, 0, 1040});
    EXPECT_EQ(at.x, -1000);
    EXPECT_EQ(at.y, 100);
}

TEST(PreviewFrameMilliseconds, OwnDelayWithAFloorOf1In70Seconds)
{
    struct Case { std::uint64_t microseconds; unsigned milliseconds; };
    for (Case c : {Case{0, 14}, Case{1000, 14}, Case{14285, 14}, Case{16000, 16}, Case{100000, 100},
                   Case{5000000000ull * 1000, 0x7FFFFFFF}})
        EXPECT_EQ(PreviewFrameMilliseconds(c.microseconds), c.milliseconds) << c.microseconds;
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

class MemorySource final : public FlcSource {
public:
    explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}
    std::size_t Read(unsigned char* into, std::size_t size) override
    {
        std::size_t left = at_ < bytes_.size() ? bytes_.size() - at_ : 0;
        std::size_t count = size < left ? size : left;
        std::memcpy(into, bytes_.data() + at_, count);
        at_ += count;
        return count;
    }
    bool Seek(std::uint64_t offset) override
    {
        at_ = static_cast<std::size_t>(offset);
        return true;
    }

private:
    std::string bytes_;
    std::size_t at_ = 0;
};

// The numbers of the next `count` pictures; fewer when they stop coming.
std::vector<int> Play(PreviewReading& reading, int count, PreviewFrame* last = nullptr)
{
    auto frame = std::make_unique<PreviewFrame>();
    std::vector<int> numbers;
    while (static_cast<int>(numbers.size()) < count && reading.Next(*frame))
        numbers.push_back(frame->number);
    if (last != nullptr)
        *last = *frame;
    return numbers;
}

std::vector<std::uint8_t> Picture(const PreviewFrame& frame)
{
    std::vector<std::uint8_t> picture;
    for (int y = 0; y < frame.height; ++y)
        picture.insert(picture.end(), frame.indices + y * frame.stride, frame.indices + y * frame.stride + frame.width);
    return picture;
}

TEST(PreviewReading, PlaysEveryFrameInOrderAndLoops)
{
    MemorySource file(flc_writer::GradientFlc(7, 3, 3, 50));     // rows padded to 8 bytes
    PreviewReading reading;
    reading.Open(&file);
    EXPECT_EQ(reading.Facts().answer, PreviewAnswer::Playing);
    EXPECT_EQ(reading.Facts().info.frames, 3);
    EXPECT_EQ(reading.Facts().info.width, 7);
    EXPECT_EQ(reading.Facts().info.delayMicroseconds, 50000u);
    auto last = std::make_unique<PreviewFrame>();
    EXPECT_EQ(Play(reading, 7, last.get()), (std::vector<int>{1, 2, 3, 1, 2, 3, 1}));
    EXPECT_EQ(last->width, 7);
    EXPECT_EQ(last->height, 3);
    EXPECT_EQ(last->stride, 8);
    EXPECT_EQ(Picture(*last), flc_writer::Gradient(7, 3, 0));
    EXPECT_EQ(last->palette[3 * 7 + 1], 255 - 7);
    EXPECT_EQ(reading.Facts().damagedAt, 0);
}

TEST(PreviewReading, AnswersWhyThereIsNoPicture)
{
    std::string header = flc_writer::GradientFlc(8, 4, 2, 50).substr(0, 128);
    struct Case { const char* name; std::string bytes; PreviewAnswer answer; };
    const Case cases[] = {
        {"a text", std::string(300, 'x'), PreviewAnswer::NotFlc},
        {"empty", "", PreviewAnswer::NotFlc},
        {"too large", flc_writer::Header(4096, 1025, 1, 50, 128), PreviewAnswer::TooLarge},
        {"header only", header, PreviewAnswer::Damaged},
        {"first frame cut", flc_writer::CutInFrame(flc_writer::GradientFlc(8, 4, 2, 50), 1), PreviewAnswer::Damaged},
    };
    for (const Case& c : cases) {
        MemorySource file(c.bytes);
        PreviewReading reading;
        reading.Open(&file);
        EXPECT_TRUE(Play(reading, 1).empty()) << c.name;
        EXPECT_EQ(reading.Facts().answer, c.answer) << c.name;
    }
    PreviewReading missing;
    missing.Open(nullptr);
    EXPECT_TRUE(Play(missing, 1).empty());
    EXPECT_EQ(missing.Facts().answer, PreviewAnswer::NotFound);
}

TEST(PreviewReading, ABrokenFilePlaysTheFramesBeforeTheBreak)
{
    MemorySource file(flc_writer::CutInFrame(flc_writer::GradientFlc(8, 4, 5, 50), 3));
    PreviewReading reading;
    reading.Open(&file);
    EXPECT_EQ(Play(reading, 2), (std::vector<int>{1, 2}));
    EXPECT_EQ(reading.Facts().damagedAt, 0);        // not known before it is met
    EXPECT_EQ(Play(reading, 3), (std::vector<int>{1, 2, 1}));
    EXPECT_EQ(reading.Facts().answer, PreviewAnswer::Playing);
    EXPECT_EQ(reading.Facts().damagedAt, 3);
}

TEST(PreviewReading, ALargePictureComesShrunkToItsSizeAt96Dpi)
{
    MemorySource file(flc_writer::GradientFlc(640, 400, 1, 50));
    PreviewReading reading;
    reading.Open(&file);
    auto frame = std::make_unique<PreviewFrame>();
    ASSERT_TRUE(reading.Next(*frame));
    EXPECT_EQ(frame->width, 320);
    EXPECT_EQ(frame->height, 200);
    EXPECT_EQ(frame->stride, 320);
    EXPECT_EQ(frame->indices[1], 2);                // every second column
    EXPECT_EQ(frame->indices[320], 2);              // and every second row
}

} // namespace
