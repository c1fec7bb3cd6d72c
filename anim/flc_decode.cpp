#include "anim/flc_decode.h"

#include <algorithm>
#include <cstring>

bool FlcCursor::Byte(std::uint8_t& value)
{
    if (size_ < 1)
        return false;
    value = data_[0];
    ++data_;
    --size_;
    return true;
}

bool FlcCursor::Word(std::uint16_t& value)
{
    if (size_ < 2)
        return false;
    value = static_cast<std::uint16_t>(data_[0] | data_[1] << 8);
    data_ += 2;
    size_ -= 2;
    return true;
}

bool FlcCursor::Dword(std::uint32_t& value)
{
    if (size_ < 4)
        return false;
    value = static_cast<std::uint32_t>(data_[0]) | static_cast<std::uint32_t>(data_[1]) << 8
          | static_cast<std::uint32_t>(data_[2]) << 16 | static_cast<std::uint32_t>(data_[3]) << 24;
    data_ += 4;
    size_ -= 4;
    return true;
}

bool FlcCursor::Take(std::size_t size, const std::uint8_t*& bytes)
{
    if (size_ < size)
        return false;
    bytes = data_;
    data_ += size;
    size_ -= size;
    return true;
}

bool FlcCursor::Skip(std::size_t size)
{
    const std::uint8_t* ignored;
    return Take(size, ignored);
}

