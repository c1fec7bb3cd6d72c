#include "anim/flc_facts.h"

#include "base/text.h"

namespace {

// `number` in decimal into `digits` (at least 21 bytes).
void Decimal(char* digits, std::uint64_t number)
{
    char reversed[21];
    int count = 0;
    do {
        reversed[count++] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number != 0);
    for (int i = 0; i < count; ++i)
        digits[i] = reversed[count - 1 - i];
    digits[count] = '\0';
}

} // namespace

bool FormatFlcDuration(char* text, std::size_t capacity, const FlcInfo& info)
{
    std::uint64_t tenths = (static_cast<std::uint64_t>(info.frames) * info.delayMicroseconds + 50000) / 100000;
    char seconds[24];
    Decimal(seconds, tenths / 10);
    return FormatText(text, capacity, "%s,%d s", seconds, static_cast<int>(tenths % 10));
}

bool FormatFlcFacts(char* text, std::size_t capacity, const FlcInfo& info)
{
    char duration[32];
    FormatFlcDuration(duration, sizeof duration, info);
    return FormatText(text, capacity, "%d \xD7 %d, %d %s, %s", info.width, info.height, info.frames,
                      info.frames == 1 ? "Bild" : "Bilder", duration);
}
