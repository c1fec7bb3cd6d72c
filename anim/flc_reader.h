// FLC and FLI animations read one frame at a time from a stream of bytes.
// Memory holds the palette, one picture of colour indices and a bounded read
// buffer, whatever the file's size.
#pragma once

#include "anim/flc_decode.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// Where the reader gets its bytes: a file, a block of memory.
class FlcSource {
public:
    virtual ~FlcSource() = default;
    // Up to size bytes into `into`; fewer only at the end or on a read error.
    virtual std::size_t Read(unsigned char* into, std::size_t size) = 0;
    // To an absolute offset from the file's start; false when it cannot.
    virtual bool Seek(std::uint64_t offset) = 0;
};

// The largest frame chunk read: a picture of kFlcMaxPixels stored whole
// (or as a byte run of a noisy picture, which is slightly larger) with its
// palette. A smaller picture allows twice its pixels and the same margin.
// A larger frame is Damaged, so the reader holds at most this beside the
// picture: 4.3 MB at most (with a 4 MB picture), 0.19 MB for 320 x 200.
constexpr std::size_t kFlcFrameMargin = 65536;
std::size_t FlcFrameBound(const FlcInfo& info);

class FlcReader {
public:
    FlcReader();
    ~FlcReader();
    FlcReader(const FlcReader&) = delete;
    FlcReader& operator=(const FlcReader&) = delete;

    // Reads the header; the source must outlive the reader's use of it.
    // Frame: frame 1 may be asked for.
    FlcStatus Open(FlcSource& source);
    // Decodes the next frame into Indices() and Palette(). End after
    // Info().frames frames (a ring frame after them is never shown). After
    // Damaged (or NoMemory), FrameNumber() stays the last good picture's, but
    // Indices() and Palette() may hold a partly decoded one.
    FlcStatus NextFrame();
    // Back to before frame 1, for looping: picture all index 0, palette all
    // black. Frame, or Damaged when the source cannot seek.
    FlcStatus Rewind();

    // Where the reader stands after a frame: the next chunk's offset and the
    // frame's number. With that frame's picture and palette, kept by the
    // caller, Resume comes back to it without decoding from the start.
    struct Place {
        std::uint64_t position = 0;
        int frame = 0;
    };
    Place Here() const;
    // Back to `place` (taken from this file after a good frame), with the
    // picture and palette that frame left. Frame, or Damaged when the
    // source cannot seek.
    FlcStatus Resume(const Place& place, const std::uint8_t* indices, const std::uint8_t* palette);

    const FlcInfo& Info() const;
    const std::uint8_t* Indices() const;    // width * height, top row first
    const std::uint8_t* Palette() const;    // 256 colours as R, G, B, 0..255
    int FrameNumber() const;                // 1-based number of the picture held; 0 before frame 1

private:
    struct State;
    std::unique_ptr<State> state_;
};
