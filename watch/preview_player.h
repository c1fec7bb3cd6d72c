// An animation file played for the preview on a thread of its own, so that a
// slow medium never holds up the window: the thread reads and decodes one
// picture ahead and waits until the window has taken it.
#pragma once

#include <windows.h>

#include "watch/preview_reading.h"
#include "watch/reading_thread.h"

class PreviewPlayer {
public:
    // Starts reading the file at `path` at once. Whenever there is news (the
    // facts, a picture), `message` is posted to `window` with `generation` as
    // its word parameter; it may come once more after the player is gone.
    // Only a file on a disk is read: a device name (NUL, COM1) or a pipe is
    // answered NotAFile without a read, which might never come back.
    PreviewPlayer(const char* path, HWND window, UINT message, WPARAM generation);
    // Plays `file`, opened by the caller, whatever it is; the player closes
    // it, also when it does not start.
    PreviewPlayer(HANDLE file, HWND window, UINT message, WPARAM generation);
    // Tells the thread to stop and cancels the read it waits in, and leaves
    // it: a read the medium does not let go of (a network share gone) is
    // cancelled again whenever LiveThreads is asked, until the thread ends.
    ~PreviewPlayer();
    PreviewPlayer(const PreviewPlayer&) = delete;
    PreviewPlayer& operator=(const PreviewPlayer&) = delete;

    bool Started() const { return shared_ != nullptr; }
    PreviewFacts Facts() const;
    // The next picture once it is decoded, in place of `frame` (whose
    // buffer goes back to the thread); the thread goes on to the one after.
    // False, and `frame` unchanged, while there is none.
    bool TakeFrame(PreviewFrame*& frame);

    // Reading threads still running, the viewer's and those left behind
    // included. Players are made, ended and asked on one thread, the window's.
    static int LiveThreads();
    // Threads at the most at once (reading_thread.h); past this many, a new
    // player does not start.
    static constexpr int kMostThreads = kMostReadingThreads;
    static bool HasRoom() { return LiveThreads() < kMostThreads; }

    struct Shared;

private:
    void Start(Shared* shared);

    Shared* shared_ = nullptr;
    HANDLE thread_ = nullptr;
};
