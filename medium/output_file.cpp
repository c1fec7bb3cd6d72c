#include "medium/output_file.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

std::string TemporaryName(const std::string& target, int attempt)
{
    return target + ".~" + std::to_string(attempt);
}

#ifdef _WIN32
std::wstring Wide(const std::string& text)
{
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(static_cast<std::size_t>(length) - 1);
    return wide;
}

std::string SystemError(DWORD code)
{
    char text[256] = "";
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                  sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == '.'))
        text[--length] = '\0';
    return length > 0 ? std::string(text) : "error " + std::to_string(code);
}
#endif

} // namespace

#ifdef _WIN32

OutputFile::~OutputFile() { Discard(); }

bool OutputFile::Open(const std::string& target)
{
    target_ = target;
    DWORD attributes = GetFileAttributesW(Wide(target).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        error_ = "is a folder";
        return false;
    }
    for (int attempt = 1; attempt < 100; ++attempt) {
        temporary_ = TemporaryName(target, attempt);
        HANDLE file = CreateFileW(Wide(temporary_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            handle_ = file;
            return true;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) {
            error_ = "cannot be written: " + SystemError(GetLastError());
            temporary_.clear();
            return false;
        }
    }
    error_ = "cannot be written: no free temporary name beside it";
    temporary_.clear();
    return false;
}

bool OutputFile::Write(const void* data, std::size_t size)
{
    if (failed_ || handle_ == nullptr)
        return false;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        DWORD part = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD done = 0;
        if (room_ - written_ < part) {
            error_ = "cannot be written: " + SystemError(ERROR_DISK_FULL);
            failed_ = true;
            return false;
        }
        if (!WriteFile(handle_, bytes, part, &done, nullptr) || done != part) {
            error_ = "cannot be written: " + SystemError(GetLastError());
            failed_ = true;
            return false;
        }
        written_ += part;
        bytes += part;
        size -= part;
    }
    return true;
}

bool OutputFile::Commit()
{
    if (handle_ == nullptr || failed_) {
        Discard();
        return false;
    }
    bool flushed = FlushFileBuffers(handle_) != 0;
    DWORD flushError = GetLastError();
    bool closed = CloseHandle(handle_) != 0;
    handle_ = nullptr;
    if (!flushed || !closed) {
        error_ = "cannot be written: " + SystemError(flushed ? GetLastError() : flushError);
        Discard();
        return false;
    }
    if (!MoveFileExW(Wide(temporary_).c_str(), Wide(target_).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error_ = "cannot be replaced: " + SystemError(GetLastError());
        Discard();
        return false;
    }
    temporary_.clear();
    return true;
}

void OutputFile::Discard()
{
    if (handle_ != nullptr)
        CloseHandle(handle_);
    handle_ = nullptr;
    if (!temporary_.empty())
        DeleteFileW(Wide(temporary_).c_str());
    temporary_.clear();
}

bool MakeFolders(const std::string& folder)
{
    std::wstring wide = Wide(folder);
    for (std::size_t i = 0; i <= wide.size(); ++i) {
        if (i < wide.size() && wide[i] != L'\\' && wide[i] != L'/')
            continue;
        std::wstring part = wide.substr(0, i);
        if (part.empty() || (part.size() == 2 && part[1] == L':'))
            continue;
        DWORD attributes = GetFileAttributesW(part.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            continue;
        if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return true;
}

#else

OutputFile::~OutputFile() { Discard(); }

bool OutputFile::Open(const std::string& target)
{
    target_ = target;
    struct stat facts;
    if (stat(target.c_str(), &facts) == 0 && S_ISDIR(facts.st_mode)) {
        error_ = "is a folder";
        return false;
    }
    // A device (/dev/stdout, /dev/full) is written as it is: no file to replace.
    if (stat(target.c_str(), &facts) == 0 && !S_ISREG(facts.st_mode)) {
        descriptor_ = open(target.c_str(), O_WRONLY);
        if (descriptor_ < 0)
            error_ = std::string("cannot be written: ") + std::strerror(errno);
        return descriptor_ >= 0;
    }
    for (int attempt = 1; attempt < 100; ++attempt) {
        temporary_ = TemporaryName(target, attempt);
        descriptor_ = open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor_ >= 0)
            return true;
        if (errno != EEXIST) {
            error_ = std::string("cannot be written: ") + std::strerror(errno);
            temporary_.clear();
            return false;
        }
    }
    error_ = "cannot be written: no free temporary name beside it";
    temporary_.clear();
    return false;
}

bool OutputFile::Write(const void* data, std::size_t size)
{
    if (failed_ || descriptor_ < 0)
        return false;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        if (room_ - written_ < size) {
            error_ = std::string("cannot be written: ") + std::strerror(ENOSPC);
            failed_ = true;
            return false;
        }
        ssize_t done = write(descriptor_, bytes, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0) {
            error_ = std::string("cannot be written: ") + std::strerror(done < 0 ? errno : ENOSPC);
            failed_ = true;
            return false;
        }
        written_ += static_cast<std::uint64_t>(done);
        bytes += done;
        size -= static_cast<std::size_t>(done);
    }
    return true;
}

bool OutputFile::Commit()
{
    if (descriptor_ < 0 || failed_) {
        Discard();
        return false;
    }
    bool synced = temporary_.empty() || fsync(descriptor_) == 0;
    int syncError = errno;
    bool closed = close(descriptor_) == 0;
    descriptor_ = -1;
    if (!synced || !closed) {
        error_ = std::string("cannot be written: ") + std::strerror(synced ? errno : syncError);
        Discard();
        return false;
    }
    if (!temporary_.empty() && rename(temporary_.c_str(), target_.c_str()) != 0) {
        error_ = std::string("cannot be replaced: ") + std::strerror(errno);
        Discard();
        return false;
    }
    temporary_.clear();
    return true;
}

void OutputFile::Discard()
{
    if (descriptor_ >= 0)
        close(descriptor_);
    descriptor_ = -1;
    if (!temporary_.empty())
        unlink(temporary_.c_str());
    temporary_.clear();
}

bool MakeFolders(const std::string& folder)
{
    for (std::size_t i = 1; i <= folder.size(); ++i) {
        if (i < folder.size() && folder[i] != '/')
            continue;
        std::string part = folder.substr(0, i);
        struct stat facts;
        if (stat(part.c_str(), &facts) == 0 && S_ISDIR(facts.st_mode))
            continue;
        if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

#endif
