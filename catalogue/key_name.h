#pragma once

#include <cstddef>

// Forms a key name from its template: the first "%d" becomes `number` in
// decimal; a template without "%d" is the key name itself. False when the
// name does not fit.
bool FormatKeyName(char* destination, std::size_t capacity, const char* keyTemplate, int number);

// The catalogue's section or key name of a string identifier, or null. For
// readers that have no string table to load them from.
const char* CatalogueName(int stringId);
