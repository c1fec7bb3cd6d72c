// Any bytes as an FLC or FLI file, kept as a GIF and as a PNG: the encoder
// stays within its buffers and writes nothing when there is no frame; the
// GIF reads back (the tests' own reader) to the decoder's frames, loops for
// ever with no delay under 2, and the PNG (the tests' own reader: zlib, the
// five filters, 1 to 8 bits a pixel) to the frame it was asked for, with a
// palette of just the colours that frame uses in the fewest bits a pixel.
// A sink that fails part-way is said to have failed.
#include "anim/flc_convert.h"
#include "anim/flc_sources.h"
#include "fuzz_input.h"
#include "tests/support/gif_read.h"
#include "tests/support/memory_sink.h"
#include "tests/support/png_read.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Small pictures and few frames, so that a run tries thousands of files a
// second: the header of a larger file is cut down to this before the file
// is read (its chunks then run over the edges, which the decoder must bear).
// One input in 64 may be as large as a frame needs for the LZW code table
// to fill up (4,096 codes) and then be kept or cleared. It is picked by a
// checksum of the whole input, so that an input's mutations are large just
// as rarely, however often the fuzzer comes back to it.
struct Bounds {
    unsigned pixels, width, frames;
};
constexpr Bounds kSmall{256, 32, 4};
constexpr Bounds kLarge{8192, 128, 2};

Bounds BoundsFor(const std::uint8_t* data, std::size_t size)
{
    return crc32(0, data, static_cast<uInt>(size)) % 64 == 0 ? kLarge : kSmall;
}

void Cut(Bytes& file, const Bounds& most)
{
    if (file.size() < 12)
        return;
    auto word = [&](std::size_t at) { return static_cast<unsigned>(file[at] | file[at + 1] << 8); };
    auto put = [&](std::size_t at, unsigned value) {
        file[at] = static_cast<std::uint8_t>(value);
        file[at + 1] = static_cast<std::uint8_t>(value >> 8);
    };
    if (word(6) > most.frames)
        put(6, most.frames);
    unsigned width = word(8), height = word(10);
    if (width * height > most.pixels) {
        width = width > most.width ? most.width : width;
        height = width * height > most.pixels ? most.pixels / width : height;
        put(8, width);
        put(10, height);
    }
}

// The fewest bits a pixel that number `colours` palette entries.
int DepthFor(int colours)
{
    return colours <= 2 ? 1 : colours <= 4 ? 2 : colours <= 16 ? 4 : 8;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Bytes file(data, data + size);
    Cut(file, BoundsFor(data, size));
    // The decoder's frames, as a viewer shows them.
    std::vector<Bytes> frames;
    std::vector<int> indicesUsed;     // how many of the 256 each frame uses
    FlcReader reader;
    FlcMemorySource plain(file.data(), file.size());
    int width = 0, height = 0;
    if (reader.Open(plain) == FlcStatus::Frame) {
        width = reader.Info().width;
        height = reader.Info().height;
        const std::size_t pixels = static_cast<std::size_t>(width) * height;
        while (reader.NextFrame() == FlcStatus::Frame) {
            frames.push_back(IndicesToRgb(reader.Indices(), pixels, reader.Palette()));
            bool used[256] = {};
            int count = 0;
            for (std::size_t i = 0; i < pixels; ++i)
                if (!used[reader.Indices()[i]]) {
                    used[reader.Indices()[i]] = true;
                    ++count;
                }
            indicesUsed.push_back(count);
        }
    }

    FlcMemorySource source(file.data(), file.size());
    MemorySink gif;
    FlcConversion result = ConvertFlcToGif(source, gif);
    FUZZ_CHECK(!result.outputFailed && !result.outOfMemory);
    FUZZ_CHECK(result.status != FlcStatus::Frame);
    FUZZ_CHECK((result.damagedAt != 0) == (result.status == FlcStatus::Damaged));
    FUZZ_CHECK(result.frames == static_cast<int>(frames.size()));
    FUZZ_CHECK((result.frames == 0) == gif.bytes.empty());
    if (result.frames > 0) {
        FUZZ_CHECK(result.damagedAt == 0 || result.damagedAt == result.frames + 1);
        GifFile read = ReadGif(gif.bytes.data(), gif.bytes.size());
        if (!read.error.empty())
            std::fprintf(stderr, "GIF: %s\n", read.error.c_str());
        FUZZ_CHECK(read.error.empty() && read.trailer && read.loops == 0);
        FUZZ_CHECK(read.width == width && read.height == height);
        FUZZ_CHECK(read.frames.size() == frames.size());
        std::vector<Bytes> shown = GifPictures(read);
        for (std::size_t i = 0; i < frames.size(); ++i) {
            FUZZ_CHECK(read.frames[i].delay >= kGifMinimumDelay);
            FUZZ_CHECK(shown[i] == frames[i]);
        }
        // The same output failing part-way, at a point the input picks: on
        // one input in four, as it costs a whole conversion more.
        if (size % 4 == 0) {
            FlcMemorySource again(file.data(), file.size());
            MemorySink part(gif.bytes.size() * (size / 4 % 16) / 16);
            FUZZ_CHECK(ConvertFlcToGif(again, part).outputFailed);
        }
    }

    FlcMemorySource fourth(file.data(), file.size());
    MemorySink png;
    int frame = 1 + static_cast<int>(size % 3);
    FlcConversion still = ConvertFlcFrameToPng(fourth, frame, png);
    FUZZ_CHECK(!still.outputFailed && !still.outOfMemory);
    FUZZ_CHECK((still.frames == 1) == (frame <= static_cast<int>(frames.size())));
    FUZZ_CHECK((still.frames == 1) == !png.bytes.empty());
    if (still.frames == 1) {
        PngFile read = ReadPng(png.bytes.data(), png.bytes.size());
        if (!read.error.empty())
            std::fprintf(stderr, "PNG: %s\n", read.error.c_str());
        FUZZ_CHECK(read.error.empty() && read.width == width && read.height == height);
        FUZZ_CHECK(read.rgb == frames[frame - 1]);
        // Only the colours in use: one palette entry for each index the frame
        // uses (two indices may share a colour), each of them shown.
        const int colours = indicesUsed[frame - 1];
        FUZZ_CHECK(read.palette.size() == static_cast<std::size_t>(colours) * 3);
        FUZZ_CHECK(read.depth == DepthFor(colours));
        auto colour = [](const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0] << 16 | p[1] << 8 | p[2]); };
        std::vector<std::uint32_t> shown;
        for (std::size_t i = 0; i < read.rgb.size(); i += 3)
            shown.push_back(colour(&read.rgb[i]));
        std::sort(shown.begin(), shown.end());
        for (std::size_t i = 0; i < read.palette.size(); i += 3)
            FUZZ_CHECK(std::binary_search(shown.begin(), shown.end(), colour(&read.palette[i])));
    }
    return 0;
}
