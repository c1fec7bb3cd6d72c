// Sources of bytes for FlcReader: a block of memory, a file read through the
// C runtime.
#pragma once

#include "anim/flc_reader.h"

#include <cstdio>

class FlcMemorySource final : public FlcSource {
public:
    FlcMemorySource(const void* data, std::size_t size) : data_(static_cast<const unsigned char*>(data)), size_(size) {}
    std::size_t Read(unsigned char* into, std::size_t size) override;
    bool Seek(std::uint64_t offset) override;

private:
    const unsigned char* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

class FlcFileSource final : public FlcSource {
public:
    FlcFileSource() = default;
    ~FlcFileSource() override;
    FlcFileSource(const FlcFileSource&) = delete;
    FlcFileSource& operator=(const FlcFileSource&) = delete;

    enum class Opened {
        Yes,
        NotFound,      // no such file
        NotRegular,    // a folder, pipe, device or socket: reading one may wait for ever
        CannotRead,    // there, but refused (no permission, locked, a loop of links)
    };
    // The file at `path` (the ANSI code page's text on Windows), if it is a
    // regular file. Anything else is never read from.
    Opened Open(const char* path);
    std::size_t Read(unsigned char* into, std::size_t size) override;
    bool Seek(std::uint64_t offset) override;

private:
    std::FILE* file_ = nullptr;
};
