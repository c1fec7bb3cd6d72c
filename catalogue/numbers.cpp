#include "catalogue/numbers.h"

#include <cstdint>

namespace {

bool IsAtoiSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

std::int32_t ReadNumber(const char* text)
{
    while (IsAtoiSpace(*text))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT32_MIN) : INT32_MAX;
    std::int64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > limit)
            value = limit;       // keep reading digits, but hold at the edge
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}
