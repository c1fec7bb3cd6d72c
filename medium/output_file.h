// A file written whole or not at all: under a temporary name beside the
// target, renamed over it only once every byte is on the disk.
#pragma once

#include "anim/byte_sink.h"

#include <cstdint>
#include <string>
#include <vector>

class OutputFile final : public ByteSink {
public:
    // `room`: how many bytes the disk takes before it is full (for tests).
    explicit OutputFile(std::uint64_t room = UINT64_MAX) : room_(room) {}
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // False, with the reason in Error(), when no file can be begun.
    bool Open(const std::string& target);
    bool Write(const void* data, std::size_t size) override;
    // Everything written: the target replaced. False: the old file of that
    // name is as it was, the temporary file removed.
    bool Commit();
    // Leaves the target as it was.
    void Discard();
    const std::string& Error() const { return error_; }

private:
    std::string target_;
    std::string temporary_;     // empty when writing straight to a device
    std::string error_;
    std::uint64_t room_;
    std::uint64_t written_ = 0;
    bool failed_ = false;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int descriptor_ = -1;
#endif
};

// Every folder of `folder` that is missing, made, and added to `made` (the
// outermost first); false when one cannot be, with the folder and why in `why`.
bool MakeFolders(const std::string& folder, std::vector<std::string>& made, std::string& why);
// The folders `made` that are still empty, removed.
void RemoveFolders(const std::vector<std::string>& made);

// How much of a Windows folder name is its root, where making folders
// starts: 3 for "C:\", the server and share of "\\SERVER\SHARE\" (neither
// is a folder one can make), the same after "\\?\" and "\\?\UNC\"; 0 for
// a relative name. npos for a name with no place to make folders in: a
// server without a share, or a device ("\\.\").
std::size_t WindowsRootLength(const std::wstring& folder);
