#pragma once

#include <cstdint>

// Reads a number the way atoi does: leading white space, one optional sign,
// decimal digits up to the first other character; no digits reads as 0.
// Digits beyond the 32-bit range hold at INT32_MAX or INT32_MIN instead of
// wrapping, so a huge number never turns into a small or negative one.
std::int32_t ReadNumber(const char* text);
