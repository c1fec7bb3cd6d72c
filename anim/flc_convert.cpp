#include "anim/flc_convert.h"

#include "anim/png_writer.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr int kLzwMaxCode = 4096;
constexpr int kLzwHashSize = 8192;     // at most half full
// Once the code table is full it is kept as long as it compresses at least
// as well as it did at the last look; the looks are this many pixels apart.
constexpr std::size_t kLzwLookGap = 4096;
// Strings of the code table that a frame's pixels may continue at once.
constexpr int kLzwPaths = 8;

struct Area {
    int left, top, width, height;
};

// 256 colours as 0xRRGGBB.
void Colours(const std::uint8_t* palette, std::uint32_t* rgb)
{
    for (int i = 0; i < 256; ++i)
        rgb[i] = static_cast<std::uint32_t>(palette[i * 3]) << 16 | palette[i * 3 + 1] << 8 | palette[i * 3 + 2];
}

// The bits an index up to `highest` needs; at least 1, as a GIF's tables hold
// 2, 4, ... 256 colours.
int BitsFor(int highest)
{
    int bits = 1;
    while ((1 << bits) <= highest)
        ++bits;
    return bits;
}

// Every colour an animation shows, when they fit one table: then each frame
// is written in that table's indices and no frame needs a table of its own.
struct ColourTable {
    std::uint32_t colours[256];
    // How a colour is used: in how many frames after the first it is drawn,
    // by how many pixels there, by how many in frame 1.
    std::uint32_t frames[256];
    std::uint64_t later[256];
    std::uint32_t first[256];
    int seenIn[256];
    int size = 0;
    bool overflow = false;          // more than 256 colours
    std::int16_t slots[512];        // colour hash: an index into colours, -1 free

    void Reset()
    {
        size = 0;
        overflow = false;
        std::memset(slots, 0xFF, sizeof slots);
    }

    static std::uint32_t Slot(std::uint32_t colour) { return (colour * 2654435761u) >> 23; }

    int Find(std::uint32_t colour) const
    {
        for (std::uint32_t slot = Slot(colour);; slot = (slot + 1) & 511) {
            if (slots[slot] < 0)
                return -1;
            if (colours[slots[slot]] == colour)
                return slots[slot];
        }
    }

    // A pixel of `colour` drawn in frame `frame` (from 0).
    void Count(std::uint32_t colour, int frame)
    {
        std::uint32_t slot = Slot(colour);
        while (slots[slot] >= 0 && colours[slots[slot]] != colour)
            slot = (slot + 1) & 511;
        int i = slots[slot];
        if (i < 0) {
            if (size == 256) {
                overflow = true;
                return;
            }
            i = size++;
            slots[slot] = static_cast<std::int16_t>(i);
            colours[i] = colour;
            frames[i] = first[i] = 0;
            later[i] = 0;
            seenIn[i] = 0;
        }
        if (frame == 0) {
            ++first[i];
            return;
        }
        ++later[i];
        if (seenIn[i] != frame) {
            seenIn[i] = frame;
            ++frames[i];
        }
    }

    bool Before(int a, int b) const
    {
        if (frames[a] != frames[b])
            return frames[a] > frames[b];
        if (later[a] != later[b])
            return later[a] > later[b];
        return first[a] > first[b];
    }

    // The colours that later frames draw most often first: a frame's code
    // size follows its highest index. Ties keep the order in which colours
    // came.
    void Sort()
    {
        int order[256];
        for (int i = 0; i < size; ++i) {
            int j = i;
            for (; j > 0 && Before(i, order[j - 1]); --j)
                order[j] = order[j - 1];
            order[j] = i;
        }
        std::uint32_t sorted[256];
        for (int i = 0; i < size; ++i)
            sorted[i] = colours[order[i]];
        std::memcpy(colours, sorted, sizeof(std::uint32_t) * static_cast<std::size_t>(size));
        std::memset(slots, 0xFF, sizeof slots);
        for (int i = 0; i < size; ++i) {
            std::uint32_t slot = Slot(colours[i]);
            while (slots[slot] >= 0)
                slot = (slot + 1) & 511;
            slots[slot] = static_cast<std::int16_t>(i);
        }
    }
};

// One frame as the writer sees it: its picture and colours, and the picture
// the viewer shows before it (null for the first frame).
struct FrameView {
    const std::uint8_t* pixels;
    const std::uint8_t* before;
    const std::uint32_t* rgb;
    const std::uint32_t* rgbBefore;
    int width, height;

