// FLC and FLI animations read one frame at a time from a stream of bytes.
// Memory holds the palette, one picture of colour indices and a bounded read
// buffer, whatever the file's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

constexpr std::uint32_t kFlcMaxPixels = 4194304;    // larger pictures are refused

// Where the reader gets its bytes: a file, a block of memory.
class FlcSource {
public:
    virtual ~FlcSource() = default;
    // Up to size bytes into `into`; fewer only at the end or on a read error.
    virtual std::size_t Read(unsigned char* into, std::size_t size) = 0;
    // To an absolute offset from the file's start; false when it cannot.
    virtual bool Seek(std::uint64_t offset) = 0;
};

enum class FlcStatus {
    Frame,      // a new picture is ready
    End,        // past the last frame; Rewind starts again at frame 1
    NotFlc,     // neither an FLC nor an FLI file
    TooLarge,   // more than kFlcMaxPixels pixels
    Damaged,    // the file breaks here; the pictures before stay good
};

struct FlcInfo {
    bool fli = false;                   // FLI (0xAF11) rather than FLC (0xAF12)
    int width = 0;
    int height = 0;
    int frames = 0;                     // as declared, without the ring frame
    std::uint64_t delayMicroseconds = 0;    // between two frames
};

class FlcReader {
public:
    FlcReader();
    ~FlcReader();
    FlcReader(const FlcReader&) = delete;
    FlcReader& operator=(const FlcReader&) = delete;

    // Reads the header; the source must outlive the reader's use of it.
    FlcStatus Open(FlcSource& source);
    // Decodes the next frame into Indices() and Palette().
    FlcStatus NextFrame();
    // Back to before frame 1, for looping.
    FlcStatus Rewind();

    const FlcInfo& Info() const;
    const std::uint8_t* Indices() const;    // width * height, top row first
    const std::uint8_t* Palette() const;    // 256 colours as R, G, B, 0..255
    int FrameNumber() const;                // 1-based number of the picture held; 0 before frame 1

private:
    struct State;
    std::unique_ptr<State> state_;
};
