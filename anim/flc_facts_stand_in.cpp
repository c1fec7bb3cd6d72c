#include "anim/flc_facts.h"

#include <cstdio>

bool FormatFlcFacts(char* text, std::size_t capacity, const FlcInfo& info)
{
    unsigned long long tenths = (static_cast<unsigned long long>(info.frames) * info.delayMicroseconds + 50000) / 100000;
    int written = std::snprintf(text, capacity, "%d \xD7 %d, %d %s, %llu,%llu s", info.width, info.height, info.frames,
                                info.frames == 1 ? "Bild" : "Bilder", tenths / 10, tenths % 10);
    return written >= 0 && static_cast<std::size_t>(written) < capacity;
}
