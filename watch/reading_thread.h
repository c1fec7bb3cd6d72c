// What every reading thread of animation files shares, the preview's and the
// viewer's: the file, read only when it is a file on a disk and with a flag
// that stops it at the next read; the threads themselves, started and never
// joined, their blocked reads cancelled when they are left behind, and
// counted, so a medium that hangs never gathers more than a few.
#pragma once

#include <windows.h>

#include "anim/flc_reader.h"
#include "watch/preview_reading.h"

// Whether a thread's stop flag is set; read without a lock.
bool ReadingStopped(const volatile LONG* stop);

// A file read on a reading thread. Every read first asks the stop flag: a
// stopped reading ends at its next read. The handle is closed with it.
class StoppableFile final : public FlcSource {
public:
    explicit StoppableFile(const volatile LONG* stop) : stop_(stop) {}
    ~StoppableFile() override;
    StoppableFile(const StoppableFile&) = delete;
    StoppableFile& operator=(const StoppableFile&) = delete;

    enum class Opening { Opened, Missing, NotAFile };
    // Opens `path` for reading. A device or a pipe is closed again unread
    // (NotAFile): a read from one may wait for ever (a pipe nobody writes, a
    // serial line), and it is no animation anyway.
    Opening Open(const char* path);
    // Reads `file`, opened by the caller, whatever it is.
    void Adopt(HANDLE file);
    std::size_t Read(unsigned char* into, std::size_t size) override;
    // No call where the file already is: the reading goes on from one chunk
    // to the next far more often than it skips.
    bool Seek(std::uint64_t offset) override;

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    const volatile LONG* stop_;
    std::uint64_t at_ = 0;
};

// Reading threads at the most at once, those left behind included: on a
// medium that hangs (a network share gone) each reading asked for would
// leave one more thread and its buffers waiting in a read.
constexpr int kMostReadingThreads = 8;
// The threads still running; the reads of those left behind are cancelled
// again on the way (a cancel that came just before a read missed it).
// Threads are started, left and counted on one thread, the window's.
int LiveReadingThreads();
inline bool ReadingThreadRoom() { return LiveReadingThreads() < kMostReadingThreads; }

// Runs `routine` with `context` on a thread of its own, never joined; null
// (nothing started) when there is no room or the thread cannot be made.
// The routine's last act is ReadingThreadEnded(). A thread on standby, when
// there is one, is handed the routine and becomes that thread: its handle,
// its count and its end are those of a thread made for it.
HANDLE StartReadingThread(LPTHREAD_START_ROUTINE routine, void* context);
// Makes a thread on standby if there is none: it waits, holds nothing and is
// not counted until StartReadingThread hands it a routine. Under Wine a new
// thread takes milliseconds to run (more on a busy machine), so the callers
// make the next one at a moment nobody waits for: never on the way to a
// first picture. At the process's end a standby is simply left.
void PrepareReadingThread();
void ReadingThreadEnded();
// The thread's reading is no longer wanted (its stop flag is set): its
// blocked read is cancelled now and whenever the threads are counted,
// until it ends. Takes the handle.
void LeaveReadingThread(HANDLE thread);

// What a player on the window's thread and its reading thread share: the
// stop flag, the facts of the file, the lock over them and where news goes.
// Held by both; the last to let go frees it. A player's own share derives
// from it and frees its pictures in its destructor.
struct ReadingShare {
    virtual ~ReadingShare() = default;
    LONG holders = 2;
    volatile LONG stop = 0;                 // read between reads, without the lock
    SRWLOCK lock = SRWLOCK_INIT;
    CONDITION_VARIABLE wake = CONDITION_VARIABLE_INIT;   // the thread waits on it: the window's turn is over, or stop
    PreviewFacts facts;                     // under the lock
    HWND window = nullptr;
    UINT message = 0;
    WPARAM generation = 0;
};
// One holder less; the last frees the share.
void LetGo(ReadingShare* share);
// Posts the news message to the window, with the generation.
void TellWindow(const ReadingShare* share);
// The facts, read under the lock.
PreviewFacts FactsOf(ReadingShare* share);
// The player's end: the stop flag set, the thread woken and its read
// cancelled, the thread left (LeaveReadingThread) and the share let go.
void StopReading(ReadingShare* share, HANDLE thread);
