// Whether a file or folder of a given name exists.
#pragma once

#include <cstddef>

constexpr std::size_t kExistenceNameSize = 128;   // the existence test's buffer

// Length of `path` without the blanks at its end, which a file name does not
// count.
std::size_t ExistenceNameLength(const char* path);

// 1 when a file or folder of that name exists. Blanks at the end of the name
// do not count; a name too long for the test's 128-byte buffer is not found.
int FileExists(const char* path);
