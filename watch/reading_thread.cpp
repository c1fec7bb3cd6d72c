#include "watch/reading_thread.h"

namespace {

LONG LiveThreadCount;

} // namespace

bool ReadingStopped(const volatile LONG* stop)
{
    return InterlockedCompareExchange(const_cast<volatile LONG*>(stop), 0, 0) != 0;
}

StoppableFile::~StoppableFile()
{
    if (file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
}

bool StoppableFile::Open(const char* path)
{
    file_ = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                        FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    return file_ != INVALID_HANDLE_VALUE;
}

std::size_t StoppableFile::Read(unsigned char* into, std::size_t size)
{
    std::size_t done = 0;
    while (done < size && !ReadingStopped(stop_)) {
        DWORD part = size - done > 0x100000 ? 0x100000 : static_cast<DWORD>(size - done);
        DWORD read = 0;
        if (!ReadFile(file_, into + done, part, &read, nullptr) || read == 0)
            break;
        done += read;
    }
    return done;
}

bool StoppableFile::Seek(std::uint64_t offset)
{
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    return offset <= 0x7FFFFFFFFFFFFFFFull && !ReadingStopped(stop_)
           && SetFilePointerEx(file_, to, nullptr, FILE_BEGIN);
}

int LiveReadingThreads()
{
    return static_cast<int>(InterlockedCompareExchange(&LiveThreadCount, 0, 0));
}

bool StartReadingThread(LPTHREAD_START_ROUTINE routine, void* context)
{
    if (!ReadingThreadRoom())
        return false;
    InterlockedIncrement(&LiveThreadCount);
    HANDLE thread = CreateThread(nullptr, 0, routine, context, 0, nullptr);
    if (thread == nullptr) {
        InterlockedDecrement(&LiveThreadCount);
        return false;
    }
    CloseHandle(thread);
    return true;
}

void ReadingThreadEnded()
{
    InterlockedDecrement(&LiveThreadCount);
}
