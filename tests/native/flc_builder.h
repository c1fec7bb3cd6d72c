// A small writer of FLC and FLI files for the decoder's tests: chunks are
// put together by hand, so a test can write what no encoder would.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline void PutWord(Bytes& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void PutDword(Bytes& out, std::uint32_t value)
{
    PutWord(out, value & 0xFFFF);
    PutWord(out, value >> 16);
}

inline Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

// A chunk: its size (the 6-byte header included, unless `size` says
// otherwise), its type, its payload.
inline Bytes Chunk(unsigned type, const Bytes& payload, std::uint32_t size = 0)
{
    Bytes out;
    PutDword(out, size != 0 ? size : static_cast<std::uint32_t>(payload.size() + 6));
    PutWord(out, type);
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

// A frame chunk holding `chunks`; `count` is what its header declares
// (-1: the number of chunks).
inline Bytes Frame(std::initializer_list<Bytes> chunks, int count = -1, std::uint32_t size = 0)
{
    Bytes body;
    PutWord(body, count >= 0 ? static_cast<unsigned>(count) : static_cast<unsigned>(chunks.size()));
    for (int i = 0; i < 4; ++i)
        PutWord(body, 0);    // delay, reserved, width, height
    for (const Bytes& chunk : chunks)
        body.insert(body.end(), chunk.begin(), chunk.end());
    return Chunk(0xF1FA, body, size);
}

// The 128-byte header; `delay` in milliseconds (FLC) or 1/70 s (FLI).
inline Bytes Header(bool fli, unsigned width, unsigned height, unsigned frames, std::uint32_t delay,
                    unsigned depth = 8, std::uint32_t fileSize = 0)
{
    Bytes out;
    PutDword(out, fileSize);
    PutWord(out, fli ? 0xAF11 : 0xAF12);
    PutWord(out, frames);
    PutWord(out, width);
    PutWord(out, height);
    PutWord(out, depth);
    PutWord(out, 0);    // flags
    if (fli) {
        PutWord(out, delay);
        PutWord(out, 0);
    } else {
        PutDword(out, delay);
    }
    out.resize(128, 0);
    return out;
}

// A whole file; the header's size field says what the file holds.
inline Bytes File(bool fli, unsigned width, unsigned height, unsigned frames, std::uint32_t delay,
                  std::initializer_list<Bytes> chunks)
{
    Bytes out = Header(fli, width, height, frames, delay);
    for (const Bytes& chunk : chunks)
        out.insert(out.end(), chunk.begin(), chunk.end());
    std::uint32_t size = static_cast<std::uint32_t>(out.size());
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<std::uint8_t>(size >> (8 * i));
    return out;
}

// The COPY chunk of a picture, and a 256-level palette chunk of one packet.
inline Bytes CopyChunk(const Bytes& pixels)
{
    return Chunk(16, pixels);
}

inline Bytes PaletteChunk(unsigned first, const Bytes& rgb)
{
    Bytes payload;
    PutWord(payload, 1);
    payload.push_back(static_cast<std::uint8_t>(first));
    payload.push_back(static_cast<std::uint8_t>(rgb.size() / 3 == 256 ? 0 : rgb.size() / 3));
    payload.insert(payload.end(), rgb.begin(), rgb.end());
    return Chunk(4, payload);
}
