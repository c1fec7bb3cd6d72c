// The viewer's status line, free of the platform: "Bild 5 von 24, 320 × 200,
// 2,4 s, 100 %", then the 6:5 pixels when they are on, "Pause", the speed
// when it is not the file's own and where a damaged file breaks
// (Windows-1252 text).
#pragma once

#include "anim/flc_decode.h"
#include "watch/viewer_geometry.h"

#include <cstddef>

constexpr std::size_t kViewerStatusSize = 160;

struct ViewerStatus {
    FlcInfo info;
    int frame = 0;          // the picture shown, from 1; 0 before the first
    int percent = 100;
    bool tallPixels = false;    // 320 x 200 shown with 6:5 pixels
    bool paused = false;
    ViewerSpeed speed = ViewerSpeed::Normal;
    int damagedAt = 0;      // 0 while the file has not broken
    bool playingAll = false;
};

// `damagedFormat` is the string table's ", beschädigt ab Bild %d".
bool FormatViewerStatus(char (&text)[kViewerStatusSize], const ViewerStatus& status, const char* damagedFormat);

// The last name of a path: what follows its last backslash or slash.
const char* ViewerFileName(const char* path);
