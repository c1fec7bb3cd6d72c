#include "anim/flc_reader.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// Chunks that are not frames (the FLC prefix, a segment table) are skipped by
// their size; this many in a row means the file is not what it claims.
constexpr int kMaxSkippedChunks = 16;

} // namespace

std::size_t FlcFrameBound(const FlcInfo& info)
{
    std::size_t pixels = static_cast<std::size_t>(info.width) * static_cast<std::size_t>(info.height);
    return std::min<std::size_t>(2 * pixels, kFlcMaxPixels) + kFlcFrameMargin;
}

struct FlcReader::State {
    FlcSource* source = nullptr;
    FlcStatus opened = FlcStatus::NotFlc;
    FlcInfo info;
    std::uint64_t position = 0;          // of the next chunk
    std::uint64_t firstFrame = kFlcHeaderSize;
    bool firstFrameKnown = false;
    int frame = 0;
    bool damaged = false;                // until Rewind: the place where it broke is unknown ground
    // Plain arrays: KORVAL.EXE links no std::vector, whose error paths bring
    // in much of the C++ library. An allocation that fails is an answer.
    std::unique_ptr<std::uint8_t[]> indices;
    std::size_t pixels = 0;
    std::unique_ptr<std::uint8_t[]> buffer;    // one frame chunk, grown up to the bound
    std::size_t bufferSize = 0;
    std::uint8_t palette[768] = {};

    // Reads exactly `size` bytes at the current position; the count read.
    std::size_t Read(std::uint8_t* into, std::size_t size)
    {
        std::size_t total = 0;
        while (total < size) {
            std::size_t got = source->Read(into + total, size - total);
            if (got == 0)
                break;
            total += got;
        }
        position += total;
        return total;
    }

    bool SeekTo(std::uint64_t offset)
    {
        if (!source->Seek(offset))
            return false;
        position = offset;
        return true;
    }

    // The next frame chunk, past what is not one, into the picture.
    FlcStatus Decode();

    void Clear()
    {
        if (pixels != 0)
            std::memset(indices.get(), 0, pixels);
        std::memset(palette, 0, sizeof palette);
        frame = 0;
        damaged = false;
    }
};

FlcReader::FlcReader() : state_(new State) {}
FlcReader::~FlcReader() = default;

FlcStatus FlcReader::Open(FlcSource& source)
{
    State& s = *state_;
    s.source = &source;
    s.info = FlcInfo();
    s.indices.reset();
    s.pixels = 0;
    s.buffer.reset();
    s.bufferSize = 0;
    s.firstFrame = kFlcHeaderSize;
    s.firstFrameKnown = false;
    s.position = 0;
    std::uint8_t header[kFlcHeaderSize];
    if (!source.Seek(0)) {
        s.opened = FlcStatus::NotFlc;
        return s.opened;
    }
    std::size_t got = s.Read(header, sizeof header);
    s.opened = ParseFlcHeader(header, got, s.info);
    // The magic, but no whole header: a file cut short.
    if (got >= 6 && got < kFlcHeaderSize) {
        unsigned magic = header[4] | header[5] << 8;
        if (magic == kFlcMagic || magic == kFliMagic)
            s.opened = FlcStatus::Damaged;
    }
    if (s.opened != FlcStatus::Frame)
        return s.opened;
    std::size_t pixels = static_cast<std::size_t>(s.info.width) * static_cast<std::size_t>(s.info.height);
    s.indices.reset(new (std::nothrow) std::uint8_t[pixels]);
    if (!s.indices) {
        s.opened = FlcStatus::NoMemory;
        return s.opened;
    }
    s.pixels = pixels;
    s.Clear();
    return s.opened;
}

FlcStatus FlcReader::NextFrame()
{
    State& s = *state_;
    if (s.opened != FlcStatus::Frame)
        return s.opened;
    if (s.damaged)
        return FlcStatus::Damaged;
    if (s.frame >= s.info.frames)
        return FlcStatus::End;
    FlcStatus status = s.Decode();
    if (status == FlcStatus::Frame)
        ++s.frame;
    else
        s.damaged = true;
    return status;
}

FlcStatus FlcReader::State::Decode()
{
    for (int skipped = 0; skipped <= kMaxSkippedChunks; ++skipped) {
        std::uint64_t start = position;
        std::uint8_t head[kFlcChunkHeaderSize];
        if (Read(head, sizeof head) != sizeof head)
            return FlcStatus::Damaged;
        FlcCursor cursor(head, sizeof head);
        std::uint32_t size;
        std::uint16_t type;
        cursor.Dword(size);
        cursor.Word(type);
        if (size < kFlcChunkHeaderSize)
            return FlcStatus::Damaged;
        if (type != kFlcFrameChunk) {
            if (!SeekTo(start + size))
                return FlcStatus::Damaged;
            continue;
        }
        if (size < kFlcFrameHeaderSize || size > FlcFrameBound(info))
            return FlcStatus::Damaged;
        if (!firstFrameKnown) {
            firstFrame = start;
            firstFrameKnown = true;
        }
        std::size_t body = size - kFlcChunkHeaderSize;
        if (bufferSize < body) {
            buffer.reset(new (std::nothrow) std::uint8_t[body]);
            bufferSize = buffer ? body : 0;
            if (!buffer)
                return FlcStatus::NoMemory;
        }
        std::size_t present = Read(buffer.get(), body);
        FlcPicture picture{indices.get(), info.width, info.height, palette};
        return DecodeFlcFrame(buffer.get(), body, present, picture);
    }
    return FlcStatus::Damaged;
}

FlcStatus FlcReader::Rewind()
{
    State& s = *state_;
    if (s.opened != FlcStatus::Frame)
        return s.opened;
    if (!s.SeekTo(s.firstFrame))
        return FlcStatus::Damaged;
    s.Clear();
    return FlcStatus::Frame;
}

FlcReader::Place FlcReader::Here() const
{
    return {state_->position, state_->frame};
}

FlcStatus FlcReader::Resume(const Place& place, const std::uint8_t* indices, const std::uint8_t* palette)
{
    State& s = *state_;
    if (s.opened != FlcStatus::Frame)
        return s.opened;
    if (place.frame < 1 || place.frame > s.info.frames || !s.SeekTo(place.position))
        return FlcStatus::Damaged;
    std::memcpy(s.indices.get(), indices, s.pixels);
    std::memcpy(s.palette, palette, sizeof s.palette);
    s.frame = place.frame;
    s.damaged = false;
    return FlcStatus::Frame;
}

const FlcInfo& FlcReader::Info() const { return state_->info; }
const std::uint8_t* FlcReader::Indices() const { return state_->indices.get(); }
const std::uint8_t* FlcReader::Palette() const { return state_->palette; }
int FlcReader::FrameNumber() const { return state_->frame; }
