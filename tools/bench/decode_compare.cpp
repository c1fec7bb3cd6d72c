// korval-decode-compare FILE...: KORVAL's decoder against libavcodec's FLIC
// decoder, both in this process over a file held in memory. Each side decodes
// the file's declared frames over and over; the sides take turns, and the
// fastest of the runs of each (CPU time) counts. One line per file:
//   FILE FRAMES OURS-FRAMES-PER-SECOND THEIRS-FRAMES-PER-SECOND THEIRS-TIME/OURS-TIME RUNS
// (FRAMES: of one loop; a last frame cut short, which libavformat drops, is
// left out on both sides.) KORVAL_COMPARE_RUNS: the runs of each side (15).
#include "anim/flc_reader.h"
#include "anim/flc_sources.h"
#include "lavc_flic.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

// The process's CPU time: what others on the machine take in between does
// not count.
double CpuSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Our reader over the file's first `count` frames, `loops` times through;
// the frames decoded.
long DecodeOurs(FlcReader& reader, int loops, int count)
{
    long frames = 0;
    for (int loop = 0; loop < loops; ++loop) {
        reader.Rewind();
        for (int i = 0; i < count && reader.NextFrame() == FlcStatus::Frame; ++i)
            ++frames;
    }
    return frames;
}

} // namespace

int main(int argc, char** argv)
{
    const char* runsText = std::getenv("KORVAL_COMPARE_RUNS");
    const int runs = runsText ? std::max(1, std::atoi(runsText)) : 15;
    int failed = 0;
    for (int a = 1; a < argc; ++a) {
        std::ifstream in(argv[a], std::ios::binary);
        std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        FlcMemorySource source(file.data(), file.size());
        FlcReader reader;
        LavcFlic* theirs = nullptr;
        if (reader.Open(source) != FlcStatus::Frame
            || !(theirs = LavcFlicOpen(argv[a], reader.Info().frames))) {
            std::fprintf(stderr, "%s: not decoded by both\n", argv[a]);
            ++failed;
            continue;
        }
        // The same frames on both sides: those libavformat hands on.
        const int perLoop = LavcFlicFrames(theirs);
        // Loops enough for about 20 ms of our decoding per run, or as many as
        // KORVAL_COMPARE_LOOPS says (for counting instructions under callgrind).
        const char* fixedLoops = std::getenv("KORVAL_COMPARE_LOOPS");
        int loops = fixedLoops ? std::max(1, std::atoi(fixedLoops)) : 1;
        while (!fixedLoops) {
            double start = CpuSeconds();
            DecodeOurs(reader, loops, perLoop);
            if (CpuSeconds() - start > 0.02 || loops > (1 << 24))
                break;
            loops *= 2;
        }
        double bestOurs = 1e30, bestTheirs = 1e30;
        bool whole = true;
        for (int run = 0; run < runs; ++run) {
            for (int side = 0; side < 2; ++side) {
                bool ours = (side + run) % 2 == 0;
                double start = CpuSeconds();
                long frames = ours ? DecodeOurs(reader, loops, perLoop) : LavcFlicDecode(theirs, loops);
                double seconds = CpuSeconds() - start;
                whole = whole && frames == static_cast<long>(perLoop) * loops;
                double& best = ours ? bestOurs : bestTheirs;
                best = std::min(best, seconds);
            }
        }
        LavcFlicClose(theirs);
        if (!whole) {
            std::fprintf(stderr, "%s: a side did not decode every frame\n", argv[a]);
            ++failed;
            continue;
        }
        double frames = static_cast<double>(perLoop) * loops;
        std::printf("%s %d %.0f %.0f %.2f %d\n", argv[a], perLoop, frames / bestOurs, frames / bestTheirs, bestTheirs / bestOurs, runs);
    }
    return failed == 0 ? 0 : 1;
}
