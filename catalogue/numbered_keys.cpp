#include "catalogue/numbered_keys.h"

#include <cstring>

namespace {

// What the platform's reader passes over around names and values.
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The number that `name` (`length` characters) carries behind `prefix`, as
// "%d" writes it: no sign, no leading zero, at least 1; 0 for any other name.
std::size_t NumberAfter(const char* name, std::size_t length, const char* prefix, std::size_t prefixLength,
                        std::size_t limit)
{
    if (length <= prefixLength || length - prefixLength > 10)
        return 0;
    for (std::size_t i = 0; i < prefixLength; ++i) {
        if (LowerAscii(name[i]) != LowerAscii(prefix[i]))
            return 0;
    }
    if (name[prefixLength] == '0')
        return 0;
    std::size_t number = 0;
    for (std::size_t i = prefixLength; i < length; ++i) {
        if (name[i] < '0' || name[i] > '9')
            return 0;
        number = number * 10 + static_cast<std::size_t>(name[i] - '0');
        if (number >= limit)
            return 0;
    }
    return number;
}

} // namespace

NumberedKeys::NumberedKeys(std::uint32_t* slots, std::size_t slotCount) : slots_(slots), slotCount_(slotCount) {}

void NumberedKeys::Clear()
{
    if (highest_ > 0)
        std::memset(slots_, 0, (highest_ + 1) * sizeof *slots_);
    highest_ = 0;
    entries_ = nullptr;
    usable_ = false;
    complete_ = false;
}

void NumberedKeys::Index(const char* entries, std::size_t length, bool complete, const char* keyTemplate)
{
    Clear();
    std::size_t templateLength = std::strlen(keyTemplate);
    const char* mark = std::strstr(keyTemplate, "%d");
    if (mark == nullptr || mark != keyTemplate + templateLength - 2 || length > UINT32_MAX - 1)
        return;
    const std::size_t prefixLength = templateLength - 2;

    entries_ = entries;
    complete_ = complete;
    usable_ = true;
    std::size_t start = 0;
    while (start < length) {
        const char* entry = entries + start;
        const char* nul = static_cast<const char*>(std::memchr(entry, '\0', length - start));
        std::size_t end = nul != nullptr ? static_cast<std::size_t>(nul - entries) : length;
        // The last entry of a section that did not fit may be cut; an entry
        // without its end says that the text is not the whole section.
        if (nul == nullptr)
            complete_ = false;
        if (nul == nullptr || (!complete && end + 1 >= length))
            break;

        const char* equals = static_cast<const char*>(std::memchr(entry, '=', end - start));
        std::size_t nameEnd = equals != nullptr ? static_cast<std::size_t>(equals - entries) : end;
        std::size_t nameStart = start;
        while (nameStart < nameEnd && IsBlank(entries[nameStart]))
            ++nameStart;
        while (nameEnd > nameStart && IsBlank(entries[nameEnd - 1]))
            --nameEnd;
        for (std::size_t i = nameStart; i < nameEnd; ++i) {
            // Whether such a name equals an ASCII one is the platform's affair.
            if (static_cast<unsigned char>(entries[i]) >= 0x80) {
                Clear();
                return;
            }
        }
        std::size_t number = NumberAfter(entries + nameStart, nameEnd - nameStart, keyTemplate, prefixLength, slotCount_);
        if (number != 0 && slots_[number] == 0) {
            slots_[number] = static_cast<std::uint32_t>(start + 1);
            if (number > highest_)
                highest_ = number;
        }
        start = end + 1;
    }
}

KeyAnswer NumberedKeys::Find(int number, char (&value)[kProfileValueSize], int& length) const
{
    value[0] = '\0';
    length = 0;
    if (!usable_ || number < 1 || static_cast<std::size_t>(number) >= slotCount_)
        return KeyAnswer::AskPlatform;
    std::uint32_t slot = slots_[number];
    if (slot == 0)
        return complete_ ? KeyAnswer::Missing : KeyAnswer::AskPlatform;

    const char* entry = entries_ + slot - 1;
    const char* equals = std::strchr(entry, '=');
    if (equals == nullptr || equals == entry || IsBlank(entry[0]) || IsBlank(equals[-1]))
        return KeyAnswer::AskPlatform;
    const char* text = equals + 1;
    std::size_t textLength = std::strlen(text);
    if (textLength == 0)
        return KeyAnswer::Missing;
    if (textLength > kProfileValueSize - 1 || IsBlank(text[0]) || IsBlank(text[textLength - 1]) || text[0] == '"'
        || text[0] == '\'')
        return KeyAnswer::AskPlatform;
    std::memcpy(value, text, textLength + 1);
    length = static_cast<int>(textLength);
    return KeyAnswer::Value;
}
