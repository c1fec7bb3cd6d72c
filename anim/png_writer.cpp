#include "anim/png_writer.h"

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr std::size_t kIdatSize = 65536;

// zlib's memory through the same allocator as the rest of the encoder, so
// that a failure is ours to report. About 400 KB for windowBits 15 and
// memLevel 9; less for a small picture (ZlibSizes).
voidpf Allocate(voidpf, uInt items, uInt size)
{
    if (size != 0 && items > SIZE_MAX / size)
        return Z_NULL;
    return new (std::nothrow) unsigned char[static_cast<std::size_t>(items) * size];
}

void Release(voidpf, voidpf block)
{
    delete[] static_cast<unsigned char*>(block);
}

void Big32(std::uint8_t* at, std::uint32_t value)
{
    at[0] = static_cast<std::uint8_t>(value >> 24);
    at[1] = static_cast<std::uint8_t>(value >> 16);
    at[2] = static_cast<std::uint8_t>(value >> 8);
    at[3] = static_cast<std::uint8_t>(value);
}

// zlib's window and memory level for `size` bytes of filtered rows. A window
// that holds them all, with zlib's look-ahead, finds every match the full one
// does. So does a smaller hash while no hash chain can reach zlib's longest
// search (4096 at level 9, so up to 4 KB of rows), as long as the symbol
// buffer never fills before the end. The deflate data are then the same, and
// a small picture is spared clearing a 128 KB hash for every trial.
struct ZlibSizes {
    int windowBits = 15;
    int memLevel = 9;
};

ZlibSizes ZlibSizesFor(std::size_t size)
{
    const std::size_t kLookAhead = 262;     // zlib's MIN_LOOKAHEAD
    ZlibSizes sizes;
    sizes.windowBits = 9;                   // zlib's smallest for deflate
    while (sizes.windowBits < 15 && (std::size_t{1} << sizes.windowBits) < size + kLookAhead)
        ++sizes.windowBits;
    if (size <= 4096) {
        // The symbol buffer holds (1 << (memLevel + 6)) - 1 symbols; each
        // byte makes one at most.
        sizes.memLevel = 1;
        while ((std::size_t{1} << (sizes.memLevel + 6)) - 1 <= size)
            ++sizes.memLevel;
    }
    return sizes;
}

class Deflater {
public:
    Deflater() { std::memset(&stream_, 0, sizeof stream_); }
    ~Deflater()
    {
        if (ready_)
            deflateEnd(&stream_);
    }
    bool Start(std::size_t size)
    {
        stream_.zalloc = Allocate;
        stream_.zfree = Release;
        const ZlibSizes sizes = ZlibSizesFor(size);
        ready_ = deflateInit2(&stream_, 9, Z_DEFLATED, sizes.windowBits, sizes.memLevel, Z_DEFAULT_STRATEGY) == Z_OK;
        return ready_;
    }
    // One zlib stream of data with this strategy; each full buffer (and the
    // last part) goes to `take`, which answers false to stop.
    template <typename Take>
    bool Run(const std::uint8_t* data, std::size_t size, int strategy, std::uint8_t* buffer, Take take)
    {
        if (deflateReset(&stream_) != Z_OK || deflateParams(&stream_, 9, strategy) != Z_OK)
            return false;
        // The caller keeps size under 2 GB: avail_in takes it whole.
        stream_.next_in = const_cast<std::uint8_t*>(data);
        stream_.avail_in = static_cast<uInt>(size);
        int result = Z_OK;
        while (result == Z_OK) {
            stream_.next_out = buffer;
            stream_.avail_out = kIdatSize;
            result = deflate(&stream_, Z_FINISH);
            std::size_t made = kIdatSize - stream_.avail_out;
            if ((result != Z_OK && result != Z_STREAM_END) || (made > 0 && !take(buffer, made)))
                return false;
        }
        return true;
    }

private:
    z_stream stream_;
    bool ready_ = false;
};

