#include "base/file_exists.h"

#include "base/sizes.h"

#include <io.h>

#include <cstring>

int FileExists(const char* path)
{
    std::size_t length = ExistenceNameLength(path);
    if (length >= kPathSize)
        return 0;               // a cut name would test another file
    // The name stays in the ANSI code page, which the runtime's _access reads:
    // an OEM copy would miss every name that holds an umlaut.
    char name[kPathSize];
    std::memcpy(name, path, length);
    name[length] = '\0';
    return _access(name, 0) == 0 ? 1 : 0;
}
