// The catalogue's tables: filled once by the loader, read-only afterwards.
#pragma once

#include "base/sizes.h"

#include <cstddef>
#include <cstdint>

constexpr int kAuthorSlots = 50;          // slot 0 is "Unbekannt"
constexpr int kAuthorNameSize = 120;
constexpr int kKeywordSlots = 50;
constexpr int kKeywordNameSize = 32;
constexpr int kAnimationSlots = 200;
constexpr int kEntryKeywords = 10;
constexpr std::size_t kFolderSize = kPathSize;   // BasePath and the folder settings: a full path
constexpr int kProfileValueSize = 256;    // one value of the catalogue file

struct AnimationRecord {
    std::int32_t iconIndex;
    std::int32_t authorIndex;
    char title[64];
    char file[40];
    char date[20];
    char sizeText[20];
    std::int32_t keywordCount;
    std::int32_t keywordIndices[kEntryKeywords];
};

extern char AuthorTable[kAuthorSlots][kAuthorNameSize];
extern std::int32_t AuthorCount;
extern char KeywordTable[kKeywordSlots][kKeywordNameSize];
extern std::int32_t KeywordCount;
extern AnimationRecord AnimationTable[kAnimationSlots];
extern std::int32_t AnimationCount;
extern char BasePath[kFolderSize];

// Where the loader gets its values: one value of the catalogue file, section
// and key named by string identifiers, "%d" in the key name replaced by
// `number`. Returns the number of characters stored (at most 255); 0 for a
// missing key or an empty value.
class CatalogueSource {
public:
    virtual int Read(int sectionId, int keyId, int number, char (&value)[kProfileValueSize]) = 0;

protected:
    ~CatalogueSource() = default;
};

// Empties every table and count (the state before a load).
void ClearCatalogue();

// Fills the tables from `source`; `unknownAuthor` becomes author slot 0.
// Nonzero when at least one author and one accepted entry were read.
int LoadCatalogueFrom(CatalogueSource& source, const char* unknownAuthor);
