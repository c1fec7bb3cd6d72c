// One picture of colour indices as a PNG file with its palette (8 bits per
// pixel, colour type 3), compressed with a small deflate of its own.
#pragma once

#include "anim/byte_sink.h"

#include <cstdint>

// indices: width * height, top row first; palette768: 256 colours as R, G, B.
// False when the sink refused a write or memory ran out (then what was
// written is no whole file).
bool WritePng(ByteSink& out, const std::uint8_t* indices, int width, int height, const std::uint8_t* palette768);

// The same, telling the two failures apart.
enum class PngResult { Written, OutputFailed, OutOfMemory };
PngResult WritePngFile(ByteSink& out, const std::uint8_t* indices, int width, int height,
                       const std::uint8_t* palette768);
