// A small stand-in for the FLC/FLI reader while the full one is written:
// palettes (4, 11), black (13), byte runs (15) and plain copies (16); other
// chunks are skipped by their size.
#include "anim/flc_reader.h"

#include <cstring>
#include <memory>

namespace {

std::uint32_t Get16(const unsigned char* p) { return p[0] | (p[1] << 8); }
std::uint32_t Get32(const unsigned char* p) { return Get16(p) | (Get16(p + 2) << 16); }

constexpr std::uint32_t kMaxFrameBytes = 16u << 20;

} // namespace

struct FlcReader::State {
    FlcSource* source = nullptr;
    FlcInfo info;
    std::uint64_t firstFrame = 0;
    std::uint64_t next = 0;
    int number = 0;
    std::unique_ptr<std::uint8_t[]> indices;
    std::size_t pixels = 0;
    std::uint8_t palette[768] = {};
    std::unique_ptr<unsigned char[]> chunk;
    std::size_t chunkCapacity = 0;

    bool ReadAt(std::uint64_t at, unsigned char* into, std::size_t size)
    {
        return source->Seek(at) && source->Read(into, size) == size;
    }

    void Palette(const unsigned char* p, const unsigned char* end, bool sixBits)
    {
        if (end - p < 2)
            return;
        int packets = static_cast<int>(Get16(p));
        p += 2;
        int colour = 0;
        for (int n = 0; n < packets && end - p >= 2; ++n) {
            colour += p[0];
            int count = p[1] == 0 ? 256 : p[1];
            p += 2;
            for (int c = 0; c < count && colour < 256 && end - p >= 3; ++c, ++colour, p += 3)
                for (int k = 0; k < 3; ++k)
                    palette[colour * 3 + k] = static_cast<std::uint8_t>(sixBits ? (p[k] << 2) | (p[k] >> 4) : p[k]);
        }
    }

    void ByteRun(const unsigned char* p, const unsigned char* end)
    {
        const int w = info.width;
        for (int y = 0; y < info.height && p < end; ++y) {
            ++p;    // packet count, not trusted
            std::uint8_t* line = &indices[static_cast<std::size_t>(y) * w];
            int x = 0;
            while (x < w && p < end) {
                int count = static_cast<signed char>(*p++);
                if (count < 0) {
                    for (int n = 0; n < -count && x < w && p < end; ++n)
                        line[x++] = *p++;
                } else {
                    if (p >= end)
                        break;
                    std::uint8_t value = *p++;
                    for (int n = 0; n < count && x < w; ++n)
                        line[x++] = value;
                }
            }
        }
    }
};

FlcReader::FlcReader() : state_(new State) {}
FlcReader::~FlcReader() = default;

FlcStatus FlcReader::Open(FlcSource& source)
{
    State& s = *state_;
    s.indices.reset();
    s.pixels = 0;
    s.number = 0;
    std::memset(s.palette, 0, sizeof s.palette);
    s.info = FlcInfo();
    s.source = &source;
    unsigned char header[128];
    if (!s.ReadAt(0, header, sizeof header))
        return FlcStatus::NotFlc;
    std::uint32_t magic = Get16(header + 4);
    if (magic != 0xAF11 && magic != 0xAF12)
        return FlcStatus::NotFlc;
    s.info.fli = magic == 0xAF11;
    s.info.frames = static_cast<int>(Get16(header + 6));
    s.info.width = static_cast<int>(Get16(header + 8));
    s.info.height = static_cast<int>(Get16(header + 10));
    s.info.delayMicroseconds = s.info.fli ? Get16(header + 16) * 1000000ull / 70 : Get32(header + 16) * 1000ull;
    if (s.info.width == 0 || s.info.height == 0 || s.info.frames == 0)
        return FlcStatus::Damaged;
    if (static_cast<std::uint64_t>(s.info.width) * s.info.height > kFlcMaxPixels)
        return FlcStatus::TooLarge;
    s.pixels = static_cast<std::size_t>(s.info.width) * s.info.height;
    s.indices.reset(new std::uint8_t[s.pixels]());
    s.firstFrame = s.info.fli ? 128 : Get32(header + 80);
    if (s.firstFrame < 128)
        s.firstFrame = 128;
    s.next = s.firstFrame;
    return FlcStatus::Frame;
}

FlcStatus FlcReader::NextFrame()
{
    State& s = *state_;
    if (s.source == nullptr || s.pixels == 0)
        return FlcStatus::Damaged;
    if (s.number >= s.info.frames)
        return FlcStatus::End;
    for (;;) {
        unsigned char head[6];
        if (!s.ReadAt(s.next, head, sizeof head))
            return FlcStatus::Damaged;
        std::uint32_t size = Get32(head);
        std::uint32_t type = Get16(head + 4);
        if (size < 6 || size > kMaxFrameBytes)
            return FlcStatus::Damaged;
        if (type != 0xF1FA) {
            s.next += size;
            continue;
        }
        if (s.chunkCapacity < size - 6) {
            s.chunk.reset(new unsigned char[size - 6]);
            s.chunkCapacity = size - 6;
        }
        if (size > 6 && s.source->Read(s.chunk.get(), size - 6) != size - 6)
            return FlcStatus::Damaged;
        s.next += size;
        const unsigned char* p = s.chunk.get();
        const unsigned char* end = p + (size - 6);
        if (end - p < 10)
            return FlcStatus::Damaged;
        int chunks = static_cast<int>(Get16(p));
        p += 10;
        for (int n = 0; n < chunks && end - p >= 6; ++n) {
            std::uint32_t subSize = Get32(p);
            std::uint32_t subType = Get16(p + 4);
            if (subSize < 6 || subSize > static_cast<std::uint32_t>(end - p))
                return FlcStatus::Damaged;
            const unsigned char* data = p + 6;
            const unsigned char* dataEnd = p + subSize;
            switch (subType) {
            case 4: s.Palette(data, dataEnd, false); break;
            case 11: s.Palette(data, dataEnd, true); break;
            case 13: std::memset(s.indices.get(), 0, s.pixels); break;
            case 15: s.ByteRun(data, dataEnd); break;
            case 16:
                if (static_cast<std::size_t>(dataEnd - data) >= s.pixels)
                    std::memcpy(s.indices.get(), data, s.pixels);
                break;
            default: break;
            }
            p = dataEnd;
        }
        ++s.number;
        return FlcStatus::Frame;
    }
}

FlcStatus FlcReader::Rewind()
{
    State& s = *state_;
    s.next = s.firstFrame;
    s.number = 0;
    return FlcStatus::Frame;
}

const FlcInfo& FlcReader::Info() const { return state_->info; }
const std::uint8_t* FlcReader::Indices() const { return state_->indices.get(); }
const std::uint8_t* FlcReader::Palette() const { return state_->palette; }
int FlcReader::FrameNumber() const { return state_->number; }
