// Where an encoder's bytes go: a file, a block of memory, a test's check.
#pragma once

#include <cstddef>

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // False: stop, the output failed (a full disk, a closed file).
    virtual bool Write(const void* data, std::size_t size) = 0;
};
