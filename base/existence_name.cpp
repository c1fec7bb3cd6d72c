#include "base/file_exists.h"

#include <cstring>

std::size_t ExistenceNameLength(const char* path)
{
    std::size_t length = std::strlen(path);
    while (length > 0 && path[length - 1] == ' ')
        --length;
    return length;
}
