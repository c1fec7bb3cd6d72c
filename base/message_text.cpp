#include "base/message_text.h"

#include "base/text.h"

#include <cstring>

void FormatMessageText(char* destination, const char* format, const char* argument)
{
    const char* mark = std::strstr(format, "%s");
    if (mark == nullptr) {
        CopyText(destination, kMessageSize, format);
        return;
    }
    std::size_t headLength = static_cast<std::size_t>(mark - format);
    const char* tail = mark + 2;
    std::size_t fixed = headLength + std::strlen(tail);
    if (fixed >= kMessageSize) {
        CopyText(destination, kMessageSize, format);   // a format that long is shown unfilled
        return;
    }
    std::size_t room = kMessageSize - 1 - fixed;
    std::size_t argumentLength = std::strlen(argument);

    std::memcpy(destination, format, headLength);
    char* out = destination + headLength;
    if (argumentLength <= room) {
        std::memcpy(out, argument, argumentLength);
        out += argumentLength;
    } else if (room >= 3) {
        std::size_t keep = room - 3;
        std::size_t front = keep / 2;
        std::size_t back = keep - front;
        std::memcpy(out, argument, front);
        std::memcpy(out + front, "...", 3);
        std::memcpy(out + front + 3, argument + argumentLength - back, back);
        out += room;
    }
    std::memcpy(out, tail, std::strlen(tail) + 1);   // fits: `fixed` counted it
}
