// Any bytes as an FLC or FLI file, kept as a GIF and as a PNG: the encoder
// stays within its buffers, writes nothing when there is no frame, and the
// GIF it writes reads back (the tests' own reader) to the decoder's frames.
// A sink that fails half-way is said to have failed.
#include "anim/flc_convert.h"
#include "anim/flc_sources.h"
#include "fuzz_input.h"
#include "tests/support/gif_read.h"
#include "tests/support/memory_sink.h"

#include <cstdio>
#include <vector>

namespace {

// Pictures up to this size are read back; larger ones are only written.
constexpr int kReadBackPixels = 65536;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FlcMemorySource source(data, size);
    MemorySink gif;
    FlcConversion result = ConvertFlcToGif(source, gif);
    FUZZ_CHECK(!result.outputFailed);
    FUZZ_CHECK((result.frames == 0) == gif.bytes.empty());
    FUZZ_CHECK(result.status != FlcStatus::Frame);
    FUZZ_CHECK((result.damagedAt != 0) == (result.status == FlcStatus::Damaged));

    FlcReader reader;
    FlcMemorySource again(data, size);
    if (result.frames > 0 && reader.Open(again) == FlcStatus::Frame) {
        const FlcInfo& info = reader.Info();
        FUZZ_CHECK(result.damagedAt == 0 || result.damagedAt == result.frames + 1);
        if (info.width * info.height <= kReadBackPixels) {
            GifFile read = ReadGif(gif.bytes.data(), gif.bytes.size());
            FUZZ_CHECK(read.error.empty() && read.trailer && read.loops == 0);
            FUZZ_CHECK(static_cast<int>(read.frames.size()) == result.frames);
            std::vector<std::vector<std::uint8_t>> shown = GifPictures(read);
            for (std::size_t i = 0; i < read.frames.size(); ++i) {
                FUZZ_CHECK(reader.NextFrame() == FlcStatus::Frame);
                FUZZ_CHECK(read.frames[i].delay >= kGifMinimumDelay);
                FUZZ_CHECK(shown[i] == IndicesToRgb(reader.Indices(), static_cast<std::size_t>(info.width) * info.height,
                                                    reader.Palette()));
                FUZZ_CHECK(read.frames[i].palette == std::vector<std::uint8_t>(reader.Palette(), reader.Palette() + 768));
            }
            // The same output failing half-way.
            FlcMemorySource third(data, size);
            MemorySink half(gif.bytes.size() / 2);
            FUZZ_CHECK(ConvertFlcToGif(third, half).outputFailed);
        }
    }

    FlcMemorySource fourth(data, size);
    MemorySink png;
    int frame = 1 + static_cast<int>(size % 3);
    FlcConversion still = ConvertFlcFrameToPng(fourth, frame, png);
    FUZZ_CHECK(!still.outputFailed);
    FUZZ_CHECK((still.frames == 1) == !png.bytes.empty());
    FUZZ_CHECK(still.frames == 0 || (png.bytes.size() > 8 && png.bytes[1] == 'P'));
    return 0;
}
