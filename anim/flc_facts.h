// The facts of an animation in one line, as the preview and korval-check
// show them: "320 × 200, 24 Bilder, 2,4 s" (Windows-1252 text).
#pragma once

#include "anim/flc_decode.h"

#include <cstddef>

// Width × height, the frame count ("1 Bild" for one) and the total time,
// frames × delay rounded to tenths of a second, with a decimal comma. True
// when the text fitted.
bool FormatFlcFacts(char* text, std::size_t capacity, const FlcInfo& info);

// The total time alone: "2,4 s".
bool FormatFlcDuration(char* text, std::size_t capacity, const FlcInfo& info);

template <std::size_t N>
bool FormatFlcFacts(char (&text)[N], const FlcInfo& info)
{
    return FormatFlcFacts(text, N, info);
}