std::uint8_t Paeth(int a, int b, int c)
{
    int p = a + b - c;
    int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return static_cast<std::uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// One row through one of PNG's five filters (one byte a pixel or less: the
// byte to the left is the neighbour).
void Filter(int kind, const std::uint8_t* row, const std::uint8_t* above, std::size_t size, std::uint8_t* out)
{
    for (std::size_t i = 0; i < size; ++i) {
        int a = i > 0 ? row[i - 1] : 0, b = above[i], c = i > 0 ? above[i - 1] : 0;
        int predicted = kind == 1 ? a : kind == 2 ? b : kind == 3 ? (a + b) / 2 : kind == 4 ? Paeth(a, b, c) : 0;
        out[i] = static_cast<std::uint8_t>(row[i] - predicted);
    }
}

// How far a filtered row is from all zeros, bytes taken as signed.
std::size_t Distance(const std::uint8_t* data, std::size_t size)
{
    std::size_t sum = 0;
    for (std::size_t i = 0; i < size; ++i)
        sum += data[i] < 128 ? data[i] : 256 - data[i];
    return sum;
}

enum class Filtering { None, Up, Adaptive };

// Every row behind its filter byte into `out`; `trial` holds a row.
void FilterRows(Filtering how, const std::uint8_t* packed, const std::uint8_t* zeros, std::size_t rowBytes, int height,
                std::uint8_t* trial, std::uint8_t* out)
{
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = packed + static_cast<std::size_t>(y) * rowBytes;
        const std::uint8_t* above = y > 0 ? row - rowBytes : zeros;
        std::uint8_t* to = out + static_cast<std::size_t>(y) * (rowBytes + 1);
        int kind = how == Filtering::Up ? 2 : 0;
        if (how == Filtering::Adaptive) {
            // The filter whose bytes lie nearest zero: the usual heuristic.
            std::size_t best = Distance(row, rowBytes);
            for (int k = 1; k <= 4; ++k) {
                Filter(k, row, above, rowBytes, trial);
                std::size_t distance = Distance(trial, rowBytes);
                if (distance < best) {
                    best = distance;
                    kind = k;
                }
            }
        }
        to[0] = static_cast<std::uint8_t>(kind);
        Filter(kind, row, above, rowBytes, to + 1);
    }
}

struct Output {
    ByteSink& sink;
    bool failed = false;

    void Write(const void* data, std::size_t size)
    {
        if (size > 0 && !failed && !sink.Write(data, size))
            failed = true;
    }
    void Chunk(const char* type, const std::uint8_t* data, std::size_t size)
    {
        std::uint8_t head[8];
        Big32(head, static_cast<std::uint32_t>(size));
        std::memcpy(head + 4, type, 4);
        uLong crc = crc32(0, head + 4, 4);
        if (size > 0)
            crc = crc32(crc, data, static_cast<uInt>(size));   // a null `data` would start the CRC afresh
        std::uint8_t tail[4];
        Big32(tail, static_cast<std::uint32_t>(crc));
        Write(head, sizeof head);
        Write(data, size);
        Write(tail, sizeof tail);
    }
};

} // namespace

