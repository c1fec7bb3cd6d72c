#include "watch/preview_player.h"

#include "base/text.h"
#include "view/list_order.h"

#include <new>

namespace {

LONG LiveThreadCount;

// The threads of ended players that still run, each waiting in a read
// perhaps: cancelled again until they end. Touched by the players' thread only.
HANDLE LeftBehind[PreviewPlayer::kMostThreads];

// Closes the handles of the threads left behind that have ended, and cancels
// the read of those that have not: a cancel that came just before the thread
// entered its read missed it.
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

void LeaveBehind(HANDLE thread)
{
    CancelSynchronousIo(thread);
    CancelLeftBehind();
    for (HANDLE& slot : LeftBehind) {
        if (slot == nullptr) {
            slot = thread;
            return;
        }
    }
    CloseHandle(thread);    // no slot (it cannot happen with a slot per thread): not cancelled again
}

} // namespace

// What the player and its thread share; the last of the two to let go frees it.
struct PreviewPlayer::Shared {
    LONG holders = 2;
    volatile LONG stop = 0;             // read between reads, without the lock
    SRWLOCK lock = SRWLOCK_INIT;
    CONDITION_VARIABLE taken = CONDITION_VARIABLE_INIT;   // the waiting picture was taken, or stop
    PreviewFacts facts;                 // under the lock
    PreviewFrame* waiting = nullptr;    // under the lock; handed over when frameWaiting
    bool frameWaiting = false;
    PreviewFrame* decoding = nullptr;   // the thread's own
    char path[kAnimationPathSize] = "";
    HANDLE file = INVALID_HANDLE_VALUE;     // opened by the caller, or by the thread from `path`
    HWND window = nullptr;
    UINT message = 0;
    WPARAM generation = 0;
};

