#include "watch/preview_player.h"

#include "base/text.h"
#include "view/list_order.h"

#include <new>

namespace {

LONG LiveThreadCount;

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
        return done;
    }
    bool Seek(std::uint64_t offset) override
    {
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(offset);
        return offset <= 0x7FFFFFFFFFFFFFFFull && !Stopped(shared_)
               && SetFilePointerEx(file_, to, nullptr, FILE_BEGIN);
    }

private:
    HANDLE file_;
    const Shared* shared_;
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

void Play(Shared* shared)
{
    HANDLE file = CreateFileA(shared->path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
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
        // A file that breaks before its first picture says so at the end.
        if (!Stopped(shared) && reading->Facts().answer != told.answer)
            Publish(shared, reading->Facts());
        delete reading;
    }
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

DWORD WINAPI ReadingThread(void* context)
{
    auto* shared = static_cast<Shared*>(context);
    Play(shared);
    Release(shared);
    InterlockedDecrement(&LiveThreadCount);
    return 0;
}

} // namespace

PreviewPlayer::PreviewPlayer(const char* path, HWND window, UINT message, WPARAM generation)
{
    if (!HasRoom())
        return;
    auto* shared = new (std::nothrow) Shared;
    if (shared == nullptr)
        return;
    shared->waiting = new (std::nothrow) PreviewFrame;
    shared->decoding = new (std::nothrow) PreviewFrame;
    shared->window = window;
    shared->message = message;
    shared->generation = generation;
    if (shared->waiting == nullptr || shared->decoding == nullptr || !CopyText(shared->path, path)) {
        shared->holders = 1;
        Release(shared);
        return;
    }
    InterlockedIncrement(&LiveThreadCount);
    // Never joined: the thread ends on its own once told to stop.
    HANDLE thread = CreateThread(nullptr, 0, ReadingThread, shared, 0, nullptr);
    if (thread == nullptr) {
        InterlockedDecrement(&LiveThreadCount);
        shared->holders = 1;
        Release(shared);
        return;
    }
    CloseHandle(thread);
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
    return static_cast<int>(InterlockedCompareExchange(&LiveThreadCount, 0, 0));
}
