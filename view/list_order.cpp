#include "view/list_order.h"

#include "base/text.h"

std::int32_t SortMode = kSortByTitle;

const char* RowKeyText(const AnimationRecord& record, std::int32_t sortMode, char (&dateKey)[kDateKeySize])
{
    switch (sortMode) {
    case kSortByAuthor: {
        // The loader keeps author indices in range; slot 0 is "Unbekannt".
        std::int32_t author = record.authorIndex;
        if (author < 0 || author >= kAuthorSlots)
            author = 0;
        return AuthorTable[author];
    }
    case kSortByFile:
        return record.file;
    case kSortByDate:
        BuildDateKey(dateKey, record.date);
        return dateKey;
    default:
        return record.title;
    }
}

bool ComposeAnimationPath(char (&path)[kAnimationPathSize], const char* basePath, const char* file)
{
    path[0] = '\0';
    if (basePath[0] == '\0')
        return false;
    if (CopyText(path, basePath) && AppendText(path, file))
        return true;
    path[0] = '\0';
    return false;
}
