// One animation entry, as any value of up to 255 characters may hold it, with
// any number of authors and keywords.
#include "catalogue/entry.h"
#include "catalogue/store.h"
#include "fuzz_input.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    int authorCount = 1 + data[0] % kAuthorSlots;
    int keywordCount = data[1] % (kKeywordSlots + 1);
    std::string value(reinterpret_cast<const char*>(data + 2), size - 2);
    value = value.substr(0, std::strlen(value.c_str())).substr(0, kProfileValueSize - 1);

    AnimationRecord record;
    std::memset(&record, 0x5A, sizeof record);
    char buffer[kProfileValueSize];
    std::memcpy(buffer, value.c_str(), value.size() + 1);
    if (!ParseEntry(buffer, record, authorCount, keywordCount))
        return 0;
    FUZZ_CHECK(record.iconIndex >= 0);
    FUZZ_CHECK(record.authorIndex >= 0 && record.authorIndex < authorCount);
    FUZZ_CHECK(Terminated(record.title, sizeof record.title));
    FUZZ_CHECK(Terminated(record.file, sizeof record.file));
    FUZZ_CHECK(Terminated(record.date, sizeof record.date));
    FUZZ_CHECK(Terminated(record.sizeText, sizeof record.sizeText));
    FUZZ_CHECK(record.keywordCount >= 0 && record.keywordCount <= kEntryKeywords);
    for (int i = 0; i < record.keywordCount; ++i)
        FUZZ_CHECK(record.keywordIndices[i] >= 0 && record.keywordIndices[i] < keywordCount);
    return 0;
}
