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

bool AppendText(char* destination, std::size_t capacity, const char* source)
{
    if (capacity == 0)
        return false;
    std::size_t used = BoundedLength(destination, capacity);
    if (used == capacity) {          // not terminated: repair, report a cut
        destination[capacity - 1] = '\0';
        return false;
    }
    std::size_t room = capacity - 1 - used;
    std::size_t length = std::strlen(source);
    std::size_t taken = length < room ? length : room;
    std::memmove(destination + used, source, taken);
    destination[used + taken] = '\0';
    return taken == length;
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
