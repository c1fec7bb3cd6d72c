#include "view/date_key.h"

#include "base/text.h"
#include "catalogue/numbers.h"

#include <cstring>

void BuildDateKey(char (&key)[kDateKeySize], const char* date)
{
    int day = ReadNumber(date);
    int month = 0;
    int year = 0;
    if (const char* firstStop = std::strchr(date, '.'))
        month = ReadNumber(firstStop + 1);
    if (const char* yearText = DateYearText(date))
        year = ReadNumber(yearText) % 99;       // 1980 to 2078 map to 0 to 98 in order
    // A negative part or a day or month beyond 99 no longer orders by date
    // anyway; such a key is cut to the buffer, keeping its year and month in front.
    FormatText(key, "%02d%02d%02d", year, month, day);
}

const char* DateYearText(const char* date)
{
    const char* firstStop = std::strchr(date, '.');
    const char* secondStop = firstStop != nullptr ? std::strchr(firstStop + 1, '.') : nullptr;
    return secondStop != nullptr ? secondStop + 1 : nullptr;
}
