// flc-frames FILE: every frame KORVAL's reader decodes from FILE, as 24-bit
// RGB pixels one after the other on standard output (as ffmpeg's rawvideo
// rgb24 writes them); on standard error one line: "WIDTH HEIGHT FRAMES STATUS".
#include "anim/flc_reader.h"
#include "anim/flc_sources.h"
#include "tests/support/flc_status_name.h"

#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: flc-frames FILE\n");
        return 2;
    }
    FlcFileSource source;
    switch (source.Open(argv[1])) {
    case FlcFileSource::Opened::Yes: break;
    case FlcFileSource::Opened::NotFound: std::fprintf(stderr, "%s: no such file\n", argv[1]); return 2;
    case FlcFileSource::Opened::NotRegular: std::fprintf(stderr, "%s: not a regular file\n", argv[1]); return 2;
    case FlcFileSource::Opened::CannotRead: std::fprintf(stderr, "%s: cannot be read\n", argv[1]); return 2;
    }
    FlcReader reader;
    FlcStatus status = reader.Open(source);
    const FlcInfo& info = reader.Info();
    std::vector<unsigned char> rgb(static_cast<std::size_t>(info.width) * info.height * 3);
    while (status == FlcStatus::Frame && (status = reader.NextFrame()) == FlcStatus::Frame) {
        const std::uint8_t* indices = reader.Indices();
        const std::uint8_t* palette = reader.Palette();
        for (std::size_t i = 0; i < rgb.size() / 3; ++i) {
            for (int c = 0; c < 3; ++c)
                rgb[i * 3 + c] = palette[indices[i] * 3 + c];
        }
        std::fwrite(rgb.data(), 1, rgb.size(), stdout);
    }
    std::fprintf(stderr, "%d %d %d %s\n", info.width, info.height, reader.FrameNumber(), FlcStatusName(status));
    return 0;
}
