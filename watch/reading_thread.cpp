#include "watch/reading_thread.h"

#include <new>

namespace {

LONG LiveThreadCount;

// The threads left behind that still run, each waiting in a read perhaps.
// Touched by the window's thread only.
HANDLE LeftBehind[kMostReadingThreads];

// Closes the handles of the threads left behind that have ended, and
// cancels the read of those that have not.
void CancelLeftBehind()
{
    for (HANDLE& thread : LeftBehind) {
        if (thread == nullptr)
            continue;
        if (WaitForSingleObject(thread, 0) == WAIT_OBJECT_0) {
            CloseHandle(thread);
            thread = nullptr;
        } else {
            CancelSynchronousIo(thread);
        }
    }
}

// A thread made ahead of need, waiting for its routine. The window's thread
// hands it over; the event orders the two fields before the standby reads
// them.
struct Standby {
    HANDLE go = nullptr;
    LPTHREAD_START_ROUTINE routine = nullptr;
    void* context = nullptr;
};

Standby* ReadyStandby;          // its thread's handle in ReadyStandbyThread
HANDLE ReadyStandbyThread;

DWORD WINAPI StandbyThread(void* waiting)
{
    Standby* standby = static_cast<Standby*>(waiting);
    WaitForSingleObject(standby->go, INFINITE);
    LPTHREAD_START_ROUTINE routine = standby->routine;
    void* context = standby->context;
    CloseHandle(standby->go);
    delete standby;
    return routine(context);
}

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

StoppableFile::Opening StoppableFile::Open(const char* path)
{
    file_ = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                        FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file_ == INVALID_HANDLE_VALUE)
        return Opening::Missing;
    if (GetFileType(file_) == FILE_TYPE_DISK)
        return Opening::Opened;
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    return Opening::NotAFile;
}

void StoppableFile::Adopt(HANDLE file)
{
    file_ = file;
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
    at_ += done;
    return done;
}

bool StoppableFile::Seek(std::uint64_t offset)
{
    if (offset > 0x7FFFFFFFFFFFFFFFull || ReadingStopped(stop_))
        return false;
    if (offset == at_)
        return true;
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file_, to, nullptr, FILE_BEGIN))
        return false;
    at_ = offset;
    return true;
}

int LiveReadingThreads()
{
    CancelLeftBehind();
    return static_cast<int>(InterlockedCompareExchange(&LiveThreadCount, 0, 0));
}

HANDLE StartReadingThread(LPTHREAD_START_ROUTINE routine, void* context)
{
    if (!ReadingThreadRoom())
        return nullptr;
    InterlockedIncrement(&LiveThreadCount);
    if (ReadyStandby != nullptr) {
        Standby* standby = ReadyStandby;
        HANDLE thread = ReadyStandbyThread;
        ReadyStandby = nullptr;
        ReadyStandbyThread = nullptr;
        standby->routine = routine;
        standby->context = context;
        SetEvent(standby->go);
        return thread;
    }
    HANDLE thread = CreateThread(nullptr, 0, routine, context, 0, nullptr);
    if (thread == nullptr)
        InterlockedDecrement(&LiveThreadCount);
    return thread;
}

void PrepareReadingThread()
{
    if (ReadyStandby != nullptr)
        return;
    Standby* standby = new (std::nothrow) Standby;
    if (standby == nullptr)
        return;
    standby->go = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE thread = standby->go != nullptr ? CreateThread(nullptr, 0, StandbyThread, standby, 0, nullptr) : nullptr;
    if (thread == nullptr) {
        if (standby->go != nullptr)
            CloseHandle(standby->go);
        delete standby;
        return;
    }
    ReadyStandby = standby;
    ReadyStandbyThread = thread;
}

void ReadingThreadEnded()
{
    InterlockedDecrement(&LiveThreadCount);
}

void LeaveReadingThread(HANDLE thread)
{
    if (thread == nullptr)
        return;
    CancelSynchronousIo(thread);
    CancelLeftBehind();
    for (HANDLE& slot : LeftBehind) {
        if (slot == nullptr) {
            slot = thread;
            return;
        }
    }
    CloseHandle(thread);    // no slot (none can lack one, a slot per thread): not cancelled again
}

void LetGo(ReadingShare* share)
{
    if (InterlockedDecrement(&share->holders) == 0)
        delete share;
}

void TellWindow(const ReadingShare* share)
{
    PostMessageA(share->window, share->message, share->generation, 0);
}

PreviewFacts FactsOf(ReadingShare* share)
{
    AcquireSRWLockShared(&share->lock);
    PreviewFacts facts = share->facts;
    ReleaseSRWLockShared(&share->lock);
    return facts;
}

void StopReading(ReadingShare* share, HANDLE thread)
{
    AcquireSRWLockExclusive(&share->lock);
    InterlockedExchange(&share->stop, 1);
    ReleaseSRWLockExclusive(&share->lock);
    WakeAllConditionVariable(&share->wake);
    LeaveReadingThread(thread);
    LetGo(share);
}
