// The reading of the preview's file a picture at a time.
#include "tests/support/flc_writer.h"
#include "watch/preview_reading.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

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

// Counts the reads and seeks that reach the file.
class CountingSource final : public FlcSource {
public:
    explicit CountingSource(std::string bytes) : file_(std::move(bytes)) {}
    std::size_t Read(unsigned char* into, std::size_t size) override
    {
        ++reads;
        return file_.Read(into, size);
    }
    bool Seek(std::uint64_t offset) override
    {
        ++reads;
        return file_.Seek(offset);
    }
    int reads = 0;

private:
    MemorySource file_;
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

// A still picture is read and decoded once: after it, nothing more is read,
// however often a picture is asked for. Also a file that breaks after its
// first picture, which would show that one picture for ever.
TEST(PreviewReading, AStillIsReadAndDecodedOnce)
{
    struct Case { const char* name; std::string bytes; int damagedAt; };
    const Case cases[] = {
        {"one frame", flc_writer::GradientFlc(8, 4, 1, 50), 0},
        {"broken after the first", flc_writer::CutInFrame(flc_writer::GradientFlc(8, 4, 4, 50), 2), 2},
    };
    for (const Case& c : cases) {
        CountingSource file(c.bytes);
        PreviewReading reading;
        reading.Open(&file);
        EXPECT_EQ(Play(reading, 1), (std::vector<int>{1})) << c.name;
        EXPECT_FALSE(reading.Facts().still) << c.name;     // not known before the file says so
        EXPECT_TRUE(Play(reading, 5).empty()) << c.name;
        const int reads = file.reads;
        EXPECT_TRUE(Play(reading, 5).empty()) << c.name;
        EXPECT_EQ(file.reads, reads) << c.name;
        EXPECT_TRUE(reading.Facts().still) << c.name;
        EXPECT_EQ(reading.Facts().answer, PreviewAnswer::Playing) << c.name;
        EXPECT_EQ(reading.Facts().damagedAt, c.damagedAt) << c.name;
    }
    // Two frames are no still.
    MemorySource two(flc_writer::GradientFlc(8, 4, 2, 50));
    PreviewReading reading;
    reading.Open(&two);
    EXPECT_EQ(Play(reading, 5), (std::vector<int>{1, 2, 1, 2, 1}));
    EXPECT_FALSE(reading.Facts().still);
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
