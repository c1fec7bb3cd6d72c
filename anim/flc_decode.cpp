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

// Packets of colours: a skip, a count (0 means 256), that many R, G, B.
// Colours beyond index 255 are read and dropped.
FlcStatus DecodePalette(FlcCursor& data, FlcPicture& picture, bool sixtyFourLevels)
{
    std::uint16_t packets;
    if (!data.Word(packets))
        return FlcStatus::Damaged;
    int index = 0;
    for (int packet = 0; packet < packets; ++packet) {
        std::uint8_t skip, count;
        if (!data.Byte(skip) || !data.Byte(count))
            return FlcStatus::Damaged;
        index += skip;
        int colours = count == 0 ? 256 : count;
        const std::uint8_t* rgb;
        if (!data.Take(static_cast<std::size_t>(colours) * 3, rgb))
            return FlcStatus::Damaged;
        for (int i = 0; i < colours && index < 256; ++i, ++index) {
            for (int c = 0; c < 3; ++c) {
                std::uint8_t level = rgb[i * 3 + c];
                if (sixtyFourLevels) {
                    level &= 63;
                    level = static_cast<std::uint8_t>(level << 2 | level >> 4);
                }
                picture.palette[index * 3 + c] = level;
            }
        }
        if (index >= 256)
            index = 256;
    }
    return FlcStatus::Frame;
}

// Lines of packets, each line opened by a packet count that is only a hint:
// the line ends when its width is filled. A positive count repeats the next
// byte, a negative one copies that many bytes.
FlcStatus DecodeByteRun(FlcCursor& data, FlcPicture& picture)
{
    const int width = picture.width;
    for (int y = 0; y < picture.height; ++y) {
        std::uint8_t* row = picture.indices + static_cast<std::size_t>(y) * width;
        if (!data.Skip(1))
            return FlcStatus::Damaged;
        int x = 0;
        while (x < width) {
            std::uint8_t type;
            if (!data.Byte(type))
                return FlcStatus::Damaged;
            int count = static_cast<std::int8_t>(type);
            if (count < 0) {
                const std::uint8_t* bytes;
                if (!data.Take(static_cast<std::size_t>(-count), bytes))
                    return FlcStatus::Damaged;
                int n = std::min(-count, width - x);
                std::memcpy(row + x, bytes, static_cast<std::size_t>(n));
                x += n;
            } else {
                std::uint8_t value;
                if (!data.Byte(value))
                    return FlcStatus::Damaged;
                int n = std::min(count, width - x);
                std::memset(row + x, value, static_cast<std::size_t>(n));
                x += n;
            }
        }
    }
    return FlcStatus::Frame;
}

// The lines to skip, the lines that follow; per line a packet count, each
// packet a column skip and a count: positive copies that many bytes, negative
// repeats the next byte. Packets past the line's end are cut off there.
FlcStatus DecodeByteDelta(FlcCursor& data, FlcPicture& picture)
{
    std::uint16_t first, lines;
    if (!data.Word(first) || !data.Word(lines))
        return FlcStatus::Damaged;
    const int width = picture.width;
    for (int line = 0; line < lines; ++line) {
        int y = first + line;
        std::uint8_t packets;
        if (!data.Byte(packets))
            return FlcStatus::Damaged;
        if (y >= picture.height)
            return FlcStatus::Damaged;
        std::uint8_t* row = picture.indices + static_cast<std::size_t>(y) * width;
        int x = 0;
        for (int packet = 0; packet < packets; ++packet) {
            std::uint8_t skip, type;
            if (!data.Byte(skip) || !data.Byte(type))
                return FlcStatus::Damaged;
            x = std::min(x + skip, width);
            int count = static_cast<std::int8_t>(type);
            if (count >= 0) {
                const std::uint8_t* bytes;
                if (!data.Take(static_cast<std::size_t>(count), bytes))
                    return FlcStatus::Damaged;
                int n = std::min(count, width - x);
                std::memcpy(row + x, bytes, static_cast<std::size_t>(n));
                x += n;
            } else {
                std::uint8_t value;
                if (!data.Byte(value))
                    return FlcStatus::Damaged;
                int n = std::min(-count, width - x);
                std::memset(row + x, value, static_cast<std::size_t>(n));
                x += n;
            }
        }
    }
    return FlcStatus::Frame;
}