namespace {

using Shared = PreviewPlayer::Shared;

void Release(Shared* shared)
{
    if (InterlockedDecrement(&shared->holders) != 0)
        return;
    delete shared->waiting;
    delete shared->decoding;
    delete shared;
}

bool Stopped(const Shared* shared)
{
    return InterlockedCompareExchange(const_cast<volatile LONG*>(&shared->stop), 0, 0) != 0;
}

// The file, read in the thread. Every read first asks whether the window
// still wants it: a stopped player's thread ends at its next read.
class FileSource final : public FlcSource {
public:
    FileSource(HANDLE file, const Shared* shared) : file_(file), shared_(shared) {}
    std::size_t Read(unsigned char* into, std::size_t size) override
    {
        std::size_t done = 0;
        while (done < size && !Stopped(shared_)) {
            DWORD part = size - done > 0x100000 ? 0x100000 : static_cast<DWORD>(size - done);
            DWORD read = 0;
            if (!ReadFile(file_, into + done, part, &read, nullptr) || read == 0)
                break;
            done += read;
        }
        at_ += done;
        return done;
    }
    // No call where the file already is: the reading goes on from one
    // chunk to the next far more often than it skips.
    bool Seek(std::uint64_t offset) override
    {
        if (offset > 0x7FFFFFFFFFFFFFFFull || Stopped(shared_))
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

private:
    HANDLE file_;
    const Shared* shared_;
    std::uint64_t at_ = 0;
};

void Tell(Shared* shared)
{
    PostMessageA(shared->window, shared->message, shared->generation, 0);
}

void Publish(Shared* shared, const PreviewFacts& facts)
{
    AcquireSRWLockExclusive(&shared->lock);
    shared->facts = facts;
    ReleaseSRWLockExclusive(&shared->lock);
    Tell(shared);
}

// Waits until the window has taken the picture before, then hands this one
// over. False when the player stopped meanwhile.
bool HandOver(Shared* shared)
{
    AcquireSRWLockExclusive(&shared->lock);
    while (shared->frameWaiting && !Stopped(shared))
        SleepConditionVariableSRW(&shared->taken, &shared->lock, INFINITE, 0);
    bool stopped = Stopped(shared);
    if (!stopped) {
        PreviewFrame* swap = shared->waiting;
        shared->waiting = shared->decoding;
        shared->decoding = swap;
        shared->frameWaiting = true;
    }
    ReleaseSRWLockExclusive(&shared->lock);
    if (!stopped)
        Tell(shared);
    return !stopped;
}

// Opens the player's file unless the caller did. A device or a pipe is
// closed again unread: a read from one may wait for ever (a pipe nobody
// writes, a serial line), and it is no animation anyway.
bool OpenFile(Shared* shared)
{
    if (shared->file != INVALID_HANDLE_VALUE)
        return true;
    shared->file = CreateFileA(shared->path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (shared->file == INVALID_HANDLE_VALUE || GetFileType(shared->file) == FILE_TYPE_DISK)
        return true;
    CloseHandle(shared->file);
    shared->file = INVALID_HANDLE_VALUE;
    return false;
}

void Play(Shared* shared)
{
    if (!OpenFile(shared)) {
        PreviewFacts facts;
        facts.answer = PreviewAnswer::NotAFile;
        if (!Stopped(shared))
            Publish(shared, facts);
        return;
    }
    HANDLE file = shared->file;
    FileSource source(file, shared);
    // About 4 MB at the most for the largest picture, so not on the stack.
    PreviewReading* reading = new (std::nothrow) PreviewReading;
    if (reading != nullptr) {
        reading->Open(file != INVALID_HANDLE_VALUE ? &source : nullptr);
        PreviewFacts told = reading->Facts();
        if (!Stopped(shared))
            Publish(shared, told);
        while (!Stopped(shared) && reading->Next(*shared->decoding)) {
            if (Stopped(shared))
                break;
            const PreviewFacts& facts = reading->Facts();
            if (facts.damagedAt != told.damagedAt) {
                told = facts;
                Publish(shared, told);
            }
            if (!HandOver(shared))
                break;
        }
        // A file that breaks before its first picture says so at the end,
        // and a still that it is one.
        const PreviewFacts& facts = reading->Facts();
        if (!Stopped(shared) && (facts.answer != told.answer || facts.still != told.still))
            Publish(shared, facts);
        delete reading;
    }
}

DWORD WINAPI ReadingThread(void* context)
{
    auto* shared = static_cast<Shared*>(context);
    Play(shared);
    if (shared->file != INVALID_HANDLE_VALUE)
        CloseHandle(shared->file);
    Release(shared);
    InterlockedDecrement(&LiveThreadCount);
    return 0;
}

} // namespace

PreviewPlayer::PreviewPlayer(const char* path, HWND window, UINT message, WPARAM generation)
{
    auto* shared = HasRoom() ? new (std::nothrow) Shared : nullptr;
    if (shared == nullptr)
        return;
    shared->window = window;
    shared->message = message;
    shared->generation = generation;
    if (!CopyText(shared->path, path)) {
        shared->holders = 1;
        Release(shared);
        return;
    }
    Start(shared);
}

PreviewPlayer::PreviewPlayer(HANDLE file, HWND window, UINT message, WPARAM generation)
{
    auto* shared = HasRoom() ? new (std::nothrow) Shared : nullptr;
    if (shared == nullptr) {
        CloseHandle(file);
        return;
    }
    shared->file = file;
    shared->window = window;
    shared->message = message;
    shared->generation = generation;
    Start(shared);
}

// Starts the thread on `shared`, or frees it (and the file it holds) when
// it cannot.
void PreviewPlayer::Start(Shared* shared)
{
    shared->waiting = new (std::nothrow) PreviewFrame;
    shared->decoding = new (std::nothrow) PreviewFrame;
    HANDLE thread = nullptr;
    if (shared->waiting != nullptr && shared->decoding != nullptr) {
        InterlockedIncrement(&LiveThreadCount);
        // Never joined: the thread ends on its own once told to stop.
        thread = CreateThread(nullptr, 0, ReadingThread, shared, 0, nullptr);
        if (thread == nullptr)
            InterlockedDecrement(&LiveThreadCount);
    }
    if (thread == nullptr) {
        if (shared->file != INVALID_HANDLE_VALUE)
            CloseHandle(shared->file);
        shared->holders = 1;
        Release(shared);
        return;
    }
    thread_ = thread;
    shared_ = shared;
}

PreviewPlayer::~PreviewPlayer()
{
    if (shared_ == nullptr)
        return;
    AcquireSRWLockExclusive(&shared_->lock);
    InterlockedExchange(&shared_->stop, 1);
    ReleaseSRWLockExclusive(&shared_->lock);
    WakeAllConditionVariable(&shared_->taken);
    LeaveBehind(thread_);
    Release(shared_);
}

PreviewFacts PreviewPlayer::Facts() const
{
    if (shared_ == nullptr)
        return PreviewFacts();
    AcquireSRWLockShared(&shared_->lock);
    PreviewFacts facts = shared_->facts;
    ReleaseSRWLockShared(&shared_->lock);
    return facts;
}

bool PreviewPlayer::TakeFrame(PreviewFrame*& frame)
{
    if (shared_ == nullptr)
        return false;
    AcquireSRWLockExclusive(&shared_->lock);
    bool taken = shared_->frameWaiting;
    if (taken) {
        PreviewFrame* swap = shared_->waiting;
        shared_->waiting = frame;
        frame = swap;
        shared_->frameWaiting = false;
    }
    ReleaseSRWLockExclusive(&shared_->lock);
    if (taken)
        WakeAllConditionVariable(&shared_->taken);
    return taken;
}

int PreviewPlayer::LiveThreads()
{
    CancelLeftBehind();
    return static_cast<int>(InterlockedCompareExchange(&LiveThreadCount, 0, 0));
}
