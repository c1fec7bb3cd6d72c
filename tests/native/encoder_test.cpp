// The GIF and PNG encoder: what comes back from its files (our own GIF
// reader, zlib for the PNG natively) equals the decoder's frames and colours;
// the delay table; damaged input; an output that fails on the way.
#include "anim/flc_convert.h"
#include "anim/flc_sources.h"
#include "anim/png_writer.h"
#include "flc_builder.h"
#include "tests/support/flc_status_name.h"
#include "tests/support/gif_read.h"
#include "tests/support/memory_sink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#ifdef KORVAL_TEST_ZLIB
#include <zlib.h>
#endif

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

#ifdef KORVAL_TEST_ZLIB
struct PngParts {
    std::vector<std::string> chunks;
    Bytes header, palette, compressed;
    bool crcsRight = true;
};

std::uint32_t Big32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}
#endif

TEST(PngEncoder, PicturesComeBackWhole)
{
#ifndef KORVAL_TEST_ZLIB
    GTEST_SKIP() << "zlib reads the PNG back in the native build";
#else
    Bytes runs(320 * 200, 3);
    for (std::size_t i = 0; i < runs.size(); ++i)
        runs[i] = static_cast<std::uint8_t>((i / 320) / 8 + ((i % 320) / 40));
    struct Case {
        const char* name;
        int width, height;
        Bytes indices;
    };
    const Case cases[] = {
        {"one pixel", 1, 1, {77}},
        {"a tall thin picture", 3, 300, Noise(900, 4)},
        {"noise", 300, 200, Noise(60000, 5)},
        {"bands: long matches far back", 320, 200, runs},
        {"one colour, larger than one IDAT chunk", 800, 600, Bytes(480000, 0)},
    };
    const Bytes palette = Ramp(11);
    for (const Case& c : cases) {
        MemorySink sink;
        ASSERT_TRUE(WritePng(sink, c.indices.data(), c.width, c.height, palette.data())) << c.name;
        const Bytes& png = sink.bytes;
        ASSERT_GE(png.size(), 8u);
        EXPECT_EQ(Bytes(png.begin(), png.begin() + 8), (Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) << c.name;
        PngParts parts;
        for (std::size_t at = 8; at + 12 <= png.size();) {
            std::uint32_t length = Big32(&png[at]);
            ASSERT_LE(at + 12 + length, png.size()) << c.name;
            std::string type(png.begin() + at + 4, png.begin() + at + 8);
            uLong crc = crc32(0, &png[at + 4], length + 4);
            if (crc != Big32(&png[at + 8 + length]))
                parts.crcsRight = false;
            Bytes body(png.begin() + at + 8, png.begin() + at + 8 + length);
            if (type == "IHDR")
                parts.header = body;
            if (type == "PLTE")
                parts.palette = body;
            if (type == "IDAT")
                parts.compressed.insert(parts.compressed.end(), body.begin(), body.end());
            if (parts.chunks.empty() || parts.chunks.back() != type)
                parts.chunks.push_back(type);
            at += 12 + length;
        }
        EXPECT_EQ(parts.chunks, (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"})) << c.name;
        EXPECT_TRUE(parts.crcsRight) << c.name;
        ASSERT_EQ(parts.header.size(), 13u) << c.name;
        EXPECT_EQ(Big32(&parts.header[0]), static_cast<std::uint32_t>(c.width)) << c.name;
        EXPECT_EQ(Big32(&parts.header[4]), static_cast<std::uint32_t>(c.height)) << c.name;
        EXPECT_EQ(Bytes(parts.header.begin() + 8, parts.header.end()), (Bytes{8, 3, 0, 0, 0})) << c.name;
        EXPECT_EQ(parts.palette, palette) << c.name;
        // zlib checks the stream's Adler-32 as it inflates.
        Bytes raw(static_cast<std::size_t>(c.width + 1) * c.height + 1);
        uLongf rawSize = raw.size();
        ASSERT_EQ(uncompress(raw.data(), &rawSize, parts.compressed.data(), parts.compressed.size()), Z_OK) << c.name;
        ASSERT_EQ(rawSize, raw.size() - 1) << c.name;
        for (int y = 0; y < c.height; ++y) {
            const std::uint8_t* row = &raw[static_cast<std::size_t>(y) * (c.width + 1)];
            ASSERT_EQ(row[0], 0) << c.name << ", row " << y;
            ASSERT_EQ(Bytes(row + 1, row + 1 + c.width), Bytes(c.indices.begin() + y * c.width, c.indices.begin() + (y + 1) * c.width))
                << c.name << ", row " << y;
        }
    }
    // Compressed, not stored: bands shrink to a small part of their size.
    MemorySink bands;
    ASSERT_TRUE(WritePng(bands, runs.data(), 320, 200, palette.data()));
    EXPECT_LT(bands.bytes.size(), 320u * 200u / 10u);
#endif
}

} // namespace
