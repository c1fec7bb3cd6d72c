// The number reader against the C library's strtoll, held to 32 bits.
#include "catalogue/numbers.h"
#include "fuzz_input.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    const char* start = text.c_str();
    // strtoll also reads hexadecimal with a base of 0 and skips the same white
    // space as atoi in the C locale; with base 10 only decimal digits count.
    long long expected = std::strtoll(start, nullptr, 10);
    if (expected > INT32_MAX)
        expected = INT32_MAX;
    if (expected < INT32_MIN)
        expected = INT32_MIN;
    FUZZ_CHECK(ReadNumber(start) == expected);
    return 0;
}
