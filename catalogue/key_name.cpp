#include "catalogue/key_name.h"

#include "base/text.h"
#include "res/catalogue_names.h"
#include "res/resource.h"

#include <cstring>

bool FormatKeyName(char* destination, std::size_t capacity, const char* keyTemplate, int number)
{
    const char* mark = keyTemplate;
    while (*mark != '\0' && !(mark[0] == '%' && mark[1] == 'd'))
        ++mark;
    if (*mark == '\0')
        return CopyText(destination, capacity, keyTemplate);
    std::size_t headLength = static_cast<std::size_t>(mark - keyTemplate);
    if (headLength >= capacity) {
        CopyText(destination, capacity, "");
        return false;
    }
    std::memcpy(destination, keyTemplate, headLength);
    destination[headLength] = '\0';
    return AppendNumber(destination, capacity, number) && AppendText(destination, capacity, mark + 2);
}

const char* CatalogueName(int stringId)
{
    switch (stringId) {
    case IDS_AUTHORS: return TEXT_AUTHORS;
    case IDS_AUTHOR_KEY: return TEXT_AUTHOR_KEY;
    case IDS_KEYWORDS: return TEXT_KEYWORDS;
    case IDS_KEYWORD_KEY: return TEXT_KEYWORD_KEY;
    case IDS_ANIMATIONS: return TEXT_ANIMATIONS;
    case IDS_ANIMATION_KEY: return TEXT_ANIMATION_KEY;
    case IDS_SETTINGS: return TEXT_SETTINGS;
    case IDS_BASE_PATH: return TEXT_BASE_PATH;
    case IDS_PROGRAM_PATH: return TEXT_PROGRAM_PATH;
    default: return nullptr;
    }
}