// Lines of word packets. Before a line's packet count come opcodes: 11 in the
// top bits skips lines, 10 gives the line's last pixel (for odd widths, which
// whole words cannot reach). Each packet: a column skip and a count, positive
// copies that many words, negative repeats the next word. Only lines with a
// packet count count as lines.
FlcStatus DecodeWordDelta(FlcCursor& data, FlcPicture& picture)
{
    std::uint16_t lines;
    if (!data.Word(lines))
        return FlcStatus::Damaged;
    const int width = picture.width;
    int y = 0;
    for (int line = 0; line < lines;) {
        std::uint16_t word;
        if (!data.Word(word))
            return FlcStatus::Damaged;
        bool hasLast = false;
        std::uint8_t last = 0;
        while ((word & 0xC000) != 0) {
            if ((word & 0xC000) == 0xC000) {
                y = std::min(y + (0x10000 - word), picture.height);
            } else if ((word & 0xC000) == 0x8000) {
                hasLast = true;
                last = static_cast<std::uint8_t>(word & 0xFF);
            } else {
                return FlcStatus::Damaged;    // 01: no such opcode
            }
            if (!data.Word(word))
                return FlcStatus::Damaged;
        }
        if (y >= picture.height)
            return FlcStatus::Damaged;
        std::uint8_t* row = picture.indices + static_cast<std::size_t>(y) * width;
        int x = 0;
        for (int packet = 0; packet < word; ++packet) {
            std::uint8_t skip, type;
            if (!data.Byte(skip) || !data.Byte(type))
                return FlcStatus::Damaged;
            x = std::min(x + skip, width);
            int count = static_cast<std::int8_t>(type);
            if (count >= 0) {
                const std::uint8_t* bytes;
                if (!data.Take(static_cast<std::size_t>(count) * 2, bytes))
                    return FlcStatus::Damaged;
                int n = std::min(count * 2, width - x);
                std::memcpy(row + x, bytes, static_cast<std::size_t>(n));
                x += n;
            } else {
                const std::uint8_t* pair;
                if (!data.Take(2, pair))
                    return FlcStatus::Damaged;
                int n = std::min(-count * 2, width - x);
                for (int i = 0; i + 1 < n; i += 2) {
                    row[x + i] = pair[0];
                    row[x + i + 1] = pair[1];
                }
                if (n % 2 != 0)
                    row[x + n - 1] = pair[0];
                x += n;
            }
        }
        if (hasLast)
            row[width - 1] = last;
        ++y;
        ++line;
    }
    return FlcStatus::Frame;
}

FlcStatus DecodeCopy(FlcCursor& data, FlcPicture& picture)
{
    std::size_t size = static_cast<std::size_t>(picture.width) * picture.height;
    const std::uint8_t* bytes;
    if (!data.Take(size, bytes))
        return FlcStatus::Damaged;
    std::memcpy(picture.indices, bytes, size);
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
    if (Word16(header + 12) != 8)
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

FlcStatus DecodeFlcChunk(std::uint16_t type, FlcCursor payload, FlcPicture& picture)
{
    switch (type) {
    case kFlcPalette256:
        return DecodePalette(payload, picture, false);
    case kFlcPalette64:
        return DecodePalette(payload, picture, true);
    case kFlcWordDelta:
        return DecodeWordDelta(payload, picture);
    case kFlcByteDelta:
        return DecodeByteDelta(payload, picture);
    case kFlcBlack:
        std::memset(picture.indices, 0, static_cast<std::size_t>(picture.width) * picture.height);
        return FlcStatus::Frame;
    case kFlcByteRun:
        return DecodeByteRun(payload, picture);
    case kFlcCopy:
        return DecodeCopy(payload, picture);
    default:    // the postage stamp and whatever else: not for showing
        return FlcStatus::Frame;
    }
}

FlcStatus DecodeFlcFrame(const std::uint8_t* body, std::size_t declared, std::size_t present, FlcPicture& picture)
{
    FlcCursor frame(body, std::min(declared, present));
    std::uint16_t chunks;
    if (!frame.Word(chunks) || !frame.Skip(kFlcFrameHeaderSize - kFlcChunkHeaderSize - 2))
        return FlcStatus::Damaged;
    for (int chunk = 0; chunk < chunks; ++chunk) {
        std::uint32_t size;
        std::uint16_t type;
        if (frame.Remaining() < kFlcChunkHeaderSize && present >= declared)
            break;    // the count promised more than the whole frame holds
        if (!frame.Dword(size) || !frame.Word(type) || size < kFlcChunkHeaderSize)
            return FlcStatus::Damaged;
        const std::uint8_t* payload;
        if (!frame.Take(size - kFlcChunkHeaderSize, payload))
            return FlcStatus::Damaged;
        FlcStatus status = DecodeFlcChunk(type, FlcCursor(payload, size - kFlcChunkHeaderSize), picture);
        if (status != FlcStatus::Frame)
            return status;
    }
    return FlcStatus::Frame;
}
