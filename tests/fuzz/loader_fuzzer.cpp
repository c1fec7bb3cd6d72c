// The whole loader on any file: the bytes go through the native profile
// reader into the tables.
#include "catalogue/profile_reader.h"
#include "catalogue/store.h"
#include "fuzz_input.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ProfileReader reader;
    reader.Parse(reinterpret_cast<const char*>(data), size);
    ProfileCatalogueSource source(reader);
    ClearCatalogue();
    int loaded = LoadCatalogueFrom(source, "Unbekannt");

    FUZZ_CHECK(AuthorCount >= 1 && AuthorCount <= kAuthorSlots);
    FUZZ_CHECK(KeywordCount >= 0 && KeywordCount <= kKeywordSlots);
    FUZZ_CHECK(AnimationCount >= 0 && AnimationCount <= kAnimationSlots);
    FUZZ_CHECK((loaded != 0) == (AuthorCount >= 2 && AnimationCount >= 1));
    for (int a = 0; a < kAuthorSlots; ++a)
        FUZZ_CHECK(Terminated(AuthorTable[a], kAuthorNameSize));
    for (int k = 0; k < kKeywordSlots; ++k)
        FUZZ_CHECK(Terminated(KeywordTable[k], kKeywordNameSize));
    for (int m = 0; m < AnimationCount; ++m) {
        const AnimationRecord& record = AnimationTable[m];
        FUZZ_CHECK(record.iconIndex >= 0);
        FUZZ_CHECK(record.authorIndex >= 0 && record.authorIndex < AuthorCount);
        FUZZ_CHECK(Terminated(record.file, sizeof record.file));
        FUZZ_CHECK(record.keywordCount >= 0 && record.keywordCount <= kEntryKeywords);
        for (int i = 0; i < record.keywordCount; ++i)
            FUZZ_CHECK(record.keywordIndices[i] >= 0 && record.keywordIndices[i] < KeywordCount);
    }
    return 0;
}
