// A small GIF reader for the tests, written from the GIF89a description
// apart from the encoder: it reads the blocks one by one and decodes LZW
// with a table of prefix codes and bytes, so an encoder mistake in code widths, clear
// codes or sub-blocks shows as a wrong picture or a failed read.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct GifFrame {
    std::vector<std::uint8_t> indices;      // width * height of the frame
    std::vector<std::uint8_t> palette;      // the local colour table, 3 bytes a colour; empty: the global one
    int left = 0, top = 0, width = 0, height = 0;
    int delay = -1;                         // hundredths; -1: no graphic control block
    int transparent = -1;                   // the transparent index; -1: none
    int disposal = 0;                       // 0, 1: kept; 2: back to the background; 3: back to the picture before
    int codeSize = 0;                       // the LZW minimum code size
};

struct GifFile {
    int width = 0, height = 0;
    std::vector<std::uint8_t> palette;      // the global colour table; empty: none
    int loops = -1;                         // the application extension's count; -1: none
    std::vector<GifFrame> frames;
    bool trailer = false;
    std::string error;                      // empty when the whole file was read
};

inline GifFile ReadGif(const std::uint8_t* data, std::size_t size)
{
    GifFile gif;
    std::size_t at = 0;
    auto byte = [&](int& value) {
        if (at >= size)
            return false;
        value = data[at++];
        return true;
    };
    auto word = [&](int& value) {
        int low, high;
        if (!byte(low) || !byte(high))
            return false;
        value = low | high << 8;
        return true;
    };
    // Sub-blocks up to the empty one, joined.
    auto blocks = [&](std::vector<std::uint8_t>& out) {
        for (int length; byte(length);) {
            if (length == 0)
                return true;
            if (size - at < static_cast<std::size_t>(length))
                return false;
            out.insert(out.end(), data + at, data + at + length);
            at += length;
        }
        return false;
    };
    // A colour table of the size `flags` give; false when the data ends first.
    auto colourTable = [&](int flags, std::vector<std::uint8_t>& palette) {
        std::size_t bytes = 3u << ((flags & 7) + 1);
        if (size - at < bytes)
            return false;
        palette.assign(data + at, data + at + bytes);
        at += bytes;
        return true;
    };
    if (size < 13 || std::string(reinterpret_cast<const char*>(data), 6) != "GIF89a") {
        gif.error = "no GIF89a signature";
        return gif;
    }
    at = 6;
    int flags = 0, ignored = 0;
    word(gif.width);
    word(gif.height);
    byte(flags);
    byte(ignored);
    byte(ignored);
    if ((flags & 0x80) && !colourTable(flags, gif.palette)) {
        gif.error = "global colour table cut short";
        return gif;
    }
    // The LZW code table: each code's string is its prefix code's string
    // and then one byte.
    struct {
        std::uint16_t prefix[4096], length[4096];
        std::uint8_t last[4096], first[4096];
    } table;
    int delay = -1, transparent = -1, disposal = 0;
    for (int introducer; byte(introducer);) {
        if (introducer == 0x3B) {
            gif.trailer = true;
            return gif;
        }
        if (introducer == 0x21) {
            int label;
            std::vector<std::uint8_t> body;
            if (!byte(label) || !blocks(body)) {
                gif.error = "extension cut short";
                return gif;
            }
            if (label == 0xF9 && body.size() >= 4) {
                delay = body[1] | body[2] << 8;
                transparent = (body[0] & 1) ? body[3] : -1;
                disposal = (body[0] >> 2) & 7;
            }
            if (label == 0xFF && body.size() == 14 && std::string(body.begin(), body.begin() + 11) == "NETSCAPE2.0")
                gif.loops = body[12] | body[13] << 8;
            continue;
        }
        if (introducer != 0x2C) {
            gif.error = "unknown block " + std::to_string(introducer);
            return gif;
        }
        GifFrame frame;
        frame.delay = delay;
        frame.transparent = transparent;
        frame.disposal = disposal;
        delay = transparent = -1;
        disposal = 0;
        if (!word(frame.left) || !word(frame.top) || !word(frame.width) || !word(frame.height) || !byte(flags)) {
            gif.error = "image descriptor cut short";
            return gif;
        }
        if ((flags & 0x80) && !colourTable(flags, frame.palette)) {
            gif.error = "colour table cut short";
            return gif;
        }
        int minimum;
        std::vector<std::uint8_t> packed;
        if (!byte(minimum) || minimum < 2 || minimum > 8 || !blocks(packed)) {
            gif.error = "image data cut short";
            return gif;
        }
        frame.codeSize = minimum;
        const int clear = 1 << minimum, end = clear + 1;
        int next = end + 1;         // the first code not yet in the table
        auto reset = [&] {
            for (int i = 0; i < clear; ++i) {
                table.last[i] = table.first[i] = static_cast<std::uint8_t>(i);
                table.length[i] = 1;
            }
            next = end + 1;
        };
        // The string of `code`, from its last byte back along its prefixes.
        auto emit = [&](int code) {
            std::size_t start = frame.indices.size();
            frame.indices.resize(start + table.length[code]);
            for (std::size_t i = table.length[code]; i > 0; code = table.prefix[code])
                frame.indices[start + --i] = table.last[code];
        };
        reset();
        int width = minimum + 1;
        std::size_t bit = 0;
        int previous = -1;
        bool ended = false;
        while (!ended) {
            if (bit + width > packed.size() * 8) {
                gif.error = "image data ends without the end code";
                return gif;
            }
            int code = 0;
            for (int i = 0; i < width; ++i, ++bit)
                code |= ((packed[bit / 8] >> (bit % 8)) & 1) << i;
            if (code == clear) {
                reset();
                width = minimum + 1;
                previous = -1;
                continue;
            }
            if (code == end) {
                ended = true;
                break;
            }
            std::uint8_t first;
            if (code < next) {
                first = table.first[code];
                emit(code);
            } else if (code == next && previous >= 0) {
                first = table.first[previous];
                emit(previous);
                frame.indices.push_back(first);
            } else {
                gif.error = "code " + std::to_string(code) + " not in the table";
                return gif;
            }
            if (previous >= 0 && next < 4096) {
                table.prefix[next] = static_cast<std::uint16_t>(previous);
                table.last[next] = first;
                table.first[next] = table.first[previous];
                table.length[next] = static_cast<std::uint16_t>(table.length[previous] + 1);
                ++next;
            }
            if (next == (1 << width) && width < 12)
                ++width;
            previous = code;
        }
        if (frame.indices.size() != static_cast<std::size_t>(frame.width) * frame.height) {
            gif.error = "frame " + std::to_string(gif.frames.size() + 1) + " holds " + std::to_string(frame.indices.size())
                      + " pixels";
            return gif;
        }
        // A viewer shows an index past the colour table in a colour of its
        // own choosing.
        std::size_t colours = (frame.palette.empty() ? gif.palette.size() : frame.palette.size()) / 3;
        for (std::uint8_t index : frame.indices)
            if (index != frame.transparent && index >= colours) {
                gif.error = "frame " + std::to_string(gif.frames.size() + 1) + " shows index " + std::to_string(index)
                          + " of a table of " + std::to_string(colours);
                return gif;
            }
        gif.frames.push_back(frame);
    }
    gif.error = "no trailer";
    return gif;
}

