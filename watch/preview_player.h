// An animation file played for the preview on a thread of its own, so that a
// slow medium never holds up the window: the thread reads and decodes one
// picture ahead and waits until the window has taken it.
#pragma once

#include <windows.h>

#include "watch/preview_reading.h"

class PreviewPlayer {
public:
    // Starts reading the file at `path` at once. Whenever there is news (the
    // facts, a picture), `message` is posted to `window` with `generation` as
    // its word parameter; it may come once more after the player is gone.
    PreviewPlayer(const char* path, HWND window, UINT message, WPARAM generation);
    // Tells the thread to stop and leaves it: a read that hangs on a slow
    // medium ends the thread later, on its own.
    ~PreviewPlayer();
    PreviewPlayer(const PreviewPlayer&) = delete;
    PreviewPlayer& operator=(const PreviewPlayer&) = delete;

    bool Started() const { return shared_ != nullptr; }
    PreviewFacts Facts() const;
    // The next picture once it is decoded, in place of `frame` (whose
    // buffer goes back to the thread); the thread goes on to the one after.
    // False, and `frame` unchanged, while there is none.
    bool TakeFrame(PreviewFrame*& frame);

    // Reading threads still running, those left behind included.
    static int LiveThreads();
    // Threads at the most at once. On a medium that hangs (a network share
    // gone) each preview asked for would leave one more thread and its
    // buffers waiting; past this many, a new player does not start.
    static constexpr int kMostThreads = 8;
    static bool HasRoom() { return LiveThreads() < kMostThreads; }

    struct Shared;

private:
    Shared* shared_ = nullptr;
};
