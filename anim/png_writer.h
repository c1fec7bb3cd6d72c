// One picture of colour indices as a PNG file with its palette (colour type 3):
// only the colours the picture uses, in as few bits a pixel as they need, each
// row behind the filter that suits it, compressed by zlib.
#pragma once

#include "anim/byte_sink.h"

#include <cstdint>

// indices: width * height, top row first; palette768: 256 colours as R, G, B.
// Every pixel keeps its colour; its index may change (unused colours are
// left out). False when the sink refused a write or memory ran out (then what
// was written is no whole file).
bool WritePng(ByteSink& out, const std::uint8_t* indices, int width, int height, const std::uint8_t* palette768);

// The same, telling the two failures apart. Out of memory is found before the
// first byte is written.
enum class PngResult { Written, OutputFailed, OutOfMemory };
PngResult WritePngFile(ByteSink& out, const std::uint8_t* indices, int width, int height,
                       const std::uint8_t* palette768);