// Each frame as a viewer shows it, as 24-bit RGB, width * height * 3 bytes:
// drawn over what the frame before left (its disposal method), with the
// frame's own colour table or else the global one; a transparent pixel
// shows what was there. The canvas before frame 1 and the background that
// disposal 2 restores are black.
inline std::vector<std::vector<std::uint8_t>> GifPictures(const GifFile& gif)
{
    std::vector<std::vector<std::uint8_t>> pictures;
    std::vector<std::uint8_t> canvas(static_cast<std::size_t>(gif.width) * gif.height * 3, 0);
    for (const GifFrame& frame : gif.frames) {
        const std::vector<std::uint8_t>& table = frame.palette.empty() ? gif.palette : frame.palette;
        std::vector<std::uint8_t> before = canvas;
        for (int y = 0; y < frame.height; ++y) {
            for (int x = 0; x < frame.width; ++x) {
                int cx = frame.left + x, cy = frame.top + y;
                std::size_t index = frame.indices[static_cast<std::size_t>(y) * frame.width + x];
                if (cx >= gif.width || cy >= gif.height || static_cast<int>(index) == frame.transparent)
                    continue;
                for (int c = 0; c < 3; ++c)
                    canvas[(static_cast<std::size_t>(cy) * gif.width + cx) * 3 + c] = table[index * 3 + c];
            }
        }
        pictures.push_back(canvas);
        if (frame.disposal == 3)
            canvas = before;
        if (frame.disposal == 2)
            for (int y = frame.top; y < frame.top + frame.height && y < gif.height; ++y)
                for (int x = frame.left; x < frame.left + frame.width && x < gif.width; ++x)
                    for (int c = 0; c < 3; ++c)
                        canvas[(static_cast<std::size_t>(y) * gif.width + x) * 3 + c] = 0;
    }
    return pictures;
}

// Colour indices as 24-bit RGB through a 768-byte palette.
inline std::vector<std::uint8_t> IndicesToRgb(const std::uint8_t* indices, std::size_t count, const std::uint8_t* palette)
{
    std::vector<std::uint8_t> rgb(count * 3);
    for (std::size_t i = 0; i < count; ++i)
        for (int c = 0; c < 3; ++c)
            rgb[i * 3 + c] = palette[indices[i] * 3 + c];
    return rgb;
}