namespace {

std::uint16_t Word16(const std::uint8_t* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

std::uint32_t Word32(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(Word16(bytes)) | static_cast<std::uint32_t>(Word16(bytes + 2)) << 16;
}

// A sub-chunk's payload as two pointers: the decoders check what remains
// once per packet for the whole packet, not byte by byte.
struct Payload {
    const std::uint8_t* at;
    const std::uint8_t* end;
    std::size_t Left() const { return static_cast<std::size_t>(end - at); }
};

// What a frame may still do (kWorkPerPixel). Each line, packet and sub-chunk
// and each pixel or colour written costs one; a line is paid when it is done,
// so one line at most runs past the bound before the frame is Damaged.
bool Spend(std::size_t& work, std::size_t cost)
{
    if (cost > work)
        return false;
    work -= cost;
    return true;
}

// Packets of colours: a skip, a count (0 means 256), that many R, G, B. The
// index is 8 bits wide: a skip or run past 255 goes on from 0.
FlcStatus DecodePalette(Payload data, FlcPicture& picture, bool sixtyFourLevels, std::size_t& work)
{
    if (data.Left() < 2)
        return FlcStatus::Damaged;
    unsigned packets = Word16(data.at);
    data.at += 2;
    unsigned index = 0;
    for (unsigned packet = 0; packet < packets; ++packet) {
        if (data.Left() < 2)
            return FlcStatus::Damaged;
        index = (index + data.at[0]) & 0xFF;
        unsigned colours = data.at[1] == 0 ? 256 : data.at[1];
        data.at += 2;
        if (data.Left() < colours * 3 || !Spend(work, 1 + colours))
            return FlcStatus::Damaged;
        for (unsigned i = 0; i < colours; ++i, index = (index + 1) & 0xFF) {
            for (unsigned c = 0; c < 3; ++c) {
                unsigned level = data.at[i * 3 + c];
                if (sixtyFourLevels) {
                    level &= 63;
                    level = level << 2 | level >> 4;
                }
                picture.palette[index * 3 + c] = static_cast<std::uint8_t>(level);
            }
        }
        data.at += colours * 3;
    }
    return FlcStatus::Frame;
}

// Lines of packets, each line opened by a packet count that is only a hint:
// the line ends when its width is filled. A positive count repeats the next
// byte, a negative one copies that many bytes.
FlcStatus DecodeByteRun(Payload data, FlcPicture& picture, std::size_t& work)
{
    const unsigned width = static_cast<unsigned>(picture.width);
    std::uint8_t* row = picture.indices;
    for (int y = 0; y < picture.height; ++y, row += width) {
        if (data.Left() < 1)
            return FlcStatus::Damaged;
        ++data.at;
        std::size_t packets = 0;
        unsigned x = 0;
        while (x < width) {
            if (data.Left() < 2)
                return FlcStatus::Damaged;
            int count = static_cast<std::int8_t>(data.at[0]);
            ++packets;
            if (count < 0) {
                unsigned size = static_cast<unsigned>(-count);
                ++data.at;
                if (data.Left() < size)
                    return FlcStatus::Damaged;
                std::memcpy(row + x, data.at, std::min(size, width - x));
                data.at += size;
                x += size;
            } else {
                unsigned size = static_cast<unsigned>(count);
                std::memset(row + x, data.at[1], std::min(size, width - x));
                data.at += 2;
                x += size;
            }
        }
        if (!Spend(work, 1 + packets + width))
            return FlcStatus::Damaged;
    }
    return FlcStatus::Frame;
}

// The lines to skip, the lines that follow; per line a packet count, each
// packet a column skip and a count: positive copies that many bytes, negative
// repeats the next byte. Packets past the line's end are cut off there.
FlcStatus DecodeByteDelta(Payload data, FlcPicture& picture, std::size_t& work)
{
    if (data.Left() < 4)
        return FlcStatus::Damaged;
    const unsigned first = Word16(data.at), lines = Word16(data.at + 2);
    data.at += 4;
    const unsigned width = static_cast<unsigned>(picture.width);
    const unsigned height = static_cast<unsigned>(picture.height);
    for (unsigned line = 0; line < lines; ++line) {
        const unsigned y = first + line;
        if (data.Left() < 1 || y >= height)
            return FlcStatus::Damaged;
        const unsigned packets = data.at[0];
        ++data.at;
        std::uint8_t* row = picture.indices + static_cast<std::size_t>(y) * width;
        unsigned x = 0, written = 0;
        for (unsigned packet = 0; packet < packets; ++packet) {
            if (data.Left() < 2)
                return FlcStatus::Damaged;
            x = std::min(x + data.at[0], width);
            int count = static_cast<std::int8_t>(data.at[1]);
            data.at += 2;
            if (count >= 0) {
                unsigned size = static_cast<unsigned>(count);
                if (data.Left() < size)
                    return FlcStatus::Damaged;
                unsigned n = std::min(size, width - x);
                std::memcpy(row + x, data.at, n);
                data.at += size;
                x += n;
                written += n;
            } else {
                if (data.Left() < 1)
                    return FlcStatus::Damaged;
                unsigned n = std::min(static_cast<unsigned>(-count), width - x);
                std::memset(row + x, data.at[0], n);
                ++data.at;
                x += n;
                written += n;
            }
        }
        if (!Spend(work, 1 + packets + written))
            return FlcStatus::Damaged;
    }
    return FlcStatus::Frame;
}

// `n` bytes of the pair at `pair` over and over, eight at a time: the pair
// read and repeated in the machine's byte order is stored in that order.
void FillWord(std::uint8_t* out, unsigned n, const std::uint8_t* pair)
{
    std::uint16_t word;
    std::memcpy(&word, pair, 2);
    const std::uint64_t eight = word * std::uint64_t{0x0001000100010001};
    unsigned i = 0;
    for (; i + 8 <= n; i += 8)
        std::memcpy(out + i, &eight, 8);
    for (; i + 2 <= n; i += 2)
        std::memcpy(out + i, &word, 2);
    if (i < n)
        out[i] = pair[0];    // a run cut at an odd width
}

// Lines of word packets. Before a line's packet count come opcodes: 11 in the
// top bits skips lines, 10 gives the line's last pixel (for odd widths, which
// whole words cannot reach). Each packet: a column skip and a count, positive
// copies that many words, negative repeats the next word. Only lines with a
// packet count count as lines.
FlcStatus DecodeWordDelta(Payload data, FlcPicture& picture, std::size_t& work)
{
    if (data.Left() < 2)
        return FlcStatus::Damaged;
    const unsigned lines = Word16(data.at);
    data.at += 2;
    const unsigned width = static_cast<unsigned>(picture.width);
    const unsigned height = static_cast<unsigned>(picture.height);
    unsigned y = 0;
    for (unsigned line = 0; line < lines; ++line) {
        std::size_t cost = 1;
        bool hasLast = false;
        std::uint8_t last = 0;
        unsigned word;
        for (;;) {
            if (data.Left() < 2)
                return FlcStatus::Damaged;
            word = Word16(data.at);
            data.at += 2;
            if ((word & 0xC000) == 0)
                break;    // the line's packet count
            if ((word & 0xC000) == 0xC000) {
                y = std::min(y + (0x10000 - word), height);
            } else if ((word & 0xC000) == 0x8000) {
                hasLast = true;
                last = static_cast<std::uint8_t>(word & 0xFF);
            } else {
                return FlcStatus::Damaged;    // 01: no such opcode
            }
            ++cost;
        }
        if (y >= height)
            return FlcStatus::Damaged;
        std::uint8_t* row = picture.indices + static_cast<std::size_t>(y) * width;
        unsigned x = 0, written = 0;
        for (unsigned packet = 0; packet < word; ++packet) {
            if (data.Left() < 2)
                return FlcStatus::Damaged;
            x = std::min(x + data.at[0], width);
            int count = static_cast<std::int8_t>(data.at[1]);
            data.at += 2;
            if (count >= 0) {
                unsigned size = static_cast<unsigned>(count) * 2;
                if (data.Left() < size)
                    return FlcStatus::Damaged;
                unsigned n = std::min(size, width - x);
                std::memcpy(row + x, data.at, n);
                data.at += size;
                x += n;
                written += n;
            } else {
                if (data.Left() < 2)
                    return FlcStatus::Damaged;
                unsigned size = static_cast<unsigned>(-count) * 2;
                unsigned n = std::min(size, width - x);
                FillWord(row + x, n, data.at);
                data.at += 2;
                x += n;
                written += n;
            }
        }
        if (hasLast)
            row[width - 1] = last;
        if (!Spend(work, cost + word + written))
            return FlcStatus::Damaged;
        ++y;
    }
    return FlcStatus::Frame;
}

} // namespace

FlcStatus ParseFlcHeader(const std::uint8_t* header, std::size_t size, FlcInfo& info)
{
    info = FlcInfo();
    if (size < kFlcHeaderSize)
        return FlcStatus::NotFlc;
    std::uint16_t magic = Word16(header + 4);
    if (magic != kFlcMagic && magic != kFliMagic)
        return FlcStatus::NotFlc;
    // Some writers leave the depth 0; they mean 8.
    std::uint16_t depth = Word16(header + 12);
    if (depth != 8 && depth != 0)
        return FlcStatus::NotFlc;
    info.fli = magic == kFliMagic;
    info.frames = Word16(header + 6);
    info.width = Word16(header + 8);
    info.height = Word16(header + 10);
    // FLC counts in milliseconds, FLI in seventieths of a second.
    info.delayMicroseconds = info.fli ? (Word16(header + 16) * std::uint64_t{1000000} + 35) / 70
                                      : Word32(header + 16) * std::uint64_t{1000};
    if (static_cast<std::uint64_t>(info.width) * static_cast<std::uint64_t>(info.height) > kFlcMaxPixels)
        return FlcStatus::TooLarge;
    if (info.width == 0 || info.height == 0 || info.frames == 0)
        return FlcStatus::Damaged;
    return FlcStatus::Frame;
}

namespace {

// The work one frame may do. A real frame writes its picture once or twice;
// one that draws it over and over, or sends packets without end, is Damaged.
constexpr std::size_t kWorkPerPixel = 8;
constexpr std::size_t kWorkMargin = 65536;    // small pictures' palettes and packets

// One sub-chunk's payload applied to the picture. Unknown types change nothing.
FlcStatus DecodeChunk(std::uint16_t type, Payload payload, FlcPicture& picture, std::size_t& work)
{
    const std::size_t pixels = static_cast<std::size_t>(picture.width) * picture.height;
    switch (type) {
    case kFlcPalette256:
        return DecodePalette(payload, picture, false, work);
    case kFlcPalette64:
        return DecodePalette(payload, picture, true, work);
    case kFlcWordDelta:
        return DecodeWordDelta(payload, picture, work);
    case kFlcByteDelta:
        return DecodeByteDelta(payload, picture, work);
    case kFlcBlack:
        if (!Spend(work, pixels))
            return FlcStatus::Damaged;
        std::memset(picture.indices, 0, pixels);
        return FlcStatus::Frame;
    case kFlcByteRun:
        return DecodeByteRun(payload, picture, work);
    case kFlcCopy:
        if (payload.Left() < pixels || !Spend(work, pixels))
            return FlcStatus::Damaged;
        std::memcpy(picture.indices, payload.at, pixels);
        return FlcStatus::Frame;
    default:    // the postage stamp and whatever else: not for showing
        return FlcStatus::Frame;
    }
}

} // namespace

FlcStatus DecodeFlcFrame(const std::uint8_t* body, std::size_t declared, std::size_t present, FlcPicture& picture)
{
    FlcCursor frame(body, std::min(declared, present));
    std::uint16_t chunks;
    if (!frame.Word(chunks) || !frame.Skip(kFlcFrameHeaderSize - kFlcChunkHeaderSize - 2))
        return FlcStatus::Damaged;
    std::size_t work = kWorkPerPixel * static_cast<std::size_t>(picture.width) * picture.height + kWorkMargin;
    for (int chunk = 0; chunk < chunks; ++chunk) {
        std::uint32_t size;
        std::uint16_t type;
        if (frame.Remaining() < kFlcChunkHeaderSize && present >= declared)
            break;    // the count promised more than the whole frame holds
        if (!frame.Dword(size) || !frame.Word(type) || size < kFlcChunkHeaderSize)
            return FlcStatus::Damaged;
        const std::uint8_t* payload;
        if (!frame.Take(size - kFlcChunkHeaderSize, payload) || !Spend(work, 1))
            return FlcStatus::Damaged;
        Payload bytes{payload, payload + (size - kFlcChunkHeaderSize)};
        FlcStatus status = DecodeChunk(type, bytes, picture, work);
        if (status != FlcStatus::Frame)
            return status;
    }
    return FlcStatus::Frame;
}
