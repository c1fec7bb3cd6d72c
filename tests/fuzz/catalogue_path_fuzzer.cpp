// The catalogue's path from the program's file name (first line) and the
// command line (the rest).
#include "base/file_exists.h"
#include "catalogue/catalogue_path.h"
#include "fuzz_input.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    std::string module = input.Next().substr(0, kPathSize - 1);   // GetModuleFileNameA's buffer
    std::string arguments = input.Next();

    char path[kPathSize];
    std::memset(path, 0x5A, sizeof path);
    bool fits = DeriveCataloguePath(path, module.c_str(), arguments.c_str());
    FUZZ_CHECK(Terminated(path, sizeof path));
    std::size_t length = std::strlen(path);
    if (fits) {
        FUZZ_CHECK(length >= 4 && std::strcmp(path + length - 4, ".INI") == 0);
        // Without a folder on the command line it is the program's own name up to its extension.
        if (arguments.size() <= 3 || arguments[1] != ':')
            FUZZ_CHECK(std::strncmp(path, module.c_str(), length - 4) == 0);
    } else {
        FUZZ_CHECK(length < 3 || std::strcmp(path + length - 3, "...") == 0);
    }
    FUZZ_CHECK(ExistenceNameLength(path) <= length);
    return 0;
}
