#include "base/text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

std::size_t BoundedLength(const char* text, std::size_t capacity)
{
    std::size_t length = 0;
    while (length < capacity && text[length] != '\0')
        ++length;
    return length;
}

bool CopyText(char* destination, std::size_t capacity, const char* source)
{
    if (capacity == 0)
        return false;
    destination[0] = '\0';
    return AppendText(destination, capacity, source);
}

namespace {

// Appends the `length` characters at `source`.
bool AppendCharacters(char* destination, std::size_t capacity, const char* source, std::size_t length)
{
    if (capacity == 0)
        return false;
    std::size_t used = BoundedLength(destination, capacity);
    if (used == capacity) {          // not terminated: repair, report a cut
        destination[capacity - 1] = '\0';
        return false;
    }
    std::size_t room = capacity - 1 - used;
    std::size_t taken = length < room ? length : room;
    std::memmove(destination + used, source, taken);
    destination[used + taken] = '\0';
    return taken == length;
}

} // namespace

bool AppendText(char* destination, std::size_t capacity, const char* source)
{
    if (capacity == 0)
        return false;
    return AppendCharacters(destination, capacity, source, std::strlen(source));
}

bool AppendNumber(char* destination, std::size_t capacity, long number)
{
    char digits[24];
    char* const last = digits + sizeof digits;
    char* first = last;
    // Counted in the negative range, which holds the most negative number too.
    long rest = number < 0 ? number : -number;
    do {
        *--first = static_cast<char>('0' - rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (number < 0)
        *--first = '-';
    return AppendCharacters(destination, capacity, first, static_cast<std::size_t>(last - first));
}

bool FormatText(char* destination, std::size_t capacity, const char* format, ...)
{
    if (capacity == 0)
        return false;
    va_list arguments;
    va_start(arguments, format);
    int needed = std::vsnprintf(destination, capacity, format, arguments);
    va_end(arguments);
    if (needed < 0) {
        destination[0] = '\0';
        return false;
    }
    return static_cast<std::size_t>(needed) < capacity;
}
