// Where the tests' encoders write: memory, which refuses every write once
// `limit` bytes are in (an output that fails on the way, a full disk).
#pragma once

#include "anim/byte_sink.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class MemorySink final : public ByteSink {
public:
    explicit MemorySink(std::size_t limit = SIZE_MAX) : limit_(limit) {}
    bool Write(const void* data, std::size_t size) override
    {
        if (size > limit_ - bytes.size())
            return false;
        const auto* p = static_cast<const std::uint8_t*>(data);
        bytes.insert(bytes.end(), p, p + size);
        return true;
    }
    std::vector<std::uint8_t> bytes;

private:
    std::size_t limit_;
};
