// The list's keyword selection.
#pragma once

#include "catalogue/store.h"

#include <cstdint>

struct KeywordFilter {
    std::int32_t selectedCount;         // 0: no filter in force
    std::int32_t selectedKeywords[kKeywordSlots];
    std::int32_t matchAll;              // 1 "Und", 0 "Oder"
};

// Written only by the keyword dialog.
extern KeywordFilter Filter;

// 1 when `record` passes the current filter.
int PassesKeywordFilter(const AnimationRecord& record);