PngResult WritePngFile(ByteSink& out, const std::uint8_t* indices, int width, int height,
                       const std::uint8_t* palette768)
{
    if (width <= 0 || height <= 0)
        return PngResult::OutputFailed;
    std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);

    // The colours in use, numbered in their palette order.
    bool used[256] = {};
    for (std::size_t i = 0; i < pixels; ++i)
        used[indices[i]] = true;
    std::uint8_t newIndex[256] = {};
    std::uint8_t palette[768];
    int colours = 0;
    for (int i = 0; i < 256; ++i) {
        if (!used[i])
            continue;
        newIndex[i] = static_cast<std::uint8_t>(colours);
        std::memcpy(palette + 3 * colours, palette768 + 3 * i, 3);
        ++colours;
    }
    int depth = colours <= 2 ? 1 : colours <= 4 ? 2 : colours <= 16 ? 4 : 8;

    std::size_t rowBytes = (static_cast<std::size_t>(width) * depth + 7) / 8;
    std::size_t rawSize = (rowBytes + 1) * static_cast<std::size_t>(height);
    if (rawSize > 0x7FFFFFFF)
        return PngResult::OutOfMemory;
    std::unique_ptr<std::uint8_t[]> packed(new (std::nothrow) std::uint8_t[rowBytes * height]);
    std::unique_ptr<std::uint8_t[]> raw(new (std::nothrow) std::uint8_t[rawSize]);
    std::unique_ptr<std::uint8_t[]> rowWork(new (std::nothrow) std::uint8_t[2 * rowBytes]);
    std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[kIdatSize]);
    Deflater deflater;
    if (!packed || !raw || !rowWork || !buffer || !deflater.Start(rawSize))
        return PngResult::OutOfMemory;
    std::uint8_t* zeros = rowWork.get();
    std::uint8_t* trial = rowWork.get() + rowBytes;
    std::memset(zeros, 0, rowBytes);

    // Pixels packed high bits first, as many as a byte holds.
    std::memset(packed.get(), 0, rowBytes * height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = indices + static_cast<std::size_t>(y) * width;
        std::uint8_t* to = packed.get() + static_cast<std::size_t>(y) * rowBytes;
        for (int x = 0; x < width; ++x) {
            int bit = x * depth;
            to[bit / 8] |= static_cast<std::uint8_t>(newIndex[from[x]] << (8 - depth - bit % 8));
        }
    }

    // A few filterings and strategies, as optimizers try them, and the
    // smallest kept: bounded work, the picture a dozen times at most.
    static const Filtering kFilterings[] = {Filtering::None, Filtering::Up, Filtering::Adaptive};
    static const int kStrategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE};
    Filtering bestFiltering = Filtering::None;
    int bestStrategy = Z_DEFAULT_STRATEGY;
    std::size_t bestSize = SIZE_MAX;
    for (Filtering filtering : kFilterings) {
        FilterRows(filtering, packed.get(), zeros, rowBytes, height, trial, raw.get());
        for (int strategy : kStrategies) {
            std::size_t size = 0;
            auto count = [&](const std::uint8_t*, std::size_t made) {
                size += made;
                return size < bestSize;
            };
            if (deflater.Run(raw.get(), rawSize, strategy, buffer.get(), count) && size < bestSize) {
                bestSize = size;
                bestFiltering = filtering;
                bestStrategy = strategy;
            }
        }
    }
    if (bestSize == SIZE_MAX)
        return PngResult::OutputFailed;
    FilterRows(bestFiltering, packed.get(), zeros, rowBytes, height, trial, raw.get());

    Output png{out};
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    png.Write(kSignature, sizeof kSignature);
    std::uint8_t header[13] = {0, 0, 0, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(depth), 3, 0, 0, 0};
    Big32(header, static_cast<std::uint32_t>(width));
    Big32(header + 4, static_cast<std::uint32_t>(height));
    png.Chunk("IHDR", header, sizeof header);
    png.Chunk("PLTE", palette, static_cast<std::size_t>(colours) * 3);
    auto write = [&](const std::uint8_t* data, std::size_t made) {
        png.Chunk("IDAT", data, made);
        return !png.failed;
    };
    if (!deflater.Run(raw.get(), rawSize, bestStrategy, buffer.get(), write))
        return PngResult::OutputFailed;
    png.Chunk("IEND", nullptr, 0);
    return png.failed ? PngResult::OutputFailed : PngResult::Written;
}

bool WritePng(ByteSink& out, const std::uint8_t* indices, int width, int height, const std::uint8_t* palette768)
{
    return WritePngFile(out, indices, width, height, palette768) == PngResult::Written;
}
