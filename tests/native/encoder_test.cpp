// The GIF and PNG encoder: what comes back from its files (the tests' own GIF
// and PNG readers) equals the decoder's frames and colours; the delay table;
// damaged input; an output that fails on the way; memory that runs out.
#include "anim/flc_convert.h"
#include "anim/flc_sources.h"
#include "anim/png_writer.h"
#include "flc_builder.h"
#include "tests/support/failing_allocator.h"
#include "tests/support/flc_status_name.h"
#include "tests/support/gif_read.h"
#include "tests/support/memory_sink.h"
#include "tests/support/png_read.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>

namespace {

// A picture that LZW cannot shorten much: its table fills and is cleared
// many times over.
Bytes Noise(std::size_t size, std::uint32_t seed)
{
    Bytes out(size);
    for (std::uint8_t& value : out) {
        seed = seed * 1103515245u + 12345u;
        value = static_cast<std::uint8_t>(seed >> 16);
    }
    return out;
}

Bytes Ramp(unsigned first)
{
    Bytes rgb;
    for (unsigned i = 0; i < 256; ++i) {
        rgb.push_back(static_cast<std::uint8_t>(i + first));
        rgb.push_back(static_cast<std::uint8_t>(255 - i));
        rgb.push_back(static_cast<std::uint8_t>(i * 7 + first));
    }
    return rgb;
}

struct Decoded {
    std::vector<Bytes> pictures;
    std::vector<Bytes> palettes;
    std::string status;
};

Decoded DecodeFlc(const Bytes& file)
{
    Decoded decoded;
    FlcMemorySource source(file.data(), file.size());
    FlcReader reader;
    FlcStatus status = reader.Open(source);
    while (status == FlcStatus::Frame && (status = reader.NextFrame()) == FlcStatus::Frame) {
        const FlcInfo& info = reader.Info();
        decoded.pictures.emplace_back(reader.Indices(), reader.Indices() + info.width * info.height);
        decoded.palettes.emplace_back(reader.Palette(), reader.Palette() + 768);
    }
    decoded.status = FlcStatusName(status);
    return decoded;
}

std::vector<std::string> FrameSizes(const GifFile& gif)
{
    std::vector<std::string> sizes;
    for (const GifFrame& frame : gif.frames)
        sizes.push_back(std::to_string(frame.left) + "," + std::to_string(frame.top) + " " + std::to_string(frame.width) + "x"
                        + std::to_string(frame.height));
    return sizes;
}

// Every frame as a viewer shows it; a frame is written as the rectangle
// whose colours changed.
TEST(GifEncoder, EveryFrameComesBackWithItsOwnColours)
{
    const Bytes p = {1, 2, 3, 4, 5, 6}, q = {6, 5, 4, 3, 2, 1};
    const Bytes noise1 = Noise(256 * 200, 1), noise2 = Noise(256 * 200, 2);
    Bytes runs(320 * 200, 7);
    std::memset(runs.data() + 5000, 9, 30000);
    Bytes dot = runs;
    dot[320 * 150 + 200] = 1;
    // Noise, then the same rows again lower down: a full code table pays.
    Bytes twice = Noise(320 * 200, 6);
    std::memcpy(twice.data() + 320 * 100, twice.data(), 320 * 100);
    // The same, with the repeat soon after the table fills: the codes made
    // last before it filled are used.
    Bytes soon = Noise(128 * 128, 5);
    std::memcpy(soon.data() + 128 * 64, soon.data(), 128 * 64);
    struct Case {
        const char* name;
        Bytes file;
        int width, height;
        std::vector<std::string> areas;     // each frame's rectangle: left,top widthxheight
    };
    const Case cases[] = {
        {"a palette change: the whole picture",
         File(false, 3, 2, 3, 100,
              {Frame({PaletteChunk(0, Ramp(0)), CopyChunk(p)}), Frame({PaletteChunk(0, Ramp(99))}),
               Frame({CopyChunk(q)})}),
         3, 2, {"0,0 3x2", "0,0 3x2", "0,0 3x2"}},
        {"noise: the code table fills and is cleared",
         File(false, 256, 200, 2, 40,
              {Frame({PaletteChunk(0, Ramp(3)), CopyChunk(noise1)}), Frame({CopyChunk(noise2)})}),
         256, 200, {"0,0 256x200", "0,0 256x200"}},
        {"long runs: codes of every width; then one pixel changes, then none",
         File(false, 320, 200, 3, 40,
              {Frame({PaletteChunk(0, Ramp(5)), CopyChunk(runs)}), Frame({CopyChunk(dot)}), Frame({})}),
         320, 200, {"0,0 320x200", "200,150 1x1", "0,0 1x1"}},
        {"noise, then its rows again", File(false, 320, 200, 1, 40, {Frame({PaletteChunk(0, Ramp(9)), CopyChunk(twice)})}),
         320, 200, {"0,0 320x200"}},
        {"noise, then its rows again soon after the code table filled",
         File(false, 128, 128, 1, 40, {Frame({PaletteChunk(0, Ramp(9)), CopyChunk(soon)})}), 128, 128, {"0,0 128x128"}},
        {"one pixel", File(false, 1, 1, 1, 40, {Frame({CopyChunk({200})})}), 1, 1, {"0,0 1x1"}},
        {"FLI, with a ring frame that is no frame of its own; an index that changes to one of the same colour (all "
         "black) changes nothing",
         File(true, 3, 2, 2, 5, {Frame({CopyChunk(p)}), Frame({CopyChunk({1, 2, 3, 4, 9, 6})}), Frame({CopyChunk(p)})}), 3, 2,
         {"0,0 3x2", "0,0 1x1"}},
        {"the rectangle that changed its colour",
         File(false, 3, 2, 2, 5, {Frame({PaletteChunk(0, Ramp(0)), CopyChunk(p)}), Frame({CopyChunk({1, 2, 3, 4, 9, 6})})}), 3,
         2, {"0,0 3x2", "1,1 1x1"}},
    };
    for (const Case& c : cases) {
        Decoded expected = DecodeFlc(c.file);
        FlcMemorySource source(c.file.data(), c.file.size());
        MemorySink sink;
        FlcConversion result = ConvertFlcToGif(source, sink);
        EXPECT_STREQ(FlcStatusName(result.status), "End") << c.name;
        EXPECT_EQ(result.frames, static_cast<int>(expected.pictures.size())) << c.name;
        GifFile gif = ReadGif(sink.bytes.data(), sink.bytes.size());
        ASSERT_EQ(gif.error, "") << c.name;
        EXPECT_TRUE(gif.trailer) << c.name;
        EXPECT_EQ(gif.loops, 0) << c.name << ": loops forever";
        EXPECT_EQ(gif.width, c.width) << c.name;
        EXPECT_EQ(gif.height, c.height) << c.name;
        ASSERT_EQ(gif.frames.size(), expected.pictures.size()) << c.name;
        std::vector<Bytes> shown = GifPictures(gif);
        for (std::size_t i = 0; i < gif.frames.size(); ++i) {
            const Bytes& picture = expected.pictures[i];
            EXPECT_TRUE(shown[i] == IndicesToRgb(picture.data(), picture.size(), expected.palettes[i].data()))
                << c.name << ", frame " << i + 1;
        }
        EXPECT_EQ(FrameSizes(gif), c.areas) << c.name;
    }
}

// What keeps the file small without changing a pixel: one colour table for
// an animation of up to 256 colours, a table of its own only for a frame
// whose colours the first table lacks; pixels that keep their colour as a
// transparent index when the rectangle holds many of them, but never when
// every index is drawn; codes as narrow as the frame's indices allow.
TEST(GifEncoder, SmallWithoutChangingAPixel)
{
    const std::size_t size = 64 * 64;
    Bytes noise = Noise(size, 3), two(size, 0), moved = Noise(size, 3);
    for (std::size_t i = 0; i < size; ++i)
        two[i] = static_cast<std::uint8_t>((i / 64 + i % 64) % 2 * 255);
    moved[0] = static_cast<std::uint8_t>(moved[0] + 1);
    moved[size - 1] = static_cast<std::uint8_t>(moved[size - 1] + 1);
    Bytes four = moved;     // four colours drawn, none of them the pixel's before
    four[63] = static_cast<std::uint8_t>(four[63] + 2);
    four[size - 64] = static_cast<std::uint8_t>(four[size - 64] + 3);
    Bytes everyIndex = noise;     // every pixel changes, each index drawn
    for (std::uint8_t& value : everyIndex)
        value = static_cast<std::uint8_t>(value + 1);
    struct Case {
        const char* name;
        Bytes file;
        std::size_t globalColours;      // the global table's size
        std::vector<std::string> frames;    // per frame: "g"/"l" table, "t" transparent, then the code size
    };
    auto How = [](const GifFrame& frame) {
        return std::string(frame.palette.empty() ? "g" : "l") + (frame.transparent >= 0 ? "t" : "") + std::to_string(frame.codeSize);
    };
    const Case cases[] = {
        {"two colours out of 256: a table of two, codes of two bits",
         File(false, 64, 64, 2, 10, {Frame({PaletteChunk(0, Ramp(2)), CopyChunk(two)}), Frame({})}), 2, {"g2", "g2"}},
        {"a new palette whose colours are all new, together more than 256: a table of its own",
         File(false, 64, 64, 3, 10,
              {Frame({PaletteChunk(0, Ramp(0)), CopyChunk(noise)}), Frame({PaletteChunk(0, Ramp(128))}),
               Frame({PaletteChunk(0, Ramp(0))})}),
         256, {"g8", "l8", "g8"}},
        {"two pixels at opposite corners of noise: the noise between them transparent; colours that later frames draw "
         "come first in the table, so their codes are narrow",
         File(false, 64, 64, 2, 10, {Frame({PaletteChunk(0, Ramp(4)), CopyChunk(noise)}), Frame({CopyChunk(moved)})}), 256,
         {"g8", "gt2"}},
        {"four colours drawn at the corners: the transparent index is the fifth, and the codes widen for it",
         File(false, 64, 64, 2, 10, {Frame({PaletteChunk(0, Ramp(4)), CopyChunk(noise)}), Frame({CopyChunk(four)})}), 256,
         {"g8", "gt3"}},
        {"every index drawn: none left to be transparent",
         File(false, 64, 64, 2, 10, {Frame({PaletteChunk(0, Ramp(4)), CopyChunk(noise)}), Frame({CopyChunk(everyIndex)})}),
         256, {"g8", "g8"}},
    };
    for (const Case& c : cases) {
        Decoded expected = DecodeFlc(c.file);
        FlcMemorySource source(c.file.data(), c.file.size());
        MemorySink sink;
        ConvertFlcToGif(source, sink);
        GifFile gif = ReadGif(sink.bytes.data(), sink.bytes.size());
        ASSERT_EQ(gif.error, "") << c.name;
        ASSERT_EQ(gif.frames.size(), expected.pictures.size()) << c.name;
        std::vector<Bytes> shown = GifPictures(gif);
        std::vector<std::string> frames;
        for (std::size_t i = 0; i < gif.frames.size(); ++i) {
            const Bytes& picture = expected.pictures[i];
            EXPECT_TRUE(shown[i] == IndicesToRgb(picture.data(), picture.size(), expected.palettes[i].data()))
                << c.name << ", frame " << i + 1;
            EXPECT_LE(gif.frames[i].disposal, 1) << c.name << ": each frame stays under the next";
            frames.push_back(How(gif.frames[i]));
        }
        EXPECT_EQ(gif.palette.size(), c.globalColours * 3) << c.name;
        EXPECT_EQ(frames, c.frames) << c.name;
    }
}

// Delays in hundredths, rounded on the running time so that nothing adds up.
TEST(GifEncoder, DelaysCarryTheirRemainderAndNeverFallUnderTwo)
{
    struct Case {
        const char* name;
        bool fli;
        std::uint32_t speed;        // milliseconds, or 1/70 s for FLI
        std::vector<int> delays;    // of the first frames
        bool slowed;
    };
    const Case cases[] = {
        {"a tenth of a second", false, 100, {10, 10, 10, 10}, false},
        {"33 ms: 3.3 hundredths", false, 33, {3, 4, 3, 3, 4, 3, 3, 3, 4, 3}, false},
        {"exactly 50 frames a second", false, 20, {2, 2, 2}, false},
        {"25 ms: 2.5 hundredths", false, 25, {3, 2, 3, 2}, false},
        {"faster than 50 a second", false, 15, {2, 2, 2, 2}, true},
        {"no delay at all", false, 0, {2, 2, 2}, true},
        {"FLI 1/70 s", true, 1, {2, 2, 2}, true},
        {"FLI 5/70 s", true, 5, {7, 7, 7, 8, 7, 7, 7}, false},
        {"a delay longer than a GIF holds", false, 700000, {65535, 65535}, false},
    };
    for (const Case& c : cases) {
        int frames = static_cast<int>(c.delays.size());
        Bytes file = Header(c.fli, 1, 1, static_cast<unsigned>(frames), c.speed);
        for (int i = 0; i < frames; ++i)
            file = Join({file, Frame({CopyChunk({static_cast<std::uint8_t>(i)})})});
        FlcMemorySource source(file.data(), file.size());
        MemorySink sink;
        FlcConversion result = ConvertFlcToGif(source, sink);
        EXPECT_EQ(result.slowed, c.slowed) << c.name;
        GifFile gif = ReadGif(sink.bytes.data(), sink.bytes.size());
        ASSERT_EQ(gif.error, "") << c.name;
        std::vector<int> delays;
        for (const GifFrame& frame : gif.frames)
            delays.push_back(frame.delay);
        EXPECT_EQ(delays, c.delays) << c.name;
    }
    // Over a long run the total is the file's own time, rounded once.
    for (std::uint64_t micro : {33000ull, 41667ull, 71429ull, 123456ull}) {
        long long total = 0;
        for (int i = 0; i < 1000; ++i)
            total += GifFrameDelay(micro, i);
        EXPECT_EQ(total, static_cast<long long>((1000 * micro + 5000) / 10000)) << micro;
    }
}

TEST(Conversion, DamagedAndForeignInput)
{
    const Bytes p = {1, 2, 3, 4}, q = {5, 6, 7, 8};
    Bytes cut = File(false, 2, 2, 3, 10, {Frame({CopyChunk(p)}), Frame({CopyChunk(q)})});
    Bytes brokenFirst = File(false, 2, 2, 2, 10, {Frame({Chunk(16, p, 1000)})});
    Bytes text(300, 'x');
    struct Case {
        const char* name;
        Bytes file;
        std::string status;
        int frames, damagedAt;
    };
    const Case cases[] = {
        {"frames declared that the file lacks", cut, "Damaged", 2, 3},
        {"broken in frame 1: nothing written", brokenFirst, "Damaged", 0, 1},
        {"a header cut short", Bytes(cut.begin(), cut.begin() + 60), "Damaged", 0, 1},
        {"not an animation", text, "NotFlc", 0, 0},
        {"too large a picture", File(false, 4096, 2048, 1, 10, {}), "TooLarge", 0, 0},
    };
    for (const Case& c : cases) {
        FlcMemorySource source(c.file.data(), c.file.size());
        MemorySink sink;
        FlcConversion result = ConvertFlcToGif(source, sink);
        EXPECT_EQ(FlcStatusName(result.status), c.status) << c.name;
        EXPECT_EQ(result.frames, c.frames) << c.name;
        EXPECT_EQ(result.damagedAt, c.damagedAt) << c.name;
        EXPECT_FALSE(result.outputFailed) << c.name;
        if (c.frames == 0) {
            EXPECT_TRUE(sink.bytes.empty()) << c.name;
            continue;
        }
        GifFile gif = ReadGif(sink.bytes.data(), sink.bytes.size());
        EXPECT_EQ(gif.error, "") << c.name << ": the frames before the damage make a whole file";
        EXPECT_EQ(gif.frames.size(), static_cast<std::size_t>(c.frames)) << c.name;
    }
    // A PNG of a frame: there, past the end, behind the damage.
    struct Frame_ {
        int frame;
        std::string status;
        int frames, damagedAt;
    };
    for (const Frame_& f : {Frame_{2, "End", 1, 0}, Frame_{3, "Damaged", 0, 3}, Frame_{0, "End", 0, 0},
                            Frame_{4, "Damaged", 0, 3}}) {
        FlcMemorySource source(cut.data(), cut.size());
        MemorySink sink;
        FlcConversion result = ConvertFlcFrameToPng(source, f.frame, sink);
        EXPECT_EQ(FlcStatusName(result.status), f.status) << "frame " << f.frame;
        EXPECT_EQ(result.frames, f.frames) << "frame " << f.frame;
        EXPECT_EQ(result.damagedAt, f.damagedAt) << "frame " << f.frame;
        EXPECT_EQ(sink.bytes.empty(), f.frames == 0) << "frame " << f.frame;
    }
    Bytes single = File(false, 2, 2, 1, 10, {Frame({CopyChunk(p)})});
    FlcMemorySource source(single.data(), single.size());
    MemorySink sink;
    FlcConversion past = ConvertFlcFrameToPng(source, 2, sink);
    EXPECT_STREQ(FlcStatusName(past.status), "End");
    EXPECT_EQ(past.frames, 0);
    EXPECT_TRUE(sink.bytes.empty());
}

// A file that changes between the encoder's two readings (its colours are
// gathered first): a colour met only the second time is damage, not a pixel
// written in another colour.
class ChangingSource final : public FlcSource {
public:
    ChangingSource(const Bytes& first, const Bytes& then) : first_(first), then_(then) {}
    std::size_t Read(unsigned char* into, std::size_t size) override
    {
        const Bytes& file = back_ ? then_ : first_;
        std::size_t count = position_ < file.size() ? std::min(size, file.size() - position_) : 0;
        std::memcpy(into, file.data() + position_, count);
        position_ += count;
        return count;
    }
    bool Seek(std::uint64_t offset) override
    {
        back_ = back_ || offset < position_;     // the second reading
        position_ = static_cast<std::size_t>(offset);
        return true;
    }

private:
    Bytes first_, then_;
    std::size_t position_ = 0;
    bool back_ = false;
};

TEST(Conversion, AFileThatChangesMeanwhileIsDamaged)
{
    const Bytes p = {1, 2, 3, 4};
    Bytes before = File(false, 2, 2, 2, 10, {Frame({PaletteChunk(0, Ramp(0)), CopyChunk(p)}), Frame({CopyChunk({1, 2, 3, 1})})});
    Bytes after = File(false, 2, 2, 2, 10, {Frame({PaletteChunk(0, Ramp(0)), CopyChunk(p)}), Frame({CopyChunk({1, 2, 3, 9})})});
    ASSERT_EQ(before.size(), after.size());
    ChangingSource source(before, after);
    MemorySink sink;
    FlcConversion result = ConvertFlcToGif(source, sink);
    EXPECT_STREQ(FlcStatusName(result.status), "Damaged");
    EXPECT_EQ(result.frames, 1);
    EXPECT_EQ(result.damagedAt, 2);
    GifFile gif = ReadGif(sink.bytes.data(), sink.bytes.size());
    ASSERT_EQ(gif.error, "");
    ASSERT_EQ(gif.frames.size(), 1u);
    EXPECT_TRUE(GifPictures(gif)[0] == IndicesToRgb(p.data(), p.size(), Ramp(0).data()));
}

// A disk that fills up at any point: the conversion says so and stops.
TEST(Conversion, AnOutputThatFailsIsReported)
{
    Bytes file = File(false, 64, 64, 2, 10,
                      {Frame({PaletteChunk(0, Ramp(1)), CopyChunk(Noise(4096, 9))}), Frame({CopyChunk(Noise(4096, 8))})});
    for (bool png : {false, true}) {
        MemorySink whole;
        FlcMemorySource wholeSource(file.data(), file.size());
        FlcConversion done = png ? ConvertFlcFrameToPng(wholeSource, 2, whole) : ConvertFlcToGif(wholeSource, whole);
        ASSERT_FALSE(done.outputFailed);
        for (std::size_t limit : {std::size_t{0}, std::size_t{1}, std::size_t{40}, whole.bytes.size() / 2,
                                  whole.bytes.size() - 1, whole.bytes.size()}) {
            FlcMemorySource source(file.data(), file.size());
            MemorySink sink(limit);
            FlcConversion result = png ? ConvertFlcFrameToPng(source, 2, sink) : ConvertFlcToGif(source, sink);
            EXPECT_EQ(result.outputFailed, limit < whole.bytes.size()) << (png ? "PNG" : "GIF") << ", room for " << limit;
        }
    }
}

// The colours a picture uses, in their palette's order, as PLTE holds them.
Bytes UsedColours(const Bytes& indices, const Bytes& palette)
{
    std::set<std::uint8_t> used(indices.begin(), indices.end());
    Bytes colours;
    for (std::uint8_t index : used)
        colours.insert(colours.end(), palette.begin() + index * 3, palette.begin() + index * 3 + 3);
    return colours;
}

// Every pixel comes back in its colour, the palette holds only the colours
// used and a pixel takes the fewest bits they need.
TEST(PngEncoder, PicturesComeBackInTheFewestBits)
{
    Bytes runs(320 * 200, 3);
    for (std::size_t i = 0; i < runs.size(); ++i)
        runs[i] = static_cast<std::uint8_t>((i / 320) / 8 + ((i % 320) / 40));
    Bytes ramp(256 * 64);      // each row the one above shifted: filters pay
    for (std::size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<std::uint8_t>(i % 256 + i / 256 * 3);
    auto pick = [](int width, int height, Bytes from) {
        Bytes noise = Noise(static_cast<std::size_t>(width) * height, 6), out;
        for (std::uint8_t v : noise)
            out.push_back(from[v % from.size()]);
        return out;
    };
    // Each pixel near the mean of its left and upper neighbours, give or
    // take one, as in a soft photograph: every filter has rows it suits.
    auto soft = [](int width, int height) {
        Bytes noise = Noise(static_cast<std::size_t>(width) * height, 8), out(noise.size());
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                int left = x > 0 ? out[y * width + x - 1] : y * 3, up = y > 0 ? out[(y - 1) * width + x] : x * 5;
                out[y * width + x] = static_cast<std::uint8_t>((left + up) / 2 + noise[y * width + x] % 3 - 1);
            }
        return out;
    };
    struct Case {
        const char* name;
        int width, height;
        Bytes indices;
        int depth;
    };
    const Case cases[] = {
        {"one pixel", 1, 1, {77}, 1},
        {"one colour, the last", 33, 9, Bytes(33 * 9, 255), 1},
        {"two colours far apart, 13 pixels a row: part of a byte", 13, 5, pick(13, 5, {17, 250}), 1},
        {"four colours, 7 pixels a row", 7, 6, pick(7, 6, {0, 1, 128, 255}), 2},
        {"sixteen colours, 5 pixels a row", 5, 40, pick(5, 40, {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29, 31}), 4},
        {"seventeen colours", 9, 9, pick(9, 9, {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29, 31, 33}), 8},
        {"a tall thin picture", 3, 300, Noise(900, 4), 8},
        {"bands: long matches far back", 320, 200, runs, 8},
        {"a ramp shifted from row to row", 256, 64, ramp, 8},
        {"noise larger than one IDAT chunk", 800, 600, Noise(480000, 5), 8},
        {"a soft picture", 96, 80, soft(96, 80), 8},
    };
    const Bytes palette = Ramp(11);
    std::set<int> filters;
    for (const Case& c : cases) {
        MemorySink sink;
        ASSERT_TRUE(WritePng(sink, c.indices.data(), c.width, c.height, palette.data())) << c.name;
        PngFile png = ReadPng(sink.bytes.data(), sink.bytes.size());
        ASSERT_EQ(png.error, "") << c.name;
        EXPECT_EQ(png.width, c.width) << c.name;
        EXPECT_EQ(png.height, c.height) << c.name;
        EXPECT_EQ(png.depth, c.depth) << c.name;
        EXPECT_EQ(png.palette, UsedColours(c.indices, palette)) << c.name;
        EXPECT_TRUE(png.rgb == IndicesToRgb(c.indices.data(), c.indices.size(), palette.data())) << c.name;
        filters.insert(png.filters.begin(), png.filters.end());
    }
    EXPECT_EQ(filters, (std::set<int>{0, 1, 2, 3, 4})) << "the pictures above no longer reach every row filter";
    // Compressed, not stored: bands shrink to a small part of their size.
    MemorySink bands;
    ASSERT_TRUE(WritePng(bands, runs.data(), 320, 200, palette.data()));
    EXPECT_LT(bands.bytes.size(), 320u * 200u / 10u);
}

// A small picture gets a window and hash of its own size: its deflate data
// are still those of zlib's full 32 KB window, for one of the strategies, and
// no strategy there makes them shorter. Each picture's last row repeats its
// first, as far back as the picture allows, at the edges of the sizes.
TEST(PngEncoder, ASmallPictureLosesNothingToItsSmallerWindow)
{
    const Bytes palette = Ramp(3);
    const int sizes[][2] = {{15, 15}, {24, 10}, {25, 10}, {31, 24}, {63, 61}, {63, 64}, {64, 64}};
    for (const auto& size : sizes) {
        const int width = size[0], height = size[1];
        const std::string name = std::to_string(width) + " x " + std::to_string(height);
        Bytes picture = Noise(static_cast<std::size_t>(width) * height, 12);
        std::copy_n(picture.begin(), width, picture.end() - width);
        MemorySink sink;
        ASSERT_TRUE(WritePng(sink, picture.data(), width, height, palette.data())) << name;
        PngFile png = ReadPng(sink.bytes.data(), sink.bytes.size());
        ASSERT_EQ(png.error, "") << name;
        ASSERT_EQ(png.depth, 8) << name;
        Bytes rows((static_cast<std::size_t>(width) + 1) * height);
        uLongf rowsSize = rows.size();
        ASSERT_EQ(uncompress(rows.data(), &rowsSize, png.zlib.data(), png.zlib.size()), Z_OK) << name;
        const Bytes ours(png.zlib.begin() + 2, png.zlib.end());     // past zlib's head, which names the window
        bool same = false;
        for (int strategy : {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE}) {
            z_stream stream{};
            ASSERT_EQ(deflateInit2(&stream, 9, Z_DEFLATED, 15, 9, strategy), Z_OK);
            Bytes full(deflateBound(&stream, rows.size()));
            stream.next_in = rows.data();
            stream.avail_in = static_cast<uInt>(rows.size());
            stream.next_out = full.data();
            stream.avail_out = static_cast<uInt>(full.size());
            ASSERT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
            full.resize(stream.total_out);
            deflateEnd(&stream);
            EXPECT_LE(png.zlib.size(), full.size()) << name << ", strategy " << strategy;
            same = same || Bytes(full.begin() + 2, full.end()) == ours;
        }
        EXPECT_TRUE(same) << name << ": deflate data that the full window does not make";
    }
}

// Out of memory, in the encoder's own buffers or in zlib's: said as such,
// and before anything is written.
TEST(PngEncoder, OutOfMemoryIsSaidAndNothingIsWritten)
{
    const Bytes palette = Ramp(2), picture = Noise(64 * 64, 7);
    struct Case {
        const char* name;
        std::size_t failFrom;
    };
    const Case cases[] = {
        {"every request", 0},
        {"the output buffer", 65536},
        {"only zlib's tables", 100000},
    };
    for (const Case& c : cases) {
        MemorySink sink;
        FailNothrowArraysFrom(c.failFrom);
        PngResult result = WritePngFile(sink, picture.data(), 64, 64, palette.data());
        ServeEveryArray();
        EXPECT_EQ(result, PngResult::OutOfMemory) << c.name;
        EXPECT_TRUE(sink.bytes.empty()) << c.name;
    }
    MemorySink sink;
    EXPECT_EQ(WritePngFile(sink, picture.data(), 64, 64, palette.data()), PngResult::Written);
    Bytes file = File(false, 64, 64, 1, 10, {Frame({PaletteChunk(0, palette), CopyChunk(picture)})});
    FlcMemorySource source(file.data(), file.size());
    MemorySink none;
    FailNothrowArraysFrom(100000);
    FlcConversion result = ConvertFlcFrameToPng(source, 1, none);
    ServeEveryArray();
    EXPECT_TRUE(result.outOfMemory);
    EXPECT_FALSE(result.outputFailed);
    EXPECT_EQ(result.frames, 0);
    EXPECT_TRUE(none.bytes.empty());
}

} // namespace
