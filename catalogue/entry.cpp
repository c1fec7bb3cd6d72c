#include "catalogue/entry.h"

#include "base/text.h"
#include "catalogue/numbers.h"

#include <cstring>

char* NextField(char*& cursor, char separator)
{
    if (cursor == nullptr)
        return nullptr;
    char* field = cursor;
    char* end = std::strchr(cursor, separator);
    if (end != nullptr) {
        *end = '\0';
        cursor = end + 1;
    } else {
        cursor = nullptr;
    }
    return field;
}

bool ParseEntry(char* value, AnimationRecord& record, int authorCount, int keywordCount)
{
    char* cursor = value;

    char* field = NextField(cursor, ';');
    if (field == nullptr)
        return false;
    record.iconIndex = ReadNumber(field);
    if (record.iconIndex < 0)
        record.iconIndex = 0;

    if ((field = NextField(cursor, ';')) == nullptr)
        return false;
    record.authorIndex = ReadNumber(field);
    if (record.authorIndex < 0 || record.authorIndex >= authorCount)
        record.authorIndex = 0;

    if ((field = NextField(cursor, ';')) == nullptr)
        return false;
    CopyText(record.title, field);             // a longer title is shown cut

    if ((field = NextField(cursor, ';')) == nullptr)
        return false;
    if (!CopyText(record.file, field))
        return false;

    if ((field = NextField(cursor, ';')) == nullptr)
        return false;
    CopyText(record.date, field);

    if ((field = NextField(cursor, ';')) == nullptr)
        return false;
    // "%d KB": at most 14 characters, so it always fits.
    record.sizeText[0] = '\0';
    AppendNumber(record.sizeText, ReadNumber(field));
    AppendText(record.sizeText, " KB");

    record.keywordCount = 0;
    while ((field = NextField(cursor, ',')) != nullptr) {
        if (record.keywordCount == kEntryKeywords)
            break;
        std::int32_t number = ReadNumber(field);
        if (number >= 1 && number <= keywordCount)
            record.keywordIndices[record.keywordCount++] = number - 1;
    }
    return true;
}
