// Whether a file or folder of a given name exists.
#pragma once

#include <cstddef>

// Length of `path` without the blanks at its end, which a file name does not
// count.
std::size_t ExistenceNameLength(const char* path);

// 1 when a file or folder of that name exists. Blanks at the end of the name
// do not count; a name of more than 259 characters is not found.
int FileExists(const char* path);
