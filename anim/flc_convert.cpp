#include "anim/flc_convert.h"

#include "anim/png_writer.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr int kLzwMaxCode = 4096;
constexpr int kLzwHashSize = 8192;     // at most half full
constexpr int kClearCode = 256;
constexpr int kEndCode = 257;

struct Area {
    int left, top, width, height;
};

// What changed from `before` to `after`, both `width` x `height`: the
// smallest rectangle holding every changed pixel; one pixel when none did.
Area ChangedArea(const std::uint8_t* before, const std::uint8_t* after, int width, int height)
{
    Area area{width, height, 0, 0};    // left and top past the picture until a change is met
    int right = -1, bottom = -1;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* a = before + static_cast<std::size_t>(y) * width;
        const std::uint8_t* b = after + static_cast<std::size_t>(y) * width;
        int first = 0;
        while (first < width && a[first] == b[first])
            ++first;
        if (first == width)
            continue;
        int last = width - 1;
        while (a[last] == b[last])
            --last;
        area.top = area.top == height ? y : area.top;
        bottom = y;
        area.left = first < area.left ? first : area.left;
        right = last > right ? last : right;
    }
    if (bottom < 0)
        return Area{0, 0, 1, 1};
    area.width = right - area.left + 1;
    area.height = bottom - area.top + 1;
    return area;
}

// GIF89a output: the file's head, one frame at a time with its own colour
// table, the trailer. LZW with the usual growth from 9 to 12 bits and a
// clear code when the table is full.
struct GifWriter {
    ByteSink* out = nullptr;
    bool failed = false;
    std::int32_t keys[kLzwHashSize];        // prefix code << 8 | byte; -1 free
    std::uint16_t codes[kLzwHashSize];
    int nextCode = 0;
    int codeSize = 0;
    int decoderNext = 0;    // the table size a decoder holds before reading the next code
    std::uint32_t bitBuffer = 0;
    int bitCount = 0;
    std::uint8_t block[256];    // a length byte and up to 255 data bytes
    int blockUsed = 0;

    void Write(const void* data, std::size_t size)
    {
        if (!failed && !out->Write(data, size))
            failed = true;
    }

    void Head(int width, int height)
    {
        const std::uint8_t head[13 + 19] = {
            'G', 'I', 'F', '8', '9', 'a', static_cast<std::uint8_t>(width), static_cast<std::uint8_t>(width >> 8),
            static_cast<std::uint8_t>(height), static_cast<std::uint8_t>(height >> 8), 0, 0, 0,
            // Loops forever, as the preview does.
            0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
        Write(head, sizeof head);
    }

    void FlushBlock()
    {
        if (blockUsed > 0) {
            block[0] = static_cast<std::uint8_t>(blockUsed);
            Write(block, static_cast<std::size_t>(blockUsed) + 1);
            blockUsed = 0;
        }
    }

    void Byte(std::uint8_t value)
    {
        block[++blockUsed] = value;
        if (blockUsed == 255)
            FlushBlock();
    }

    // A code as wide as the decoder expects it: one bit more once the
    // decoder's table has filled the current width.
    void Code(int code)
    {
        if (decoderNext >= (1 << codeSize) && codeSize < 12)
            ++codeSize;
        bitBuffer |= static_cast<std::uint32_t>(code) << bitCount;
        bitCount += codeSize;
        while (bitCount >= 8) {
            Byte(static_cast<std::uint8_t>(bitBuffer));
            bitBuffer >>= 8;
            bitCount -= 8;
        }
        ++decoderNext;
    }

    void Clear()
    {
        Code(kClearCode);
        std::memset(keys, 0xFF, sizeof keys);
        nextCode = kEndCode + 1;
        codeSize = 9;
        decoderNext = kEndCode;
    }

    // The rectangle `area` of a picture `stride` pixels wide.
    void Frame(const std::uint8_t* indices, int stride, const Area& area, const std::uint8_t* palette, int delay)
    {
        const int width = area.width, height = area.height;
        const std::uint8_t control[8] = {0x21, 0xF9, 4, 0x04, static_cast<std::uint8_t>(delay),
                                         static_cast<std::uint8_t>(delay >> 8), 0, 0};
        Write(control, sizeof control);
        const std::uint8_t descriptor[10] = {0x2C, static_cast<std::uint8_t>(area.left), static_cast<std::uint8_t>(area.left >> 8),
                                             static_cast<std::uint8_t>(area.top), static_cast<std::uint8_t>(area.top >> 8),
                                             static_cast<std::uint8_t>(width),
                                             static_cast<std::uint8_t>(width >> 8), static_cast<std::uint8_t>(height),
                                             static_cast<std::uint8_t>(height >> 8), 0x87};
        Write(descriptor, sizeof descriptor);
        Write(palette, 768);
        const std::uint8_t minimumCodeSize = 8;
        Write(&minimumCodeSize, 1);

        codeSize = 9;
        decoderNext = 0;
        Clear();
        const std::uint8_t* row = indices + static_cast<std::size_t>(area.top) * stride + area.left;
        int prefix = row[0];
        for (int y = 0, x = 1; y < height && !failed; ++x) {
            if (x == width) {
                x = 0;
                if (++y == height)
                    break;
                row += stride;
            }
            std::uint8_t value = row[x];
            std::int32_t key = prefix << 8 | value;
            std::uint32_t slot = (static_cast<std::uint32_t>(key) * 2654435761u) >> (32 - 13);
            while (keys[slot] != -1 && keys[slot] != key)
                slot = (slot + 1) & (kLzwHashSize - 1);
            if (keys[slot] == key) {
                prefix = codes[slot];
                continue;
            }
            Code(prefix);
            keys[slot] = key;
            codes[slot] = static_cast<std::uint16_t>(nextCode++);
            if (nextCode == kLzwMaxCode)
                Clear();
            prefix = value;
        }
        Code(prefix);
        Code(kEndCode);
        if (bitCount > 0)
            Byte(static_cast<std::uint8_t>(bitBuffer));
        bitBuffer = 0;
        bitCount = 0;
        FlushBlock();
        const std::uint8_t end = 0;
        Write(&end, 1);
    }
};

} // namespace

