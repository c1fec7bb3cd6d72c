// The reading of one animation file for the preview, a picture at a time:
// what the preview can say of the file, and the pictures it plays, round and
// round. Free of the platform; the window's side runs it on a thread of its
// own and hands the pictures over.
#pragma once

#include "anim/flc_reader.h"
#include "watch/preview_geometry.h"

#include <cstdint>

// What the preview knows of its file so far.
enum class PreviewAnswer {
    Pending,        // not read yet
    Playing,        // the header is good; pictures follow
    NotFound,
    NotAFile,       // a device or a pipe, not a file on a disk: never read
    NotFlc,
    TooLarge,
    NoMemory,       // this machine gave no room for its picture: not the file's fault
    Damaged,        // broken before its first picture
};

// What a reader's answer to the header or a frame means for a preview.
PreviewAnswer PreviewAnswerOf(FlcStatus status);
// The text that says why nothing plays (a string resource's id); 0 while
// the file is pending or playing.
int PreviewAnswerTextId(PreviewAnswer answer);

struct PreviewFacts {
    PreviewAnswer answer = PreviewAnswer::Pending;
    FlcInfo info;
    int damagedAt = 0;      // the frame where a playing file broke; 0 while none did
    bool still = false;     // one picture only, and it has been given: nothing more to read or show
};

// One picture as the window draws it: colour indices, top row first, rows
// `stride` bytes apart (PreviewRowStride). A picture up to 320 x 240 comes in
// its own size; a larger one shrunk to the size it is shown at 96 DPI.
struct PreviewFrame {
    int width = 0;
    int height = 0;
    int stride = 0;
    int number = 0;                     // the frame's number in the file, from 1
    std::uint8_t palette[768] = {};     // 256 colours as R, G, B
    std::uint8_t indices[kPreviewMaxWidth * kPreviewMaxHeight] = {};
};

class PreviewReading {
public:
    // Reads the header from `source`, which must outlive the reading; null
    // when the file is not there.
    void Open(FlcSource* source);
    // Decodes on to the next picture to show and copies it into `frame`.
    // After the last frame the first comes again; a file that breaks after
    // some frames plays those (Facts().damagedAt tells where it broke). A
    // file of one picture (or one that breaks after its first) gives it once
    // and is then still (Facts().still): it is not read and decoded again.
    // False when no picture will come (any more).
    bool Next(PreviewFrame& frame);
    const PreviewFacts& Facts() const { return facts_; }

private:
    void Copy(PreviewFrame& frame) const;

    FlcReader reader_;
    PreviewFacts facts_;
    int framesSeen_ = 0;
    int framesSinceRewind_ = 0;
};
