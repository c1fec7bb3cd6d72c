#include "anim/flc_sources.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <sys/types.h>
#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>
#endif

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

FlcFileSource::Opened FlcFileSource::Open(const char* path)
{
    if (file_ != nullptr)
        std::fclose(file_);
    file_ = nullptr;
#if defined(_WIN32)
    // Opening a pipe or device does not wait; reading it might.
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        if (errno == ENOENT)
            return Opened::NotFound;
        struct _stat64 status;
        bool folder = _stat64(path, &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFDIR;
        return folder ? Opened::NotRegular : Opened::CannotRead;
    }
    struct _stat64 status;
    if (_fstat64(_fileno(file), &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG) {
        std::fclose(file);
        return Opened::NotRegular;
    }
#else
    // Opening a FIFO for reading waits for a writer, unless it does not block.
    int descriptor = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return errno == ENOENT || errno == ENOTDIR ? Opened::NotFound : Opened::CannotRead;
    struct stat status;
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(descriptor);
        return Opened::NotRegular;
    }
    int flags = fcntl(descriptor, F_GETFL);
    std::FILE* file = flags != -1 && fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) == 0 ? fdopen(descriptor, "rb") : nullptr;
    if (file == nullptr) {
        close(descriptor);
        return Opened::CannotRead;
    }
#endif
    file_ = file;
    return Opened::Yes;
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
