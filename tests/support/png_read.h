// A small PNG reader for the tests, written from the PNG description apart
// from the encoder: it checks the signature, each chunk's CRC and the chunks'
// order, inflates the IDAT data with zlib (which checks the Adler-32), undoes
// the five row filters and unpacks 1, 2, 4 and 8 bits a pixel of a palette
// picture (colour type 3, no interlace) into RGB.
#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

struct PngFile {
    int width = 0, height = 0, depth = 0;
    std::vector<std::uint8_t> palette;      // PLTE as it is, 3 bytes a colour
    std::vector<std::uint8_t> rgb;          // width * height * 3
    std::vector<int> filters;               // each row's filter type
    std::vector<std::uint8_t> zlib;         // the IDAT chunks' data, joined
    std::string error;                      // empty when the whole file was read
};

inline PngFile ReadPng(const std::uint8_t* data, std::size_t size)
{
    PngFile png;
    auto big32 = [](const std::uint8_t* p) {
        return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 | p[2] << 8 | p[3];
    };
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (size < 8 || std::string(data, data + 8) != std::string(kSignature, kSignature + 8)) {
        png.error = "no PNG signature";
        return png;
    }
    std::vector<std::uint8_t> compressed;
    std::string order;          // one letter a chunk: H, P, D (runs of IDAT as one), E
    for (std::size_t at = 8;;) {
        if (size - at < 12) {
            png.error = "no IEND";
            return png;
        }
        std::uint32_t length = big32(data + at);
        if (length > size - at - 12) {
            png.error = "a chunk runs past the end";
            return png;
        }
        std::string type(data + at + 4, data + at + 8);
        const std::uint8_t* body = data + at + 8;
        if (crc32(crc32(0, nullptr, 0), data + at + 4, length + 4) != big32(body + length)) {
            png.error = type + ": wrong CRC";
            return png;
        }
        at += 12 + length;
        if (type == "IHDR") {
            if (length != 13 || !order.empty()) {
                png.error = "IHDR not first or not 13 bytes";
                return png;
            }
            png.width = static_cast<int>(big32(body));
            png.height = static_cast<int>(big32(body + 4));
            png.depth = body[8];
            if (body[9] != 3 || body[10] != 0 || body[11] != 0 || body[12] != 0
                || (png.depth != 1 && png.depth != 2 && png.depth != 4 && png.depth != 8)) {
                png.error = "not a plain palette picture";
                return png;
            }
            order += 'H';
        } else if (type == "PLTE") {
            png.palette.assign(body, body + length);
            order += 'P';
        } else if (type == "IDAT") {
            compressed.insert(compressed.end(), body, body + length);
            if (order.empty() || order.back() != 'D')
                order += 'D';
        } else if (type == "IEND") {
            order += 'E';
            if (at != size) {
                png.error = "bytes after IEND";
                return png;
            }
            break;
        } else {
            order += '?';
        }
    }
    if (order != "HPDE") {
        png.error = "chunks in the order " + order;
        return png;
    }
    if (png.palette.empty() || png.palette.size() % 3 != 0 || png.palette.size() / 3 > (1u << png.depth)) {
        png.error = "PLTE of " + std::to_string(png.palette.size()) + " bytes for " + std::to_string(png.depth) + " bits";
        return png;
    }
    std::size_t rowBytes = (static_cast<std::size_t>(png.width) * png.depth + 7) / 8;
    std::vector<std::uint8_t> raw((rowBytes + 1) * png.height + 1);
    uLongf rawSize = raw.size();
    if (uncompress(raw.data(), &rawSize, compressed.data(), compressed.size()) != Z_OK || rawSize != raw.size() - 1) {
        png.error = "the zlib stream does not inflate to the picture's size";
        return png;
    }
    png.zlib = std::move(compressed);
    std::vector<std::uint8_t> above(rowBytes, 0), row(rowBytes);
    png.rgb.resize(static_cast<std::size_t>(png.width) * png.height * 3);
    for (int y = 0; y < png.height; ++y) {
        const std::uint8_t* line = &raw[y * (rowBytes + 1)];
        int filter = line[0];
        png.filters.push_back(filter);
        for (std::size_t i = 0; i < rowBytes; ++i) {
            int a = i > 0 ? row[i - 1] : 0, b = above[i], c = i > 0 ? above[i - 1] : 0;
            int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
            int predicted = filter == 0 ? 0
                          : filter == 1 ? a
                          : filter == 2 ? b
                          : filter == 3 ? (a + b) / 2
                          : pa <= pb && pa <= pc ? a
                          : pb <= pc ? b : c;
            if (filter > 4) {
                png.error = "row " + std::to_string(y) + ": filter " + std::to_string(filter);
                return png;
            }
            row[i] = static_cast<std::uint8_t>(line[1 + i] + predicted);
        }
        for (int x = 0; x < png.width; ++x) {
            int bit = x * png.depth;
            unsigned index = (row[bit / 8] >> (8 - png.depth - bit % 8)) & ((1u << png.depth) - 1);
            if (index * 3 >= png.palette.size()) {
                png.error = "pixel " + std::to_string(x) + "," + std::to_string(y) + " past the palette";
                return png;
            }
            for (int k = 0; k < 3; ++k)
                png.rgb[(static_cast<std::size_t>(y) * png.width + x) * 3 + k] = png.palette[index * 3 + k];
        }
        above = row;
    }
    return png;
}