    // The pixel shows the colour it showed before, whatever its index.
    bool Kept(std::size_t at) const { return before && rgbBefore[before[at]] == rgb[pixels[at]]; }
};

// The smallest rectangle holding every pixel whose colour changed; one
// pixel when none did.
Area ChangedArea(const FrameView& view)
{
    int left = view.width, top = -1, right = -1, bottom = -1;
    for (int y = 0; y < view.height; ++y) {
        std::size_t row = static_cast<std::size_t>(y) * view.width;
        int first = 0;
        while (first < view.width && view.Kept(row + first))
            ++first;
        if (first == view.width)
            continue;
        int last = view.width - 1;
        while (view.Kept(row + last))
            --last;
        top = top < 0 ? y : top;
        bottom = y;
        left = first < left ? first : left;
        right = last > right ? last : right;
    }
    if (bottom < 0)
        return Area{0, 0, 1, 1};
    return Area{left, top, right - left + 1, bottom - top + 1};
}

// How a frame is written: its rectangle; whether pixels that keep their
// colour may be written as a transparent index; the index bits; its own
// colour table or the global one.
struct FramePlan {
    Area area;
    int transparent = -1;
    int bits = 8;               // every index written is below 1 << bits
    bool local = false;         // a table of its own, 1 << bits colours
    bool usable[256];           // a kept pixel may be written as its own index
    bool keepFull = false;      // a full code table is kept while it pays, else cleared at once
    bool ownFirst = false;      // a kept pixel is written as its own index unless the transparent one matches longer
};

// False when the frame draws every index of its table, leaving none free to
// be transparent.
bool MakePlan(const FrameView& view, const Area& area, bool transparent, const std::uint32_t* global, int globalSize,
              FramePlan& plan)
{
    bool drawn[256] = {};
    for (int y = 0; y < area.height; ++y) {
        std::size_t at = static_cast<std::size_t>(area.top + y) * view.width + area.left;
        for (int x = 0; x < area.width; ++x, ++at)
            if (!transparent || !view.Kept(at))
                drawn[view.pixels[at]] = true;
    }
    plan.area = area;
    plan.transparent = -1;
    plan.local = false;
    int highest = 0;
    for (int i = 0; i < 256; ++i) {
        if (!drawn[i])
            continue;
        highest = i;
        plan.local = plan.local || i >= globalSize || global[i] != view.rgb[i];
    }
    if (transparent) {
        int free = 0;
        while (free < 256 && drawn[free])
            ++free;
        if (free == 256 || (!plan.local && free >= globalSize))
            return false;
        plan.transparent = free;
        highest = free > highest ? free : highest;
    }
    plan.bits = BitsFor(highest);
    for (int i = 0; i < 256; ++i)
        plan.usable[i] = i < (1 << plan.bits) && (plan.local || (i < globalSize && global[i] == view.rgb[i]));
    return true;
}

// GIF89a output: the head with the global colour table, frames drawn over
// the ones before (disposal "keep"), the trailer. LZW from the smallest code
// size the frame's indices allow; a full code table is kept while it
// compresses well and cleared when it stops doing so.
struct GifWriter {
    ByteSink* out = nullptr;
    bool failed = false;
    std::int32_t keys[kLzwHashSize];        // prefix code << 8 | byte; -1 free
    std::uint16_t codes[kLzwHashSize];
    std::uint16_t taken[kLzwMaxCode];       // the slots filled since the last clear
    int takenCount = -1;                    // -1: keys not yet set
    int nextCode = 0;
    int codeSize = 0;
    int minimumSize = 0;
    int decoderNext = 0;    // the table size a decoder holds before reading the next code
    std::uint32_t bitBuffer = 0;
    int bitCount = 0;
    bool writing = false;   // false: the bytes are only counted
    std::size_t dataBytes = 0;
    std::size_t bitsSinceClear = 0;
    bool filled = false;    // the code table filled up in the last frame
    std::uint8_t block[256];    // a length byte and up to 255 data bytes
    int blockUsed = 0;

    void Write(const void* data, std::size_t size)
    {
        if (!failed && !out->Write(data, size))
            failed = true;
    }

