// Any bytes as an FLC or FLI file: the reader never reads or writes outside
// its buffers, never loops without end, and stops for good once it breaks.
#include "anim/flc_reader.h"
#include "anim/flc_sources.h"
#include "fuzz_input.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FlcMemorySource source(data, size);
    FlcReader reader;
    if (reader.Open(source) != FlcStatus::Frame)
        return 0;
    const FlcInfo& info = reader.Info();
    FUZZ_CHECK(info.width > 0 && info.height > 0 && info.frames > 0);
    FUZZ_CHECK(static_cast<std::uint64_t>(info.width) * info.height <= kFlcMaxPixels);
    // Twice through, as the preview loops.
    for (int round = 0; round < 2; ++round) {
        FlcStatus status = FlcStatus::Frame;
        int frames = 0;
        while ((status = reader.NextFrame()) == FlcStatus::Frame) {
            ++frames;
            FUZZ_CHECK(reader.FrameNumber() == frames);
            // Every pixel readable (ASan sees a short picture).
            unsigned sum = 0;
            for (int i = 0; i < info.width * info.height; i += 61)
                sum += reader.Indices()[i];
            sum += reader.Palette()[767];
            (void)sum;
        }
        FUZZ_CHECK(frames <= info.frames);
        FUZZ_CHECK(status == FlcStatus::End || status == FlcStatus::Damaged);
        FUZZ_CHECK(status != FlcStatus::End || frames == info.frames);
        FUZZ_CHECK(reader.NextFrame() == status);
        if (reader.Rewind() != FlcStatus::Frame)
            break;
        FUZZ_CHECK(reader.FrameNumber() == 0);
    }
    return 0;
}
