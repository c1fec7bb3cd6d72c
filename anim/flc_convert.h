// FLC/FLI animations kept as files today's programs open: the whole
// animation as a GIF that loops forever, one frame as a PNG. Lossless: each
// frame shows exactly its colours; the GIF's indices are the encoder's own.
#pragma once

#include "anim/byte_sink.h"
#include "anim/flc_reader.h"

#include <cstdint>

struct FlcConversion {
    FlcStatus status = FlcStatus::End;  // End: every frame written; NotFlc/TooLarge/Damaged as the reader says
    int frames = 0;             // frames written
    int damagedAt = 0;          // the frame where the file broke (frames before it were written); 0 if none
    bool slowed = false;        // faster than 50 frames a second: every frame kept, the GIF plays slower
    bool outputFailed = false;  // the sink refused a write (disk full...)
    bool outOfMemory = false;
};

// The whole animation. Nothing is written when not even frame 1 can be read.
FlcConversion ConvertFlcToGif(FlcSource& source, ByteSink& out);
// Frame `frame` (from 1) as a PNG. A frame past the last, or before the
// damage is reached: status End or Damaged, frames 0, nothing written.
FlcConversion ConvertFlcFrameToPng(FlcSource& source, int frame, ByteSink& out);

// How long frame `index` (from 0) shows in the GIF, in hundredths of a
// second: the file's pace rounded on the running time, so no remainder is
// lost from frame to frame; never under 2, which viewers play as 10.
constexpr int kGifMinimumDelay = 2;
int GifFrameDelay(std::uint64_t delayMicroseconds, int index);
// True when the file's pace is faster than the GIF can show (under 2).
bool GifSlowsDown(std::uint64_t delayMicroseconds);
