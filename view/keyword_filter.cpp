#include "view/keyword_filter.h"

KeywordFilter Filter;

namespace {

bool Carries(const AnimationRecord& record, int keywordCount, std::int32_t keyword)
{
    for (int i = 0; i < keywordCount; ++i) {
        if (record.keywordIndices[i] == keyword)
            return true;
    }
    return false;
}

int Bounded(std::int32_t count, int capacity)
{
    return count < 0 ? 0 : count > capacity ? capacity : count;
}

} // namespace

int PassesKeywordFilter(const AnimationRecord& record)
{
    const int keywordCount = Bounded(record.keywordCount, kEntryKeywords);
    const int selectedCount = Bounded(Filter.selectedCount, kKeywordSlots);
    // Each selected keyword is looked for once, so a keyword that a record
    // lists twice cannot stand in for another one under "Und".
    int carried = 0;
    for (int s = 0; s < selectedCount; ++s) {
        if (Carries(record, keywordCount, Filter.selectedKeywords[s])) {
            if (Filter.matchAll == 0)
                return 1;
            ++carried;
        }
    }
    return carried >= selectedCount ? 1 : 0;
}
