// The FLC/FLI decoder's core: it owns no memory. It reads the 128-byte header
// and one frame's chunks from bytes it is handed, through a cursor that knows
// how many bytes remain, into a picture and palette it is handed, and answers
// each call with a status. FlcReader (flc_reader.h) streams a file through it.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::uint32_t kFlcMaxPixels = 4194304;    // larger pictures are refused
constexpr std::size_t kFlcHeaderSize = 128;
constexpr std::uint16_t kFlcMagic = 0xAF12;
constexpr std::uint16_t kFliMagic = 0xAF11;
constexpr std::uint16_t kFlcPrefixChunk = 0xF100;
constexpr std::uint16_t kFlcFrameChunk = 0xF1FA;
constexpr std::size_t kFlcChunkHeaderSize = 6;     // size (32 bits), type (16 bits)
constexpr std::size_t kFlcFrameHeaderSize = 16;    // chunk header, count, delay, reserved, width, height

// The sub-chunks of a frame.
enum FlcChunkType : std::uint16_t {
    kFlcPalette256 = 4,
    kFlcWordDelta = 7,
    kFlcPalette64 = 11,
    kFlcByteDelta = 12,
    kFlcBlack = 13,
    kFlcByteRun = 15,
    kFlcCopy = 16,
    kFlcPostageStamp = 18,
};

enum class FlcStatus {
    Frame,      // a new picture is ready
    End,        // past the last frame; Rewind starts again at frame 1
    NotFlc,     // neither an FLC nor an FLI file
    TooLarge,   // more than kFlcMaxPixels pixels
    Damaged,    // the file breaks here; the pictures before stay good
    NoMemory,   // this machine gave no room for the picture or a frame: not the file's fault
};

struct FlcInfo {
    bool fli = false;                   // FLI (0xAF11) rather than FLC (0xAF12)
    int width = 0;
    int height = 0;
    int frames = 0;                     // as declared, without the ring frame
    std::uint64_t delayMicroseconds = 0;    // between two frames
};

// Little-endian reads over bytes that know their end. Every read answers
// false, and takes nothing, when fewer bytes remain than it needs.
class FlcCursor {
public:
    FlcCursor(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t Remaining() const { return size_; }
    bool Byte(std::uint8_t& value);
    bool Word(std::uint16_t& value);
    bool Dword(std::uint32_t& value);
    // `size` bytes in place: `bytes` points at them, the cursor moves past.
    bool Take(std::size_t size, const std::uint8_t*& bytes);
    bool Skip(std::size_t size);

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// What a frame is decoded into: width * height colour indices, top row
// first, and 256 colours as R, G, B.
struct FlcPicture {
    std::uint8_t* indices;
    int width;
    int height;
    std::uint8_t* palette;      // 768 bytes
};

// The header's facts. Frame: good, frame 1 may be read; NotFlc: not the
// magic of either kind, not 8 bits deep (0 is read as 8), or fewer than 128
// bytes; TooLarge: more than kFlcMaxPixels; Damaged: no picture or no frame
// declared.
FlcStatus ParseFlcHeader(const std::uint8_t* header, std::size_t size, FlcInfo& info);

// One frame chunk's body (what follows its 6-byte header): `declared` bytes,
// of which `present` are at `body` (fewer when the file ends early), applied
// to the picture. A frame without sub-chunks leaves the picture as it was.
// Damaged when a sub-chunk ends before what it declares or draws below the
// picture's last line, or when the frame's work passes a bound that comes
// from the picture's size, whatever its counts say (8 times its pixels and a
// margin; every sub-chunk, line, packet, pixel and colour counts one).
FlcStatus DecodeFlcFrame(const std::uint8_t* body, std::size_t declared, std::size_t present, FlcPicture& picture);
