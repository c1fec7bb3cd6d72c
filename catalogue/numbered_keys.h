// The keys of one catalogue section as the platform's section read hands them
// out ("key=value" entries, each ended by a NUL), indexed by the number in
// their names ("Animation12" under "Animation%d"). Reading the keys 1, 2, 3,
// ... of a section then costs one pass over it, where a key read of its own
// searches the whole file for every key.
//
// Only an answer that the section's text settles is given: a key with blanks
// or quotes around its value, a value too long for the 256-byte buffer, a key
// without "=", a section with names beyond ASCII and any number the text does
// not hold whole are left to the platform's key read, so the answers are the
// ones that key-by-key reads give.
#pragma once

#include "catalogue/store.h"

#include <cstddef>
#include <cstdint>

enum class KeyAnswer { Value, Missing, AskPlatform };

class NumberedKeys {
public:
    // `slots` (`slotCount` of them, zero at the start) holds the index: for
    // each number, where its first entry starts, plus one.
    NumberedKeys(std::uint32_t* slots, std::size_t slotCount);

    // Indexes the section text `entries` of `length` characters, which must
    // stay in place while it is used. `complete` is false when the section
    // did not fit: its last entry may be cut and is not used, and a number
    // that the text does not hold is asked of the platform. A key template
    // that does not end in "%d" indexes nothing.
    void Index(const char* entries, std::size_t length, bool complete, const char* keyTemplate);

    // Indexes nothing: every answer is AskPlatform.
    void Clear();

    // The value of the key with `number`, as the platform's key read gives it:
    // Value with the characters stored in `length`, Missing (0, the empty
    // text), or AskPlatform.
    KeyAnswer Find(int number, char (&value)[kProfileValueSize], int& length) const;

private:
    std::uint32_t* slots_;
    std::size_t slotCount_;
    std::size_t highest_ = 0;       // slots above it are zero
    const char* entries_ = nullptr;
    bool usable_ = false;
    bool complete_ = false;
};
