// The viewer's file read on a thread of its own, as the preview's is: the
// window asks for a frame by its number (the next one while playing, any
// one when stepping), the thread decodes it and says so.
#pragma once

#include <windows.h>

#include "watch/preview_reading.h"

#include <cstdint>
#include <memory>

// A picture at its own size: colour indices, top row first, rows `stride`
// bytes apart (whole 4-byte words, as device-independent pictures keep them).
struct ViewerFrame {
    int width = 0;
    int height = 0;
    int stride = 0;
    int number = 0;                 // from 1
    std::uint8_t palette[768] = {};
    std::unique_ptr<std::uint8_t[]> indices;
    std::size_t capacity = 0;
};

class ViewerPlayer {
public:
    // Starts reading the file at `path` at once (only a file on a disk, as
    // the preview's); news (the facts, a frame)
    // is posted to `window` as `message` with `generation`, and may come once
    // more after the player is gone.
    ViewerPlayer(const char* path, HWND window, UINT message, WPARAM generation);
    // Tells the thread to stop, cancels the read it waits in, and leaves it.
    ~ViewerPlayer();
    ViewerPlayer(const ViewerPlayer&) = delete;
    ViewerPlayer& operator=(const ViewerPlayer&) = delete;

    bool Started() const { return shared_ != nullptr; }
    PreviewFacts Facts() const;
    // The last frame that can be shown (0 for none).
    int LastFrame() const;
    // Asks for frame `number`; a frame asked for earlier and not taken yet
    // is forgotten.
    void Ask(int number);
    // The frame asked for, once decoded, in place of `frame`; false while
    // it is not there.
    bool TakeFrame(ViewerFrame*& frame);
    // The frame asked for last will not come: it lies past the damage (see
    // LastFrame), or the file can no longer be read.
    bool Refused() const;

    struct Shared;

private:
    Shared* shared_ = nullptr;
    HANDLE thread_ = nullptr;
};
