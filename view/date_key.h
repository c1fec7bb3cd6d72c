// The key that orders rows by date.
#pragma once

#include <cstddef>

constexpr std::size_t kDateKeySize = 12;

// Builds the key of a date written as day.month.year: year modulo 99, month and
// day, each with at least two digits ("24.12.1999" gives "191224"), so that the
// keys' text order is the dates' order.
void BuildDateKey(char (&key)[kDateKeySize], const char* date);

// Where the year of a date stands: the text after its second full stop; null
// when the date has no second full stop.
const char* DateYearText(const char* date);
