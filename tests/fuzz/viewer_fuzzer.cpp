// Any bytes as an animation the viewer steps through: every frame it shows,
// forwards, backwards and by jumps, is the picture and palette a plain
// reading from the start gives, and nothing is read or written outside the
// buffers (the kept pictures and the reader's place included).
#include "anim/flc_reader.h"
#include "anim/flc_sources.h"
#include "fuzz_input.h"
#include "watch/viewer_reading.h"

#include <cstdio>
#include <vector>

namespace {

constexpr int kMostFrames = 48;                 // enough to go round the kept pictures
constexpr std::size_t kMostPixels = 1u << 16;   // the reader alone is fuzzed larger

std::uint64_t Hash(const std::uint8_t* indices, std::size_t pixels, const std::uint8_t* palette)
{
    std::uint64_t hash = 1469598103934665603ull;
    for (std::size_t i = 0; i < pixels; ++i)
        hash = (hash ^ indices[i]) * 1099511628211ull;
    for (int i = 0; i < 768; ++i)
        hash = (hash ^ palette[i]) * 1099511628211ull;
    return hash;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FlcMemorySource plainSource(data, size);
    FlcReader plain;
    if (plain.Open(plainSource) != FlcStatus::Frame)
        return 0;
    const std::size_t pixels = static_cast<std::size_t>(plain.Info().width) * plain.Info().height;
    if (pixels > kMostPixels)
        return 0;
    std::vector<std::uint64_t> pictures;
    while (static_cast<int>(pictures.size()) < kMostFrames && plain.NextFrame() == FlcStatus::Frame)
        pictures.push_back(Hash(plain.Indices(), pixels, plain.Palette()));

    FlcMemorySource source(data, size);
    ViewerReading reading;
    reading.Open(&source);
    FUZZ_CHECK(reading.Facts().answer == PreviewAnswer::Playing);
    const int count = static_cast<int>(pictures.size());
    std::vector<int> order;
    for (int n = 1; n <= count; ++n)
        order.push_back(n);
    for (int n = count; n >= 1; --n)
        order.push_back(n);
    for (int n = 1; n <= count; n += 7)
        order.push_back(count + 1 - n);
    for (int n : order) {
        FUZZ_CHECK(reading.Seek(n));
        FUZZ_CHECK(reading.FrameNumber() == n);
        FUZZ_CHECK(Hash(reading.Indices(), pixels, reading.Palette()) == pictures[n - 1]);
    }
    // Past the frames it could read, a seek fails and says where it broke.
    if (count < kMostFrames && count < reading.Facts().info.frames) {
        FUZZ_CHECK(!reading.Seek(count + 1));
        FUZZ_CHECK(reading.LastFrame() == count);
        FUZZ_CHECK(count == 0 || reading.Seek(1));
    }
    return 0;
}
