// Turning a folder setting of the catalogue into a full folder.
#pragma once

#include "base/sizes.h"

#include <cstddef>

// Longest setting value that is resolved: as long as the longest folder. A
// value is read into kFolderValueSize bytes, one more than it needs, so that a
// longer one comes back longer than kFolderValueMax, never cut to fit it.
constexpr std::size_t kFolderValueMax = kPathSize - 1;
constexpr std::size_t kFolderValueSize = kFolderValueMax + 2;

// Upper-cases single-byte text in place as the Windows-1252 code page does:
// a-z and the accented small letters become capitals; sharp s and micro stay.
void UpperCaseAnsi(char* text);

// Resolves the setting `value` against the folder of the catalogue file
// `cataloguePath` into `destination`: an upper-case folder ending in a
// backslash. An empty value gives the catalogue's folder; a value whose second
// character is ":" names its folder whole; any other value is relative to the
// catalogue's folder, with one leading backslash passed over and each leading
// "..\" climbing one folder (never above the root). `upperCase` upper-cases in
// place (the platform's mapping, or UpperCaseAnsi).
// Returns false, with `destination` empty, when the folder cannot be held
// whole in `capacity` bytes, when the value is longer than kFolderValueMax or
// when the catalogue path names no folder: a folder cut to fit would be a
// different folder.
bool ResolveFolder(char* destination, std::size_t capacity, const char* cataloguePath, const char* value,
                   void (*upperCase)(char*));
