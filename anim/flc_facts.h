// The facts of an animation in one line, as the preview shows them.
#pragma once

#include "anim/flc_reader.h"

#include <cstddef>

// "320 \xD7 200, 24 Bilder, 2,4 s" in Windows-1252; true when it fitted.
bool FormatFlcFacts(char* text, std::size_t capacity, const FlcInfo& info);

template <std::size_t N>
bool FormatFlcFacts(char (&text)[N], const FlcInfo& info)
{
    return FormatFlcFacts(text, N, info);
}
