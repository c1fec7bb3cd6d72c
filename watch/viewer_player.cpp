#include "watch/viewer_player.h"

#include "base/text.h"
#include "view/list_order.h"
#include "watch/reading_thread.h"
#include "watch/viewer_reading.h"

#include <cstring>
#include <new>

// What the player and its thread share. The thread waits on `wake` for a
// new wish.
struct ViewerPlayer::Shared final : ReadingShare {
    ~Shared() override
    {
        delete ready;
        delete decoding;
    }
    // Under the lock:
    int lastFrame = 0;
    int wish = 0;               // the frame asked for
    unsigned wishes = 0;        // counts the asks, so one asked again is decoded again
    unsigned refused = 0;       // the last ask that no frame can answer
    ViewerFrame* ready = nullptr;
    bool frameReady = false;    // `ready` holds the frame of `wish`
    // The thread's own:
    ViewerFrame* decoding = nullptr;
    char path[kAnimationPathSize] = "";
};

namespace {

using Shared = ViewerPlayer::Shared;

// The facts, and with `refused` that ask `answered` gets no frame.
void Publish(Shared* shared, const ViewerReading& reading, bool refused = false, unsigned answered = 0)
{
    AcquireSRWLockExclusive(&shared->lock);
    shared->facts = reading.Facts();
    shared->lastFrame = reading.LastFrame();
    if (refused)
        shared->refused = answered;
    ReleaseSRWLockExclusive(&shared->lock);
    TellWindow(shared);
}

// The picture the reading holds into `frame`, its buffer grown as needed.
bool CopyPicture(const ViewerReading& reading, ViewerFrame& frame)
{
    const FlcInfo& info = reading.Facts().info;
    const int stride = PreviewRowStride(info.width);
    const std::size_t size = static_cast<std::size_t>(stride) * static_cast<std::size_t>(info.height);
    if (frame.capacity < size) {
        frame.indices.reset(new (std::nothrow) std::uint8_t[size]);
        frame.capacity = frame.indices ? size : 0;
        if (!frame.indices)
            return false;
    }
    frame.width = info.width;
    frame.height = info.height;
    frame.stride = stride;
    frame.number = reading.FrameNumber();
    for (int y = 0; y < info.height; ++y)
        std::memcpy(frame.indices.get() + static_cast<std::size_t>(y) * stride,
                    reading.Indices() + static_cast<std::size_t>(y) * info.width, static_cast<std::size_t>(info.width));
    std::memcpy(frame.palette, reading.Palette(), sizeof frame.palette);
    return true;
}

// Waits for a wish it has not answered; 0 when the player stopped.
int NextWish(Shared* shared, unsigned& answered)
{
    AcquireSRWLockExclusive(&shared->lock);
    while (shared->wishes == answered && !ReadingStopped(&shared->stop))
        SleepConditionVariableSRW(&shared->wake, &shared->lock, INFINITE, 0);
    answered = shared->wishes;
    int wish = ReadingStopped(&shared->stop) ? 0 : shared->wish;
    ReleaseSRWLockExclusive(&shared->lock);
    return wish;
}

// Hands the decoded frame over unless the window has asked for another
// one meanwhile.
void HandOver(Shared* shared, unsigned answered)
{
    AcquireSRWLockExclusive(&shared->lock);
    bool current = shared->wishes == answered;
    if (current) {
        ViewerFrame* swap = shared->ready;
        shared->ready = shared->decoding;
        shared->decoding = swap;
        shared->frameReady = true;
    }
    ReleaseSRWLockExclusive(&shared->lock);
    if (current)
        TellWindow(shared);
}

void Play(Shared* shared)
{
    StoppableFile file(&shared->stop);
    StoppableFile::Opening opening = file.Open(shared->path);
    if (opening == StoppableFile::Opening::NotAFile) {
        AcquireSRWLockExclusive(&shared->lock);
        shared->facts.answer = PreviewAnswer::NotAFile;
        ReleaseSRWLockExclusive(&shared->lock);
        TellWindow(shared);
        return;
    }
    // The largest picture is 4 MB, its kept pictures up to 16 MB: not on the stack.
    ViewerReading* reading = new (std::nothrow) ViewerReading;
    if (reading == nullptr)
        return;
    reading->Open(opening == StoppableFile::Opening::Opened ? &file : nullptr);
    Publish(shared, *reading);
    unsigned answered = 0;
    while (reading->Facts().answer == PreviewAnswer::Playing) {
        int wish = NextWish(shared, answered);
        if (wish == 0)
            break;
        PreviewFacts before = reading->Facts();
        bool found = reading->Seek(wish);
        if (ReadingStopped(&shared->stop))
            break;
        // Every ask is answered: by its frame, or by saying there is none
        // (past the damage, or the medium gone), so the window never waits.
        if (found && CopyPicture(*reading, *shared->decoding))
            HandOver(shared, answered);
        else
            Publish(shared, *reading, true, answered);
        if (found && (reading->Facts().damagedAt != before.damagedAt || reading->Facts().answer != before.answer))
            Publish(shared, *reading);
    }
    delete reading;
}

DWORD WINAPI ViewerThread(void* context)
{
    auto* shared = static_cast<Shared*>(context);
    Play(shared);
    LetGo(shared);
    ReadingThreadEnded();
    return 0;
}

} // namespace

