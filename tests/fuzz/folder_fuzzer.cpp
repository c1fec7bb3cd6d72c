// A folder setting (second line) against the catalogue's path (first line).
#include "catalogue/folder_setting.h"
#include "catalogue/store.h"
#include "fuzz_input.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    std::string cataloguePath = input.Next().substr(0, 259);
    // As the settings are read: one character more than a setting may have.
    std::string value = input.Next().substr(0, kFolderValueSize - 1);

    char folder[kFolderSize];
    std::memset(folder, 0x5A, sizeof folder);
    bool fits = ResolveFolder(folder, sizeof folder, cataloguePath.c_str(), value.c_str(), UpperCaseAnsi);
    FUZZ_CHECK(Terminated(folder, sizeof folder));
    std::size_t length = std::strlen(folder);
    if (!fits) {
        FUZZ_CHECK(length == 0);
        return 0;
    }
    FUZZ_CHECK(length > 0 && folder[length - 1] == '\\');
    for (std::size_t i = 0; i < length; ++i)
        FUZZ_CHECK(folder[i] < 'a' || folder[i] > 'z');
    return 0;
}
