// Splits a fuzzer's input into texts: pieces separated by line feeds, each
// ended by a NUL of its own, so that seeds stay readable text files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : text_(reinterpret_cast<const char*>(data), size) {}

    // The next piece up to a line feed (or the rest); empty once all is taken.
    // A NUL inside ends the text early, as it would in a C string.
    std::string Next()
    {
        if (position_ >= text_.size())
            return std::string();
        std::size_t end = text_.find('\n', position_);
        if (end == std::string::npos)
            end = text_.size();
        std::string piece = text_.substr(position_, end - position_);
        position_ = end + 1;
        return piece.substr(0, std::strlen(piece.c_str()));
    }

    // Everything not taken yet, NUL bytes included.
    std::string Rest() const { return position_ < text_.size() ? text_.substr(position_) : std::string(); }

private:
    std::string text_;
    std::size_t position_ = 0;
};

// Stops the run as a finding when a property does not hold.
#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property does not hold: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)

// True when `text` ends within `capacity` bytes.
inline bool Terminated(const char* text, std::size_t capacity)
{
    return std::memchr(text, '\0', capacity) != nullptr;
}
