#include "catalogue/store.h"

#include "base/text.h"
#include "catalogue/entry.h"
#include "res/resource.h"

#include <cstring>

char AuthorTable[kAuthorSlots][kAuthorNameSize];
std::int32_t AuthorCount;
char KeywordTable[kKeywordSlots][kKeywordNameSize];
std::int32_t KeywordCount;
AnimationRecord AnimationTable[kAnimationSlots];
std::int32_t AnimationCount;
char BasePath[kFolderSize];

void ClearCatalogue()
{
    std::memset(AuthorTable, 0, sizeof AuthorTable);
    std::memset(KeywordTable, 0, sizeof KeywordTable);
    std::memset(AnimationTable, 0, sizeof AnimationTable);
    std::memset(BasePath, 0, sizeof BasePath);
    AuthorCount = 0;
    KeywordCount = 0;
    AnimationCount = 0;
}

int LoadCatalogueFrom(CatalogueSource& source, const char* unknownAuthor)
{
    char value[kProfileValueSize];

    CopyText(AuthorTable[0], unknownAuthor);

    // Numbered keys are read from 1 until the first missing one; reading also
    // stops when a table is full, so later keys are never asked for.
    for (int n = 1;; ++n) {
        AuthorCount = n;
        if (n == kAuthorSlots || source.Read(IDS_AUTHORS, IDS_AUTHOR_KEY, n, value) == 0)
            break;
        CopyText(AuthorTable[n], value);
    }
    if (AuthorCount < 2)
        return 0;

    KeywordCount = 0;
    for (int k = 1; k <= kKeywordSlots; ++k) {
        if (source.Read(IDS_KEYWORDS, IDS_KEYWORD_KEY, k, value) == 0)
            break;
        CopyText(KeywordTable[k - 1], value);
        KeywordCount = k;
    }

    AnimationCount = 0;
    for (int m = 1; AnimationCount < kAnimationSlots; ++m) {
        if (source.Read(IDS_ANIMATIONS, IDS_ANIMATION_KEY, m, value) == 0)
            break;
        // A rejected entry keeps no slot: the next one is parsed over it.
        if (ParseEntry(value, AnimationTable[AnimationCount], AuthorCount, KeywordCount))
            ++AnimationCount;
    }
    return AnimationCount >= 1 ? 1 : 0;
}
