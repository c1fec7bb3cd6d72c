// The date order's key of any date text.
#include "fuzz_input.h"
#include "view/date_key.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string date(reinterpret_cast<const char*>(data), size);
    date = date.substr(0, std::strlen(date.c_str())).substr(0, 19);   // the record's date field
    char key[kDateKeySize];
    std::memset(key, 0x5A, sizeof key);
    BuildDateKey(key, date.c_str());
    FUZZ_CHECK(Terminated(key, sizeof key));
    return 0;
}
