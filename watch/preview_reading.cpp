#include "watch/preview_reading.h"

#include "base/dpi.h"
#include "res/resource.h"

#include <cstring>

PreviewAnswer PreviewAnswerOf(FlcStatus status)
{
    switch (status) {
    case FlcStatus::Frame: return PreviewAnswer::Playing;
    case FlcStatus::NotFlc: return PreviewAnswer::NotFlc;
    case FlcStatus::TooLarge: return PreviewAnswer::TooLarge;
    case FlcStatus::NoMemory: return PreviewAnswer::NoMemory;
    default: return PreviewAnswer::Damaged;
    }
}

int PreviewAnswerTextId(PreviewAnswer answer)
{
    switch (answer) {
    case PreviewAnswer::NotFound: return IDS_PREVIEW_NOT_FOUND;
    case PreviewAnswer::NotAFile: return IDS_PREVIEW_NOT_A_FILE;
    case PreviewAnswer::NotFlc: return IDS_PREVIEW_NOT_FLC;
    case PreviewAnswer::TooLarge: return IDS_PREVIEW_TOO_LARGE;
    case PreviewAnswer::NoMemory: return IDS_PREVIEW_NO_MEMORY;
    case PreviewAnswer::Damaged: return IDS_PREVIEW_DAMAGED;
    default: return 0;
    }
}

void PreviewReading::Open(FlcSource* source)
{
    facts_ = PreviewFacts();
    framesSeen_ = 0;
    framesSinceRewind_ = 0;
    if (source == nullptr) {
        facts_.answer = PreviewAnswer::NotFound;
        return;
    }
    facts_.answer = PreviewAnswerOf(reader_.Open(*source));
    facts_.info = reader_.Info();
}

bool PreviewReading::Next(PreviewFrame& frame)
{
    if (facts_.answer != PreviewAnswer::Playing)
        return false;
    for (;;) {
        FlcStatus status = reader_.NextFrame();
        if (status == FlcStatus::Frame) {
            ++framesSeen_;
            ++framesSinceRewind_;
            Copy(frame);
            return true;
        }
        if (status != FlcStatus::End) {
            if (framesSeen_ == 0) {
                facts_.answer = status == FlcStatus::NoMemory ? PreviewAnswer::NoMemory : PreviewAnswer::Damaged;
                return false;
            }
            if (facts_.damagedAt == 0)
                facts_.damagedAt = reader_.FrameNumber() + 1;
        }
        // One picture a round is a still: going round again would decode
        // the same picture for ever, and none at all would spin.
        if (framesSinceRewind_ == 1)
            facts_.still = true;
        if (framesSinceRewind_ <= 1 || reader_.Rewind() != FlcStatus::Frame)
            return false;
        framesSinceRewind_ = 0;
    }
}

void PreviewReading::Copy(PreviewFrame& frame) const
{
    const FlcInfo& info = reader_.Info();
    PreviewSize size = {info.width, info.height};
    if (info.width > kPreviewMaxWidth || info.height > kPreviewMaxHeight)
        size = PreviewPictureSize(info.width, info.height, kBaseDpi);
    frame.width = size.width;
    frame.height = size.height;
    frame.stride = PreviewRowStride(size.width);
    frame.number = reader_.FrameNumber();
    if (size.width == info.width && size.height == info.height) {
        for (int y = 0; y < size.height; ++y)
            std::memcpy(frame.indices + static_cast<std::size_t>(y) * frame.stride,
                        reader_.Indices() + static_cast<std::size_t>(y) * size.width, static_cast<std::size_t>(size.width));
    } else {
        ShrinkIndices(reader_.Indices(), {info.width, info.height}, frame.indices, size, frame.stride);
    }
    std::memcpy(frame.palette, reader_.Palette(), sizeof frame.palette);
}