    void Head(int width, int height, const std::uint32_t* table, int bits)
    {
        const std::uint8_t screen[13] = {'G', 'I', 'F', '8', '9', 'a', static_cast<std::uint8_t>(width),
                                         static_cast<std::uint8_t>(width >> 8), static_cast<std::uint8_t>(height),
                                         static_cast<std::uint8_t>(height >> 8), static_cast<std::uint8_t>(0xF0 | (bits - 1)),
                                         0, 0};
        Write(screen, sizeof screen);
        ColourTable(table, bits);
        // Loops forever, as the preview does.
        const std::uint8_t loop[19] = {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
        Write(loop, sizeof loop);
    }

    void ColourTable(const std::uint32_t* table, int bits)
    {
        std::uint8_t rgb[768];
        for (int i = 0; i < (1 << bits); ++i) {
            rgb[i * 3] = static_cast<std::uint8_t>(table[i] >> 16);
            rgb[i * 3 + 1] = static_cast<std::uint8_t>(table[i] >> 8);
            rgb[i * 3 + 2] = static_cast<std::uint8_t>(table[i]);
        }
        Write(rgb, 3u << bits);
    }

    void FlushBlock()
    {
        if (blockUsed > 0) {
            block[0] = static_cast<std::uint8_t>(blockUsed);
            if (writing)
                Write(block, static_cast<std::size_t>(blockUsed) + 1);
            blockUsed = 0;
        }
    }

    void Byte(std::uint8_t value)
    {
        ++dataBytes;
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
        bitsSinceClear += static_cast<std::size_t>(codeSize);
        while (bitCount >= 8) {
            Byte(static_cast<std::uint8_t>(bitBuffer));
            bitBuffer >>= 8;
            bitCount -= 8;
        }
        ++decoderNext;
    }

    // The key's slot in the code table, or the free slot where it goes.
    std::uint32_t Find(std::int32_t key) const
    {
        std::uint32_t slot = (static_cast<std::uint32_t>(key) * 2654435761u) >> (32 - 13);
        while (keys[slot] != -1 && keys[slot] != key)
            slot = (slot + 1) & (kLzwHashSize - 1);
        return slot;
    }

    void Clear()
    {
        Code(1 << minimumSize);
        // Small frames clear often: only the slots in use are freed.
        if (takenCount < 0)
            std::memset(keys, 0xFF, sizeof keys);
        for (int i = 0; i < takenCount; ++i)
            keys[taken[i]] = -1;
        takenCount = 0;
        nextCode = (1 << minimumSize) + 2;
        codeSize = minimumSize + 1;
        decoderNext = nextCode - 1;
        bitsSinceClear = 0;
    }

    // The frame's image data: the code size, the LZW codes in sub-blocks,
    // the empty block. A pixel that keeps its colour is written as whichever
    // of the transparent index and its own index continues the string
    // matched so far. Counting only, it stops once past `limit` bytes.
    std::size_t Lzw(const FrameView& view, const FramePlan& plan, bool write, std::size_t limit)
    {
        writing = write;
        dataBytes = 0;
        bitBuffer = 0;
        bitCount = 0;
        blockUsed = 0;
        minimumSize = plan.bits < 2 ? 2 : plan.bits;
        if (writing) {
            const std::uint8_t size = static_cast<std::uint8_t>(minimumSize);
            Write(&size, 1);
        }
        codeSize = minimumSize + 1;
        decoderNext = 0;
        filled = false;
        Clear();
        const int transparent = plan.transparent;
        const Area& area = plan.area;
        std::size_t pixelsSinceClear = 0, nextLook = 0;
        std::size_t bestPixels = 0, bestBits = 0;   // the ratio at the last look
        // The strings matched so far, all as long: a pixel that keeps its
        // colour may continue each of them two ways.
        int paths[kLzwPaths], count = 0;
        for (int y = 0; y < area.height && !failed; ++y) {
            std::size_t at = static_cast<std::size_t>(area.top + y) * view.width + area.left;
            for (int x = 0; x < area.width; ++x, ++at) {
                int value = view.pixels[at];
                int other = -1;
                if (transparent >= 0 && view.Kept(at)) {
                    other = plan.usable[value] && value != transparent ? value : -1;
                    if (!plan.ownFirst || other < 0) {
                        other = other < 0 ? -1 : value;
                        value = transparent;
                    } else {
                        other = transparent;
                    }
                }
                ++pixelsSinceClear;
                if (count == 0) {
                    paths[count++] = value;
                    continue;
                }
                int next[kLzwPaths], longer = 0;
                for (int i = 0; i < count && longer < kLzwPaths; ++i) {
                    std::uint32_t found = Find(paths[i] << 8 | value);
                    if (keys[found] != -1)
                        next[longer++] = codes[found];
                    if (other >= 0 && longer < kLzwPaths) {
                        found = Find(paths[i] << 8 | other);
                        if (keys[found] != -1)
                            next[longer++] = codes[found];
                    }
                }
                if (longer > 0) {
                    std::memcpy(paths, next, sizeof(int) * static_cast<std::size_t>(longer));
                    count = longer;
                    continue;
                }
                const int prefix = paths[0];
                paths[0] = value;
                count = 1;
                std::uint32_t slot = Find(prefix << 8 | value);
                std::int32_t key = prefix << 8 | value;
                Code(prefix);
                if (nextCode < kLzwMaxCode) {
                    keys[slot] = key;
                    codes[slot] = static_cast<std::uint16_t>(nextCode++);
                    taken[takenCount++] = static_cast<std::uint16_t>(slot);
                    nextLook = pixelsSinceClear + kLzwLookGap;
                    bestPixels = 0;
                    filled = filled || nextCode == kLzwMaxCode;
                    if (nextCode == kLzwMaxCode && !plan.keepFull) {
                        Clear();
                        pixelsSinceClear = 1;
                    }
                } else if (pixelsSinceClear >= nextLook) {
                    // Pixels per bit since the clear, against the last look's.
                    nextLook = pixelsSinceClear + kLzwLookGap;
                    if (bestPixels != 0 && pixelsSinceClear * bestBits < bestPixels * bitsSinceClear) {
                        Clear();
                        pixelsSinceClear = 1;
                    } else {
                        bestPixels = pixelsSinceClear;
                        bestBits = bitsSinceClear;
                    }
                }
                if (dataBytes > limit)
                    return limit + 1;
            }
        }
        Code(paths[0]);
        Code((1 << minimumSize) + 1);
        if (bitCount > 0)
            Byte(static_cast<std::uint8_t>(bitBuffer));
        FlushBlock();
        if (writing) {
            const std::uint8_t end = 0;
            Write(&end, 1);
        }
        return 1 + dataBytes + (dataBytes + 254) / 255 + 1;
    }

    static std::size_t HeadBytes(const FramePlan& plan) { return 8 + 10 + (plan.local ? 3u << plan.bits : 0u); }

    // The frame's bytes with `plan`, counted; past `limit`: limit + 1.
    std::size_t Measure(const FrameView& view, const FramePlan& plan, std::size_t limit)
    {
        std::size_t head = HeadBytes(plan);
        return head > limit ? limit + 1 : head + Lzw(view, plan, false, limit - head);
    }

    void Frame(const FrameView& view, const FramePlan& plan, int delay)
    {
        const Area& area = plan.area;
        const bool transparent = plan.transparent >= 0;
        const std::uint8_t control[8] = {0x21, 0xF9, 4, static_cast<std::uint8_t>(0x04 | (transparent ? 1 : 0)),
                                         static_cast<std::uint8_t>(delay), static_cast<std::uint8_t>(delay >> 8),
                                         static_cast<std::uint8_t>(transparent ? plan.transparent : 0), 0};
        Write(control, sizeof control);
        const std::uint8_t descriptor[10] = {
            0x2C, static_cast<std::uint8_t>(area.left), static_cast<std::uint8_t>(area.left >> 8),
            static_cast<std::uint8_t>(area.top), static_cast<std::uint8_t>(area.top >> 8),
            static_cast<std::uint8_t>(area.width), static_cast<std::uint8_t>(area.width >> 8),
            static_cast<std::uint8_t>(area.height), static_cast<std::uint8_t>(area.height >> 8),
            static_cast<std::uint8_t>(plan.local ? 0x80 | (plan.bits - 1) : 0)};
        Write(descriptor, sizeof descriptor);
        if (plan.local)
            ColourTable(view.rgb, plan.bits);
        Lzw(view, plan, true, SIZE_MAX);
    }
};

// The colours an animation shows: every pixel of frame 1 and each pixel of
// a later frame whose colour changed, counted by colour. Reads the file
// through once and comes back to its start.
FlcStatus GatherColours(FlcReader& reader, ColourTable& table, std::uint8_t* before)
{
    const FlcInfo& info = reader.Info();
    const std::size_t pixels = static_cast<std::size_t>(info.width) * static_cast<std::size_t>(info.height);
    std::uint32_t rgb[256], rgbBefore[256];
    table.Reset();
    for (int frame = 0; !table.overflow && reader.NextFrame() == FlcStatus::Frame; ++frame) {
        Colours(reader.Palette(), rgb);
        const std::uint8_t* indices = reader.Indices();
        for (std::size_t i = 0; i < pixels; ++i)
            if (frame == 0 || rgbBefore[before[i]] != rgb[indices[i]])
                table.Count(rgb[indices[i]], frame);
        std::memcpy(before, indices, pixels);
        std::memcpy(rgbBefore, rgb, sizeof rgb);
    }
    table.Sort();
    return reader.Rewind();
}

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
    const FlcInfo& info = reader.Info();
    const std::size_t pixels = static_cast<std::size_t>(info.width) * static_cast<std::size_t>(info.height);
    std::unique_ptr<GifWriter> gif(new (std::nothrow) GifWriter);
    std::unique_ptr<ColourTable> table(new (std::nothrow) ColourTable);
    std::unique_ptr<std::uint8_t[]> shown(new (std::nothrow) std::uint8_t[pixels]);    // the frame before, as written
    std::unique_ptr<std::uint8_t[]> mapped(new (std::nothrow) std::uint8_t[pixels]);   // this frame in the table's indices
    if (!gif || !table || !shown || !mapped) {
        result.outOfMemory = true;
        return result;
    }
    gif->out = &out;
    if (GatherColours(reader, *table, shown.get()) != FlcStatus::Frame) {
        result.status = FlcStatus::Damaged;     // a source that cannot go back to its start
        result.damagedAt = 1;
        return result;
    }
    // Up to 256 colours in all: one global table of them, each frame in its
    // indices. More: frame 1's palette is the global table, and a frame
    // whose colours differ where it draws has a table of its own.
    const bool oneTable = !table->overflow;
    std::uint32_t global[256] = {}, rgb[256], rgbBefore[256];
    int globalBits = 8;
    if (oneTable) {
        std::memcpy(global, table->colours, sizeof(std::uint32_t) * static_cast<std::size_t>(table->size));
        globalBits = BitsFor(table->size - 1);
    }
    const Area whole{0, 0, info.width, info.height};
    while ((status = reader.NextFrame()) == FlcStatus::Frame) {
        const bool first = result.frames == 0;
        Colours(reader.Palette(), rgb);
        FrameView view{reader.Indices(), first ? nullptr : shown.get(), rgb, rgbBefore, info.width, info.height};
        if (oneTable) {
            std::int16_t to[256];
            for (int i = 0; i < 256; ++i)
                to[i] = static_cast<std::int16_t>(table->Find(rgb[i]));
            // A colour the first reading did not meet: the file changed
            // under us, and its frames from here are not the ones counted.
            const std::uint8_t* indices = reader.Indices();
            std::size_t i = 0;
            for (; i < pixels && to[indices[i]] >= 0; ++i)
                mapped[i] = static_cast<std::uint8_t>(to[indices[i]]);
            if (i < pixels) {
                status = FlcStatus::Damaged;
                break;
            }
            view.pixels = mapped.get();
            view.rgb = view.rgbBefore = global;
        } else if (first) {
            std::memcpy(global, rgb, sizeof rgb);
        }
        if (first)
            gif->Head(info.width, info.height, global, globalBits);
        const int globalSize = 1 << globalBits;
        // Each way of writing the frame counted, the shortest written: with
        // and without transparency; a full code table cleared at once or
        // kept (the same bytes up to the table's filling).
        FramePlan plans[6];
        int ways = 0;
        MakePlan(view, first ? whole : ChangedArea(view), false, global, globalSize, plans[ways++]);
        if (!first && MakePlan(view, plans[0].area, true, global, globalSize, plans[ways])) {
            plans[ways + 1] = plans[ways];
            plans[ways + 1].ownFirst = true;
            ways += 2;
        }
        const FramePlan* plan = &plans[0];
        std::size_t shortest = SIZE_MAX;
        for (int i = 0; i < ways; ++i) {
            std::size_t size = gif->Measure(view, plans[i], shortest);
            if (size < shortest) {
                shortest = size;
                plan = &plans[i];
            }
            if (gif->filled && !plans[i].keepFull && ways < static_cast<int>(sizeof plans / sizeof plans[0])) {
                plans[ways] = plans[i];
                plans[ways++].keepFull = true;
            }
        }
        gif->Frame(view, *plan, GifFrameDelay(info.delayMicroseconds, result.frames));
        if (gif->failed) {
            result.outputFailed = true;
            return result;
        }
        std::memcpy(shown.get(), view.pixels, pixels);
        std::memcpy(rgbBefore, view.rgb, sizeof rgbBefore);
        ++result.frames;
    }
    if (status != FlcStatus::End) {
        result.status = status;
        result.damagedAt = result.frames + 1;
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
