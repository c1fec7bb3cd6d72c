// What every reading thread of animation files shares: the file, read with a
// flag that stops it at the next read, and the count of threads still
// running, so a medium that hangs never gathers more than a few.
#pragma once

#include <windows.h>

#include "anim/flc_reader.h"

// Whether a thread's stop flag is set; read without a lock.
bool ReadingStopped(const volatile LONG* stop);

// A file read on a reading thread. Every read first asks the stop flag: a
// stopped reading ends at its next read.
class StoppableFile final : public FlcSource {
public:
    explicit StoppableFile(const volatile LONG* stop) : stop_(stop) {}
    ~StoppableFile() override;
    StoppableFile(const StoppableFile&) = delete;
    StoppableFile& operator=(const StoppableFile&) = delete;

    // False when the file cannot be opened for reading.
    bool Open(const char* path);
    std::size_t Read(unsigned char* into, std::size_t size) override;
    bool Seek(std::uint64_t offset) override;

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    const volatile LONG* stop_;
};

// Reading threads at the most at once, those left behind on a medium that
// hangs included.
constexpr int kMostReadingThreads = 8;
int LiveReadingThreads();
inline bool ReadingThreadRoom() { return LiveReadingThreads() < kMostReadingThreads; }

// Runs `routine` with `context` on a thread of its own, never joined; false
// (nothing started) when there is no room or the thread cannot be made.
// The routine's last act is ReadingThreadEnded().
bool StartReadingThread(LPTHREAD_START_ROUTINE routine, void* context);
void ReadingThreadEnded();