ViewerPlayer::ViewerPlayer(const char* path, HWND window, UINT message, WPARAM generation)
{
    auto* shared = new (std::nothrow) Shared;
    if (shared == nullptr)
        return;
    shared->ready = new (std::nothrow) ViewerFrame;
    shared->decoding = new (std::nothrow) ViewerFrame;
    shared->window = window;
    shared->message = message;
    shared->generation = generation;
    // Never joined: the thread ends on its own once told to stop.
    HANDLE thread = nullptr;
    if (shared->ready != nullptr && shared->decoding != nullptr && CopyText(shared->path, path))
        thread = StartReadingThread(ViewerThread, shared);
    if (thread == nullptr) {
        shared->holders = 1;
        LetGo(shared);
        return;
    }
    thread_ = thread;
    shared_ = shared;
}

ViewerPlayer::~ViewerPlayer()
{
    if (shared_ == nullptr)
        return;
    StopReading(shared_, thread_);
}

PreviewFacts ViewerPlayer::Facts() const
{
    return shared_ != nullptr ? FactsOf(shared_) : PreviewFacts();
}

int ViewerPlayer::LastFrame() const
{
    if (shared_ == nullptr)
        return 0;
    AcquireSRWLockShared(&shared_->lock);
    int last = shared_->lastFrame;
    ReleaseSRWLockShared(&shared_->lock);
    return last;
}

void ViewerPlayer::Ask(int number)
{
    if (shared_ == nullptr)
        return;
    AcquireSRWLockExclusive(&shared_->lock);
    shared_->wish = number;
    ++shared_->wishes;
    shared_->frameReady = false;
    ReleaseSRWLockExclusive(&shared_->lock);
    WakeAllConditionVariable(&shared_->wake);
}

bool ViewerPlayer::Refused() const
{
    if (shared_ == nullptr)
        return false;
    AcquireSRWLockShared(&shared_->lock);
    bool refused = shared_->wishes != 0 && shared_->refused == shared_->wishes;
    ReleaseSRWLockShared(&shared_->lock);
    return refused;
}

bool ViewerPlayer::TakeFrame(ViewerFrame*& frame)
{
    if (shared_ == nullptr)
        return false;
    AcquireSRWLockExclusive(&shared_->lock);
    bool taken = shared_->frameReady;
    if (taken) {
        ViewerFrame* swap = shared_->ready;
        shared_->ready = frame;
        frame = swap;
        shared_->frameReady = false;
    }
    ReleaseSRWLockExclusive(&shared_->lock);
    return taken;
}
