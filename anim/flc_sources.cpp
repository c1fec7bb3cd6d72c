#include "anim/flc_sources.h"

#include <algorithm>
#include <cstring>

std::size_t FlcMemorySource::Read(unsigned char* into, std::size_t size)
{
    std::size_t count = position_ < size_ ? std::min(size, size_ - position_) : 0;
    if (count != 0)
        std::memcpy(into, data_ + position_, count);
    position_ += count;
    return count;
}

bool FlcMemorySource::Seek(std::uint64_t offset)
{
    // Past the end is allowed, as for a file: the next read gets nothing.
    position_ = static_cast<std::size_t>(std::min<std::uint64_t>(offset, size_));
    return true;
}

FlcFileSource::~FlcFileSource()
{
    if (file_ != nullptr)
        std::fclose(file_);
}

bool FlcFileSource::Open(const char* path)
{
    if (file_ != nullptr)
        std::fclose(file_);
    file_ = std::fopen(path, "rb");
    return file_ != nullptr;
}

std::size_t FlcFileSource::Read(unsigned char* into, std::size_t size)
{
    return file_ != nullptr ? std::fread(into, 1, size, file_) : 0;
}

bool FlcFileSource::Seek(std::uint64_t offset)
{
    if (file_ == nullptr || offset > static_cast<std::uint64_t>(INT64_MAX))
        return false;
#if defined(_WIN32)
    return _fseeki64(file_, static_cast<long long>(offset), SEEK_SET) == 0;
#else
    return fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}
