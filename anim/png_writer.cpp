#include "anim/png_writer.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

// Deflate's fixed-Huffman block over a small hash chain: far smaller than
// stored blocks, bounded work per byte, no tables to send.
constexpr int kWindow = 32768;
constexpr int kHashBits = 15;
constexpr int kMaxChain = 32;
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 258;
constexpr std::size_t kIdatSize = 65536;

const std::uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                       31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const std::uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const std::uint16_t kDistanceBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,
                                         33,  49,  65,  97,  129, 193,  257,  385,  513,  769,
                                         1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const std::uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                         6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

std::uint32_t Reversed(std::uint32_t code, int bits)
{
    std::uint32_t result = 0;
    for (int i = 0; i < bits; ++i, code >>= 1)
        result = result << 1 | (code & 1);
    return result;
}

struct PngState {
    ByteSink* out = nullptr;
    bool failed = false;
    std::uint32_t crcTable[256];
    std::uint16_t literalCode[288];     // bit-reversed: deflate sends Huffman codes high bit first
    std::uint8_t literalBits[288];
    std::uint32_t bitBuffer = 0;
    int bitCount = 0;
    std::uint8_t idat[kIdatSize];
    std::size_t idatUsed = 0;
    std::int32_t head[1 << kHashBits];
    std::int32_t previous[kWindow];

    PngState()
    {
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            crcTable[n] = c;
        }
        for (int v = 0; v < 288; ++v) {
            std::uint32_t code;
            int bits;
            if (v < 144) { code = 0x30 + v; bits = 8; }
            else if (v < 256) { code = 0x190 + (v - 144); bits = 9; }
            else if (v < 280) { code = v - 256; bits = 7; }
            else { code = 0xC0 + (v - 280); bits = 8; }
            literalCode[v] = static_cast<std::uint16_t>(Reversed(code, bits));
            literalBits[v] = static_cast<std::uint8_t>(bits);
        }
    }

    std::uint32_t Crc(std::uint32_t crc, const std::uint8_t* data, std::size_t size) const
    {
        for (std::size_t i = 0; i < size; ++i)
            crc = crcTable[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
        return crc;
    }

    void Write(const void* data, std::size_t size)
    {
        if (size > 0 && !failed && !out->Write(data, size))
            failed = true;
    }

    void Chunk(const char* type, const std::uint8_t* data, std::size_t size)
    {
        std::uint8_t head8[8] = {static_cast<std::uint8_t>(size >> 24), static_cast<std::uint8_t>(size >> 16),
                                 static_cast<std::uint8_t>(size >> 8), static_cast<std::uint8_t>(size),
                                 static_cast<std::uint8_t>(type[0]), static_cast<std::uint8_t>(type[1]),
                                 static_cast<std::uint8_t>(type[2]), static_cast<std::uint8_t>(type[3])};
        std::uint32_t crc = Crc(0xFFFFFFFFu, head8 + 4, 4);
        crc = Crc(crc, data, size) ^ 0xFFFFFFFFu;
        std::uint8_t tail[4] = {static_cast<std::uint8_t>(crc >> 24), static_cast<std::uint8_t>(crc >> 16),
                                static_cast<std::uint8_t>(crc >> 8), static_cast<std::uint8_t>(crc)};
        Write(head8, sizeof head8);
        Write(data, size);
        Write(tail, sizeof tail);
    }

    void Byte(std::uint8_t value)
    {
        idat[idatUsed++] = value;
        if (idatUsed == kIdatSize) {
            Chunk("IDAT", idat, idatUsed);
            idatUsed = 0;
        }
    }

    void Bits(std::uint32_t value, int count)
    {
        bitBuffer |= value << bitCount;
        bitCount += count;
        while (bitCount >= 8) {
            Byte(static_cast<std::uint8_t>(bitBuffer));
            bitBuffer >>= 8;
            bitCount -= 8;
        }
    }

    void Symbol(int value) { Bits(literalCode[value], literalBits[value]); }

    void Match(int length, int distance)
    {
        int l = 28;
        while (kLengthBase[l] > length)
            --l;
        Symbol(257 + l);
        Bits(static_cast<std::uint32_t>(length - kLengthBase[l]), kLengthExtra[l]);
        int d = 29;
        while (kDistanceBase[d] > distance)
            --d;
        Bits(Reversed(static_cast<std::uint32_t>(d), 5), 5);
        Bits(static_cast<std::uint32_t>(distance - kDistanceBase[d]), kDistanceExtra[d]);
    }

    static std::uint32_t Hash(const std::uint8_t* p)
    {
        return ((p[0] << 10) ^ (p[1] << 5) ^ p[2]) & ((1u << kHashBits) - 1);
    }

    void Insert(const std::uint8_t* data, std::int32_t at)
    {
        std::uint32_t h = Hash(data + at);
        previous[at & (kWindow - 1)] = head[h];
        head[h] = at + 1;
    }

    // A zlib stream: header, one final fixed-Huffman block, Adler-32.
    void Deflate(const std::uint8_t* data, std::int32_t size)
    {
        std::memset(head, 0, sizeof head);
        Byte(0x78);
        Byte(0x01);
        Bits(1, 1);     // final block
        Bits(1, 2);     // fixed Huffman codes
        std::int32_t at = 0;
        while (at < size) {
            int bestLength = 0;
            int bestDistance = 0;
            int limit = size - at < kMaxMatch ? size - at : kMaxMatch;
            if (limit >= kMinMatch) {
                std::int32_t candidate = head[Hash(data + at)] - 1;
                for (int chain = 0; chain < kMaxChain && candidate >= 0 && at - candidate <= kWindow; ++chain) {
                    const std::uint8_t* a = data + candidate;
                    const std::uint8_t* b = data + at;
                    if (a[bestLength] == b[bestLength]) {
                        int length = 0;
                        while (length < limit && a[length] == b[length])
                            ++length;
                        if (length > bestLength) {
                            bestLength = length;
                            bestDistance = at - candidate;
                            if (length == limit)
                                break;
                        }
                    }
                    candidate = previous[candidate & (kWindow - 1)] - 1;
                }
                Insert(data, at);
            }
            if (bestLength >= kMinMatch) {
                Match(bestLength, bestDistance);
                std::int32_t end = at + bestLength;
                std::int32_t last = size - kMinMatch;
                for (++at; at < end; ++at)
                    if (at <= last)
                        Insert(data, at);
            } else {
                Symbol(data[at]);
                ++at;
            }
        }
        Symbol(256);
        if (bitCount > 0)
            Bits(0, 8 - bitCount);
        std::uint32_t a = 1, b = 0;
        for (std::int32_t i = 0; i < size;) {
            std::int32_t run = size - i < 5552 ? size - i : 5552;
            for (std::int32_t end = i + run; i < end; ++i) {
                a += data[i];
                b += a;
            }
            a %= 65521;
            b %= 65521;
        }
        std::uint32_t adler = b << 16 | a;
        for (int shift = 24; shift >= 0; shift -= 8)
            Byte(static_cast<std::uint8_t>(adler >> shift));
        if (idatUsed > 0)
            Chunk("IDAT", idat, idatUsed);
        idatUsed = 0;
    }
};

} // namespace

