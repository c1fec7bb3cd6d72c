// Bounded text: every copy, append and format into a fixed buffer goes through
// these helpers. They always terminate the destination and say whether the whole
// text fitted, so a caller whose text must not be cut (a path, a command line)
// can refuse instead of going on with a shortened one.
#pragma once

#include <cstddef>

bool CopyText(char* destination, std::size_t capacity, const char* source);
bool AppendText(char* destination, std::size_t capacity, const char* source);
bool FormatText(char* destination, std::size_t capacity, const char* format, ...);
// Appends `number` in decimal, as "%d" writes it (the loader formats hundreds
// of numbers: this is much cheaper than a format).
bool AppendNumber(char* destination, std::size_t capacity, long number);

template <std::size_t N>
bool CopyText(char (&destination)[N], const char* source)
{
    return CopyText(destination, N, source);
}

template <std::size_t N>
bool AppendText(char (&destination)[N], const char* source)
{
    return AppendText(destination, N, source);
}

template <std::size_t N>
bool AppendNumber(char (&destination)[N], long number)
{
    return AppendNumber(destination, N, number);
}

template <std::size_t N, typename... Args>
bool FormatText(char (&destination)[N], const char* format, Args... args)
{
    return FormatText(destination, N, format, args...);
}

// Length of a text that may lack its terminator within `capacity` bytes.
std::size_t BoundedLength(const char* text, std::size_t capacity);
