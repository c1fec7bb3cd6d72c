#pragma once

#include <cstddef>

constexpr std::size_t kMessageSize = 160;

// Puts `argument` in place of the "%s" of `format`. When the whole text does
// not fit the 160-byte message, the argument (a path) loses its middle to
// "...", keeping its start and its file name, so what shows is never a
// different path that looks whole.
void FormatMessageText(char* destination, const char* format, const char* argument);