PngResult WritePngFile(ByteSink& out, const std::uint8_t* indices, int width, int height,
                       const std::uint8_t* palette768)
{
    if (width <= 0 || height <= 0)
        return PngResult::OutputFailed;
    // Each row behind its filter byte (0: none): palette pictures gain
    // little from filters.
    std::size_t stride = static_cast<std::size_t>(width) + 1;
    std::size_t rawSize = stride * static_cast<std::size_t>(height);
    if (rawSize > 0x7FFFFFFF)
        return PngResult::OutOfMemory;
    std::unique_ptr<std::uint8_t[]> raw(new (std::nothrow) std::uint8_t[rawSize]);
    std::unique_ptr<PngState> state(new (std::nothrow) PngState);
    if (!raw || !state)
        return PngResult::OutOfMemory;
    for (int y = 0; y < height; ++y) {
        raw[y * stride] = 0;
        std::memcpy(&raw[y * stride + 1], indices + static_cast<std::size_t>(y) * width, static_cast<std::size_t>(width));
    }
    PngState& png = *state;
    png.out = &out;
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    png.Write(kSignature, sizeof kSignature);
    std::uint8_t header[13] = {static_cast<std::uint8_t>(width >> 24), static_cast<std::uint8_t>(width >> 16),
                               static_cast<std::uint8_t>(width >> 8), static_cast<std::uint8_t>(width),
                               static_cast<std::uint8_t>(height >> 24), static_cast<std::uint8_t>(height >> 16),
                               static_cast<std::uint8_t>(height >> 8), static_cast<std::uint8_t>(height),
                               8, 3, 0, 0, 0};
    png.Chunk("IHDR", header, sizeof header);
    png.Chunk("PLTE", palette768, 768);
    png.Deflate(raw.get(), static_cast<std::int32_t>(rawSize));
    png.Chunk("IEND", nullptr, 0);
    return png.failed ? PngResult::OutputFailed : PngResult::Written;
}

bool WritePng(ByteSink& out, const std::uint8_t* indices, int width, int height, const std::uint8_t* palette768)
{
    return WritePngFile(out, indices, width, height, palette768) == PngResult::Written;
}
