// The order of the animation list and the full path of a listed animation.
#pragma once

#include "base/sizes.h"
#include "catalogue/store.h"
#include "view/date_key.h"

#include <cstddef>
#include <cstdint>

constexpr std::int32_t kSortByTitle = 0;
constexpr std::int32_t kSortByAuthor = 1;
constexpr std::int32_t kSortByFile = 2;
constexpr std::int32_t kSortByDate = 3;

// A selected animation's full path: BasePath and the file, 259 characters at most.
constexpr std::size_t kAnimationPathSize = kPathSize;

// The list's current order; any value but author, file or date orders by title.
extern std::int32_t SortMode;

// The text that places `record` in a sorted list under `sortMode`: the title,
// the author's name, the file as stored, or the date key (built into `dateKey`).
const char* RowKeyText(const AnimationRecord& record, std::int32_t sortMode, char (&dateKey)[kDateKeySize]);

// `basePath` followed directly by `file`. False, with `path` empty, when the
// whole path does not fit or when `basePath` is empty (the file alone would
// be looked for in the current folder).
bool ComposeAnimationPath(char (&path)[kAnimationPathSize], const char* basePath, const char* file);
