// Where the preview stands and how large it draws: sizes, places and the pace
// of its frames, free of the platform.
#pragma once

#include <cstdint>

// A picture up to this size is shown at its own size at 96 DPI; a larger one
// is scaled down to fit it, its proportions kept. Both scale with the DPI.
constexpr int kPreviewMaxWidth = 320;
constexpr int kPreviewMaxHeight = 240;
constexpr int kPreviewMargin = 4;       // around the picture and the line
constexpr int kPreviewGap = 4;          // between the picture and the line
constexpr int kPreviewFontHeight = 12;  // the line's font, as the status bar's

// The fastest a preview plays: a frame every 1/70 s (rounded down to 14 ms), the
// step FLI files count their delay in. A smaller delay, 0 included, plays at it.
constexpr unsigned kPreviewMinimumFrameMilliseconds = 14;

struct PreviewSize {
    int width;
    int height;
};

struct PreviewBox {
    int left, top, right, bottom;
};

// The size a `width` x `height` picture is drawn at `dpi`: its own size
// scaled by the DPI when it fits 320 x 240, else the largest size of its
// proportions that fits 320 x 240 scaled by the DPI (at least 1 x 1).
// 0 x 0 for no picture.
PreviewSize PreviewPictureSize(int width, int height, int dpi);

// The popup's client area: the picture (0 x 0 for none) at the top left, the
// line of `textWidth` x `textHeight` below it, margins around both.
struct PreviewLayout {
    PreviewBox picture;     // empty when there is none
    int textX, textY;
    PreviewSize client;
};
PreviewLayout PreviewLayoutAt(PreviewSize picture, PreviewSize text, int dpi);

// Where the popup goes and how large its picture is drawn there.
struct PreviewPlace {
    PreviewBox box;         // the popup's outer rectangle; empty when there is no room at all
    PreviewSize picture;    // the picture's size in it, shrunk where the room asks for it
};

// Places a popup beside `row` (screen coordinates) within `workArea`, so that
// it never covers the row: the pointer resting on the row, or moving on to
// the next one, must still reach the list. `picture` is the picture's full
// size (PreviewPictureSize; 0 x 0 for none), `text` the line's, `frame` what
// the window's border adds to the client area, `dpi` the popup's. The first
// side of right, left, below and above where it fits whole wins; where it
// fits nowhere whole, the side where the picture is shrunk least, keeping its
// proportions. A line wider than the room is cut by the popup's edge.
PreviewPlace PlacePreview(const PreviewBox& row, PreviewSize picture, PreviewSize text, PreviewSize frame, int dpi,
                          const PreviewBox& workArea);

// Timer milliseconds between two frames for a delay given in microseconds.
unsigned PreviewFrameMilliseconds(std::uint64_t delayMicroseconds);

// When a playing preview shows its next picture: at the tick of its frame
// timer, or, when the picture was not decoded by then, the moment it is: a
// slow medium must not cost a whole tick a frame. The timer counts anew from
// a late picture.
class PreviewPace {
public:
    // The timer's tick, the next picture `ready` or not: true when it shows now.
    bool Tick(bool ready)
    {
        late_ = !ready;
        return ready;
    }
    // Whether a picture that comes now shows at once (then Reset, and the
    // timer starts anew).
    bool Late() const { return late_; }
    void Reset() { late_ = false; }

private:
    bool late_ = false;
};

// Bytes from one row of an 8-bit picture to the next, as the platform's
// device-independent pictures keep them: whole 4-byte words.
int PreviewRowStride(int width);

// Samples a `from` picture of colour indices (rows without padding) into the
// smaller `to` picture (rows `toStride` bytes apart), nearest pixel; both top
// row first.
void ShrinkIndices(const std::uint8_t* from, PreviewSize fromSize, std::uint8_t* to, PreviewSize toSize, int toStride);
