#include "watch/viewer_reading.h"

#include <cstring>
#include <new>

struct ViewerReading::Snapshot {
    FlcReader::Place place;
    std::unique_ptr<std::uint8_t[]> picture;    // indices, then the palette
};

int ViewerSnapshotInterval(int frames, std::size_t pixels, std::size_t bound)
{
    const std::size_t each = pixels + 768;
    const std::size_t fitting = bound / each;
    if (frames <= 0 || fitting == 0)
        return frames > 0 ? frames + 1 : 1;     // no snapshot at all
    const std::size_t interval = (static_cast<std::size_t>(frames) + fitting - 1) / fitting;
    return static_cast<int>(interval < 1 ? 1 : interval);
}

ViewerReading::ViewerReading() = default;
ViewerReading::~ViewerReading() = default;

void ViewerReading::Open(FlcSource* source)
{
    facts_ = PreviewFacts();
    snapshots_.reset();
    slots_ = 0;
    decoded_ = 0;
    spoiled_ = false;
    if (source == nullptr) {
        facts_.answer = PreviewAnswer::NotFound;
        return;
    }
    facts_.answer = PreviewAnswerOf(reader_.Open(*source));
    facts_.info = reader_.Info();
    if (facts_.answer != PreviewAnswer::Playing)
        return;
    pixels_ = static_cast<std::size_t>(facts_.info.width) * static_cast<std::size_t>(facts_.info.height);
    interval_ = ViewerSnapshotInterval(facts_.info.frames, pixels_);
    int slots = facts_.info.frames / interval_;
    // Without room for them the file still plays; only a step back costs more.
    snapshots_.reset(slots > 0 ? new (std::nothrow) Snapshot[static_cast<std::size_t>(slots)] : nullptr);
    slots_ = snapshots_ ? slots : 0;
}

int ViewerReading::LastFrame() const
{
    if (facts_.answer != PreviewAnswer::Playing)
        return 0;
    return facts_.damagedAt > 0 ? facts_.damagedAt - 1 : facts_.info.frames;
}

// The picture just decoded, when its frame is one to keep.
void ViewerReading::Keep()
{
    const int frame = reader_.FrameNumber();
    if (frame % interval_ != 0 || frame / interval_ > slots_)
        return;
    Snapshot& snapshot = snapshots_[static_cast<std::size_t>(frame / interval_ - 1)];
    if (snapshot.picture)
        return;
    snapshot.picture.reset(new (std::nothrow) std::uint8_t[pixels_ + 768]);
    if (!snapshot.picture)
        return;
    std::memcpy(snapshot.picture.get(), reader_.Indices(), pixels_);
    std::memcpy(snapshot.picture.get() + pixels_, reader_.Palette(), 768);
    snapshot.place = reader_.Here();
}

bool ViewerReading::Seek(int number)
{
    if (number < 1 || number > LastFrame())
        return false;
    int current = reader_.FrameNumber();
    if (number == current && !spoiled_)
        return true;
    // From the nearest kept picture at or before the frame, unless the
    // picture held is nearer.
    int start = 0;
    for (int slot = number / interval_; slot >= 1 && slot <= slots_; --slot) {
        if (snapshots_[static_cast<std::size_t>(slot - 1)].picture) {
            start = slot * interval_;
            break;
        }
    }
    if (current > number || current < start || current == 0 || spoiled_) {
        FlcStatus moved = FlcStatus::Frame;
        if (start > 0) {
            const Snapshot& snapshot = snapshots_[static_cast<std::size_t>(start / interval_ - 1)];
            moved = reader_.Resume(snapshot.place, snapshot.picture.get(), snapshot.picture.get() + pixels_);
        } else if (current != 0 || spoiled_) {
            moved = reader_.Rewind();
        }
        if (moved != FlcStatus::Frame)
            return false;
        spoiled_ = false;
    }
    while (reader_.FrameNumber() < number) {
        FlcStatus status = reader_.NextFrame();
        if (status != FlcStatus::Frame) {
            // The reader holds a partly decoded picture now, not its last good one.
            spoiled_ = true;
            if (facts_.damagedAt == 0)
                facts_.damagedAt = reader_.FrameNumber() + 1;
            // Not one picture: the machine's fault or the file's.
            if (facts_.damagedAt == 1)
                facts_.answer = status == FlcStatus::NoMemory ? PreviewAnswer::NoMemory : PreviewAnswer::Damaged;
            return false;
        }
        ++decoded_;
        Keep();
    }
    return true;
}
