// Small FLC files for the tests, written byte for byte: each frame a
// 256-level palette and an uncompressed picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace flc_writer {

inline void Put16(std::string& out, unsigned value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

inline void Put32(std::string& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// A colour per index: index i is (i, 255 - i, i / 2) unless `palette` is given.
inline std::vector<std::uint8_t> RampPalette()
{
    std::vector<std::uint8_t> palette(768);
    for (int i = 0; i < 256; ++i) {
        palette[i * 3] = static_cast<std::uint8_t>(i);
        palette[i * 3 + 1] = static_cast<std::uint8_t>(255 - i);
        palette[i * 3 + 2] = static_cast<std::uint8_t>(i / 2);
    }
    return palette;
}

// Frame n (from 0) of a test animation: index (x + y + 16 * n) mod 256.
inline std::vector<std::uint8_t> Gradient(int width, int height, int n)
{
    std::vector<std::uint8_t> picture(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture[static_cast<std::size_t>(y) * width + x] = static_cast<std::uint8_t>((x + y + 16 * n) & 0xFF);
    return picture;
}

// The 128-byte header of an FLC (magic 0xAF12) whose frames start right after it.
inline std::string Header(int width, int height, int frames, unsigned delayMs, std::size_t fileSize)
{
    std::string header;
    Put32(header, static_cast<std::uint32_t>(fileSize));
    Put16(header, 0xAF12);
    Put16(header, static_cast<unsigned>(frames));
    Put16(header, static_cast<unsigned>(width));
    Put16(header, static_cast<unsigned>(height));
    Put16(header, 8);
    Put16(header, 3);
    Put32(header, delayMs);
    header.resize(80, '\0');
    Put32(header, 128);     // the first frame
    header.resize(128, '\0');
    return header;
}

// An FLC (magic 0xAF12) of `frames` pictures, `delayMs` apart.
inline std::string Flc(int width, int height, unsigned delayMs, const std::vector<std::vector<std::uint8_t>>& frames,
                       const std::vector<std::uint8_t>& palette = RampPalette())
{
    std::string body;
    for (const auto& picture : frames) {
        std::string chunk;
        Put32(chunk, 6 + 2 + 2 + 768);      // palette: one packet of 256 colours
        Put16(chunk, 4);
        Put16(chunk, 1);
        chunk += '\0';
        chunk += '\0';
        chunk.append(reinterpret_cast<const char*>(palette.data()), 768);
        Put32(chunk, static_cast<std::uint32_t>(6 + picture.size()));
        Put16(chunk, 16);
        chunk.append(reinterpret_cast<const char*>(picture.data()), picture.size());
        std::string frame;
        Put32(frame, static_cast<std::uint32_t>(16 + chunk.size()));
        Put16(frame, 0xF1FA);
        Put16(frame, 2);
        frame.append(8, '\0');
        body += frame + chunk;
    }
    std::string header = Header(width, height, static_cast<int>(frames.size()), delayMs, 128 + body.size());
    return header + body;
}

// `count` gradient frames of `width` x `height`.
inline std::string GradientFlc(int width, int height, int count, unsigned delayMs)
{
    std::vector<std::vector<std::uint8_t>> frames;
    for (int n = 0; n < count; ++n)
        frames.push_back(Gradient(width, height, n));
    return Flc(width, height, delayMs, frames);
}

// The file cut in the middle of frame `broken` (from 1): the frames before
// it stay whole.
inline std::string CutInFrame(const std::string& file, int broken)
{
    std::size_t at = 128;
    for (int n = 1; n < broken && at + 4 <= file.size(); ++n) {
        const auto* p = reinterpret_cast<const unsigned char*>(file.data() + at);
        at += p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }
    return file.substr(0, at + 40);
}

// A file of Flc's making whose frame `broken` (from 2) turns the palette red
// and then breaks in its pixels: a reader stopped there holds frame
// `broken` - 1's picture in a palette that no whole frame has.
inline std::string RedThenCutInFrame(const std::string& file, int broken)
{
    std::string cut = CutInFrame(file, broken);
    const std::size_t frame = cut.size() - 40;
    const std::size_t colours = frame + 16 + 10;     // frame header, chunk header, packet head
    const std::size_t pixels = colours + 768 + 6;
    if (pixels + 8 > file.size())
        return cut;
    std::string red = file.substr(0, pixels + 8);
    for (std::size_t i = 0; i < 768; i += 3) {
        red[colours + i] = static_cast<char>(255);
        red[colours + i + 1] = 0;
        red[colours + i + 2] = 0;
    }
    return red;
}

} // namespace flc_writer
