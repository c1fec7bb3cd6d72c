// The viewer's reading of one animation file: any frame on demand, forwards
// or back. Snapshots of the picture and palette, every so many frames within
// a memory bound, make a step back cost a few frames' decoding, never more
// than decoding from the start. Free of the platform; the viewer's window
// runs it on a thread of its own.
#pragma once

#include "anim/flc_reader.h"
#include "watch/preview_reading.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// The snapshots of one file together hold at most this much.
constexpr std::size_t kViewerSnapshotBytes = 16u << 20;

// Frames between two snapshots for a file of `frames` pictures of `pixels`
// each, so that all of them fit `bound` bytes; at least 1.
int ViewerSnapshotInterval(int frames, std::size_t pixels, std::size_t bound = kViewerSnapshotBytes);

class ViewerReading {
public:
    ViewerReading();
    ~ViewerReading();
    ViewerReading(const ViewerReading&) = delete;
    ViewerReading& operator=(const ViewerReading&) = delete;

    // Reads the header from `source`, which must outlive the reading; null
    // when the file is not there.
    void Open(FlcSource* source);
    const PreviewFacts& Facts() const { return facts_; }

    // Decodes frame `number` (from 1). False when the file breaks before it
    // (Facts().damagedAt then says where) or there is no such frame.
    bool Seek(int number);
    // The last frame that can be shown: the declared count, or the one
    // before the damage once it is found.
    int LastFrame() const;

    const std::uint8_t* Indices() const { return reader_.Indices(); }
    const std::uint8_t* Palette() const { return reader_.Palette(); }
    int FrameNumber() const { return reader_.FrameNumber(); }
    // Frames decoded since Open, for measuring what a step costs.
    long FramesDecoded() const { return decoded_; }

private:
    struct Snapshot;
    void Keep();

    FlcReader reader_;
    PreviewFacts facts_;
    std::unique_ptr<Snapshot[]> snapshots_;
    int interval_ = 1;
    int slots_ = 0;
    std::size_t pixels_ = 0;
    long decoded_ = 0;
    bool spoiled_ = false;      // a frame broke: the picture held is no frame

};
