// Any bytes as an FLC or FLI file, kept as a GIF and as a PNG: the encoder
// stays within its buffers and writes nothing when there is no frame; the
// GIF reads back (the tests' own reader) to the decoder's frames, loops for
// ever with no delay under 2, and the PNG (zlib) to the frame it was asked
// for. A sink that fails half-way is said to have failed.
#include "anim/flc_convert.h"
#include "anim/flc_sources.h"
#include "fuzz_input.h"
#include "tests/support/gif_read.h"
#include "tests/support/memory_sink.h"

#include <zlib.h>

#include <cstdio>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Small pictures and few frames, so that a run tries thousands of files a
// second: the header of a larger file is cut down to this before the file
// is read (its chunks then run over the edges, which the decoder must bear).
constexpr unsigned kMostPixels = 1024;
constexpr unsigned kMostFrames = 4;

void Cut(Bytes& file)
{
    if (file.size() < 12)
        return;
    auto word = [&](std::size_t at) { return static_cast<unsigned>(file[at] | file[at + 1] << 8); };
    auto put = [&](std::size_t at, unsigned value) {
        file[at] = static_cast<std::uint8_t>(value);
        file[at + 1] = static_cast<std::uint8_t>(value >> 8);
    };
    if (word(6) > kMostFrames)
        put(6, kMostFrames);
    unsigned width = word(8), height = word(10);
    if (width * height > kMostPixels) {
        width = width > 32 ? 32 : width;
        height = width * height > kMostPixels ? kMostPixels / width : height;
        put(8, width);
        put(10, height);
    }
}

std::uint32_t Big32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 | p[2] << 8 | p[3];
}

// The PNG's picture as 24-bit RGB, read as any PNG reader would: chunks and
// their CRCs, the palette, zlib, the row filters. Empty when it is not a
// well-formed 8-bit palette PNG of `width` x `height`.
Bytes ReadPng(const Bytes& png, int width, int height)
{
    static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (png.size() < 8 || std::memcmp(png.data(), signature, 8) != 0)
        return {};
    Bytes header, palette, compressed;
    bool ended = false;
    for (std::size_t at = 8; !ended;) {
        if (png.size() - at < 12)
            return {};
        std::uint32_t length = Big32(&png[at]);
        if (png.size() - at - 12 < length)
            return {};
        if (crc32(0, &png[at + 4], length + 4) != Big32(&png[at + 8 + length]))
            return {};
        std::string type(png.begin() + at + 4, png.begin() + at + 8);
        Bytes body(png.begin() + at + 8, png.begin() + at + 8 + length);
        if (type == "IHDR")
            header = body;
        else if (type == "PLTE")
            palette = body;
        else if (type == "IDAT")
            compressed.insert(compressed.end(), body.begin(), body.end());
        ended = type == "IEND";
        at += 12 + length;
        if (ended && at != png.size())
            return {};
    }
    if (header.size() != 13 || Big32(&header[0]) != static_cast<std::uint32_t>(width)
        || Big32(&header[4]) != static_cast<std::uint32_t>(height) || header[8] != 8 || header[9] != 3 || header[12] != 0
        || palette.empty() || palette.size() % 3 != 0)
        return {};
    const std::size_t stride = static_cast<std::size_t>(width) + 1;
    Bytes raw(stride * height + 1);
    uLongf rawSize = raw.size();
    if (uncompress(raw.data(), &rawSize, compressed.data(), compressed.size()) != Z_OK || rawSize != raw.size() - 1)
        return {};
    Bytes rgb;
    Bytes above(width, 0), row(width);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* line = &raw[y * stride];
        for (int x = 0; x < width; ++x) {
            int a = x > 0 ? row[x - 1] : 0, b = above[x], c = x > 0 ? above[x - 1] : 0;
            int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
            int predictor[5] = {0, a, b, (a + b) / 2, pa <= pb && pa <= pc ? a : pb <= pc ? b : c};
            if (line[0] > 4)
                return {};
            row[x] = static_cast<std::uint8_t>(line[1 + x] + predictor[line[0]]);
            if (row[x] * 3u >= palette.size())
                return {};
            rgb.insert(rgb.end(), &palette[row[x] * 3], &palette[row[x] * 3] + 3);
        }
        above = row;
    }
    return rgb;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Bytes file(data, data + size);
    Cut(file);
    // The decoder's frames, as a viewer shows them.
    std::vector<Bytes> frames;
    FlcReader reader;
    FlcMemorySource plain(file.data(), file.size());
    int width = 0, height = 0;
    if (reader.Open(plain) == FlcStatus::Frame) {
        width = reader.Info().width;
        height = reader.Info().height;
        while (reader.NextFrame() == FlcStatus::Frame)
            frames.push_back(IndicesToRgb(reader.Indices(), static_cast<std::size_t>(width) * height, reader.Palette()));
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
        // The same output failing half-way.
        FlcMemorySource again(file.data(), file.size());
        MemorySink half(gif.bytes.size() / 2);
        FUZZ_CHECK(ConvertFlcToGif(again, half).outputFailed);
    }

    FlcMemorySource fourth(file.data(), file.size());
    MemorySink png;
    int frame = 1 + static_cast<int>(size % 3);
    FlcConversion still = ConvertFlcFrameToPng(fourth, frame, png);
    FUZZ_CHECK(!still.outputFailed && !still.outOfMemory);
    FUZZ_CHECK((still.frames == 1) == (frame <= static_cast<int>(frames.size())));
    FUZZ_CHECK((still.frames == 1) == !png.bytes.empty());
    if (still.frames == 1)
        FUZZ_CHECK(ReadPng(png.bytes, width, height) == frames[frame - 1]);
    return 0;
}