bool GifSlowsDown(std::uint64_t delayMicroseconds)
{
    return delayMicroseconds < 10000u * kGifMinimumDelay;
}

int GifFrameDelay(std::uint64_t delayMicroseconds, int index)
{
    if (GifSlowsDown(delayMicroseconds))
        return kGifMinimumDelay;
    // Frame n starts at n * delay rounded to a hundredth; each frame's delay is
    // what lies between two such starts, so rounding never adds up.
    std::uint64_t i = index < 0 ? 0 : static_cast<std::uint64_t>(index);
    std::uint64_t start = (i * delayMicroseconds + 5000) / 10000;
    std::uint64_t end = ((i + 1) * delayMicroseconds + 5000) / 10000;
    std::uint64_t delay = end - start;
    return delay > 65535 ? 65535 : static_cast<int>(delay);
}

FlcConversion ConvertFlcToGif(FlcSource& source, ByteSink& out)
{
    FlcConversion result;
    FlcReader reader;
    FlcStatus status = reader.Open(source);
    if (status != FlcStatus::Frame) {
        result.status = status;
        result.damagedAt = status == FlcStatus::Damaged ? 1 : 0;
        return result;
    }
    std::unique_ptr<GifWriter> gif(new (std::nothrow) GifWriter);
    if (!gif) {
        result.outOfMemory = true;
        return result;
    }
    gif->out = &out;
    const FlcInfo& info = reader.Info();
    // A frame whose colours stay is written as the rectangle that changed,
    // kept over the frame before; a new palette recolours the whole picture,
    // so such a frame is written whole.
    std::size_t pixels = static_cast<std::size_t>(info.width) * static_cast<std::size_t>(info.height);
    std::unique_ptr<std::uint8_t[]> before(new (std::nothrow) std::uint8_t[pixels]);
    std::uint8_t palette[768];
    const Area whole{0, 0, info.width, info.height};
    while ((status = reader.NextFrame()) == FlcStatus::Frame) {
        if (result.frames == 0)
            gif->Head(info.width, info.height);
        bool sameColours = result.frames > 0 && std::memcmp(palette, reader.Palette(), sizeof palette) == 0;
        Area area = before && sameColours ? ChangedArea(before.get(), reader.Indices(), info.width, info.height) : whole;
        gif->Frame(reader.Indices(), info.width, area, reader.Palette(),
                   GifFrameDelay(info.delayMicroseconds, result.frames));
        if (gif->failed) {
            result.outputFailed = true;
            return result;
        }
        if (before)
            std::memcpy(before.get(), reader.Indices(), pixels);
        std::memcpy(palette, reader.Palette(), sizeof palette);
        ++result.frames;
    }
    if (status != FlcStatus::End) {
        result.status = status;
        result.damagedAt = reader.FrameNumber() + 1;
    }
    if (result.frames > 0) {
        const std::uint8_t trailer = 0x3B;
        gif->Write(&trailer, 1);
        result.outputFailed = gif->failed;
    }
    result.slowed = result.frames > 1 && GifSlowsDown(info.delayMicroseconds);
    return result;
}

FlcConversion ConvertFlcFrameToPng(FlcSource& source, int frame, ByteSink& out)
{
    FlcConversion result;
    FlcReader reader;
    FlcStatus status = reader.Open(source);
    while (status == FlcStatus::Frame && reader.FrameNumber() < frame)
        status = reader.NextFrame();
    if (status != FlcStatus::Frame || frame < 1) {
        result.status = status == FlcStatus::Frame ? FlcStatus::End : status;
        if (status == FlcStatus::Damaged)
            result.damagedAt = reader.FrameNumber() + 1;
        return result;
    }
    const FlcInfo& info = reader.Info();
    switch (WritePngFile(out, reader.Indices(), info.width, info.height, reader.Palette())) {
    case PngResult::Written:
        result.frames = 1;
        break;
    case PngResult::OutputFailed:
        result.outputFailed = true;
        break;
    case PngResult::OutOfMemory:
        result.outOfMemory = true;
        break;
    }
    return result;
}
