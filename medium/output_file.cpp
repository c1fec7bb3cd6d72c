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

std::string Narrow(const std::wstring& text)
{
    int length = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::string();
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &narrow[0], length, nullptr, nullptr);
    narrow.resize(static_cast<std::size_t>(length) - 1);
    return narrow;
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

// Past `count` names from `from`, each ended by a separator or the end;
// npos when a name is empty or missing.
std::size_t AfterNames(const std::wstring& name, std::size_t from, int count, bool slashes)
{
    for (int i = 0; i < count; ++i) {
        std::size_t end = from;
        while (end < name.size() && name[end] != L'\\' && !(slashes && name[end] == L'/'))
            ++end;
        if (end == from)
            return std::wstring::npos;
        from = end < name.size() ? end + 1 : end;
    }
    return from;
}

} // namespace

std::size_t WindowsRootLength(const std::wstring& folder)
{
    auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    // "\\?\" hands the name on as it is: only backslashes separate.
    if (folder.compare(0, 4, L"\\\\?\\") == 0) {
        bool unc = folder.size() >= 8 && (folder[4] == L'U' || folder[4] == L'u') && (folder[5] == L'N' || folder[5] == L'n')
                && (folder[6] == L'C' || folder[6] == L'c') && folder[7] == L'\\';
        return unc ? AfterNames(folder, 8, 2, false) : AfterNames(folder, 4, 1, false);
    }
    if (folder.size() >= 2 && separator(folder[0]) && separator(folder[1])) {
        if (folder.size() >= 4 && (folder[2] == L'.' || folder[2] == L'?') && separator(folder[3]))
            return std::wstring::npos;
        return AfterNames(folder, 2, 2, true);
    }
    if (folder.size() >= 2 && folder[1] == L':')
        return folder.size() >= 3 && separator(folder[2]) ? 3 : 2;
    return !folder.empty() && separator(folder[0]) ? 1 : 0;
}

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

bool MakeFolders(const std::string& folder, std::vector<std::string>& made, std::string& why)
{
    std::wstring wide = Wide(folder);
    std::size_t root = WindowsRootLength(wide);
    if (root == std::wstring::npos) {
        why = folder + (folder.compare(0, 4, "\\\\.\\") == 0 || folder.compare(0, 4, "//./") == 0
                            ? ": a device, not a folder"
                            : ": no share named: a network folder is \\\\SERVER\\SHARE\\FOLDER");
        return false;
    }
    // The server and the share are no folders: asked as one, Windows answers
    // ERROR_BAD_NETPATH. The walk starts below them.
    bool verbatim = wide.compare(0, 4, L"\\\\?\\") == 0;
    for (std::size_t i = root; i <= wide.size(); ++i) {
        if (i < wide.size() && wide[i] != L'\\' && (verbatim || wide[i] != L'/'))
            continue;
        if (i == 0 || i <= root || wide[i - 1] == L'\\' || wide[i - 1] == L'/')
            continue;
        std::wstring part = wide.substr(0, i);
        DWORD attributes = GetFileAttributesW(part.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            continue;
        std::string name = Narrow(part);
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            why = name + ": a file, not a folder";
            return false;
        }
        if (!CreateDirectoryW(part.c_str(), nullptr)) {
            DWORD error = GetLastError();
            attributes = GetFileAttributesW(part.c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                continue;
            why = name + ": " + SystemError(error);
            return false;
        }
        made.push_back(name);
    }
    return true;
}

void RemoveFolders(const std::vector<std::string>& made)
{
    for (std::size_t i = made.size(); i-- > 0;)
        RemoveDirectoryW(Wide(made[i]).c_str());
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

bool MakeFolders(const std::string& folder, std::vector<std::string>& made, std::string& why)
{
    for (std::size_t i = 1; i <= folder.size(); ++i) {
        if ((i < folder.size() && folder[i] != '/') || folder[i - 1] == '/')
            continue;
        std::string part = folder.substr(0, i);
        struct stat facts;
        if (stat(part.c_str(), &facts) == 0) {
            if (S_ISDIR(facts.st_mode))
                continue;
            why = part + ": a file, not a folder";
            return false;
        }
        if (mkdir(part.c_str(), 0777) != 0) {
            int error = errno;
            if (error == EEXIST && stat(part.c_str(), &facts) == 0 && S_ISDIR(facts.st_mode))
                continue;
            why = part + ": " + std::strerror(error);
            return false;
        }
        made.push_back(part);
    }
    return true;
}

void RemoveFolders(const std::vector<std::string>& made)
{
    for (std::size_t i = made.size(); i-- > 0;)
        rmdir(made[i].c_str());
}

#endif
