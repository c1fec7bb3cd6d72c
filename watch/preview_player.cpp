#include "watch/preview_player.h"

#include "base/text.h"
#include "view/list_order.h"
#include "watch/reading_thread.h"

#include <new>

// What the player and its thread share. The thread waits on `wake` until
// the window has taken the waiting picture.
struct PreviewPlayer::Shared final : ReadingShare {
    ~Shared() override
    {
        delete waiting;
        delete decoding;
    }
    PreviewFrame* waiting = nullptr;    // under the lock; handed over when frameWaiting
    bool frameWaiting = false;
    PreviewFrame* decoding = nullptr;   // the thread's own
    char path[kAnimationPathSize] = "";
    HANDLE file = INVALID_HANDLE_VALUE;     // opened by the caller; else the thread opens `path`
};

namespace {

using Shared = PreviewPlayer::Shared;

bool Stopped(const Shared* shared)
{
    return ReadingStopped(&shared->stop);
}

void Publish(Shared* shared, const PreviewFacts& facts)
{
    AcquireSRWLockExclusive(&shared->lock);
    shared->facts = facts;
    ReleaseSRWLockExclusive(&shared->lock);
    TellWindow(shared);
}

// Waits until the window has taken the picture before, then hands this one
// over. False when the player stopped meanwhile.
bool HandOver(Shared* shared)
{
    AcquireSRWLockExclusive(&shared->lock);
    while (shared->frameWaiting && !Stopped(shared))
        SleepConditionVariableSRW(&shared->wake, &shared->lock, INFINITE, 0);
    bool stopped = Stopped(shared);
    if (!stopped) {
        PreviewFrame* swap = shared->waiting;
        shared->waiting = shared->decoding;
        shared->decoding = swap;
        shared->frameWaiting = true;
    }
    ReleaseSRWLockExclusive(&shared->lock);
    if (!stopped)
        TellWindow(shared);
    return !stopped;
}

void Play(Shared* shared)
{
    StoppableFile file(&shared->stop);
    StoppableFile::Opening opening = StoppableFile::Opening::Opened;
    if (shared->file != INVALID_HANDLE_VALUE)
        file.Adopt(shared->file);
    else
        opening = file.Open(shared->path);
    shared->file = INVALID_HANDLE_VALUE;
    if (opening == StoppableFile::Opening::NotAFile) {
        PreviewFacts facts;
        facts.answer = PreviewAnswer::NotAFile;
        if (!Stopped(shared))
            Publish(shared, facts);
        return;
    }
    // About 4 MB at the most for the largest picture, so not on the stack.
    PreviewReading* reading = new (std::nothrow) PreviewReading;
    if (reading != nullptr) {
        reading->Open(opening == StoppableFile::Opening::Opened ? &file : nullptr);
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
    LetGo(shared);
    ReadingThreadEnded();
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
        LetGo(shared);
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
    // Never joined: the thread ends on its own once told to stop.
    if (shared->waiting != nullptr && shared->decoding != nullptr)
        thread = StartReadingThread(ReadingThread, shared);
    if (thread == nullptr) {
        if (shared->file != INVALID_HANDLE_VALUE)
            CloseHandle(shared->file);
        shared->holders = 1;
        LetGo(shared);
        return;
    }
    thread_ = thread;
    shared_ = shared;
}

PreviewPlayer::~PreviewPlayer()
{
    if (shared_ == nullptr)
        return;
    StopReading(shared_, thread_);
}

PreviewFacts PreviewPlayer::Facts() const
{
    return shared_ != nullptr ? FactsOf(shared_) : PreviewFacts();
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
        WakeAllConditionVariable(&shared_->wake);
    return taken;
}

int PreviewPlayer::LiveThreads()
{
    return LiveReadingThreads();
}
