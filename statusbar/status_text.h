// What the status bar shows and where: texts, layout and the size grip,
// free of the platform.
#pragma once

#include "base/dpi.h"
#include "base/sizes.h"

constexpr int kStatusLabelSize = 32;
constexpr int kStatusPositionSize = 32;
constexpr int kStatusPathSize = static_cast<int>(kPathSize);   // a selected animation's whole path
constexpr int kStatusTextSize = kStatusLabelSize + kStatusPositionSize + kStatusPathSize;
constexpr int kStatusBarHeight = 20;
constexpr int kSizeGripSpan = 13;       // the grip's lines fill the last 13 pixels each way

// Left, top, right, bottom; right and bottom exclusive. The layout is fixed:
// it does not follow the window's width.
struct StatusBox {
    int left;
    int top;
    int right;
    int bottom;
};

constexpr StatusBox kStatusLabelBox = {1, 3, 54, 20};
constexpr StatusBox kStatusPositionBox = {56, 3, 140, 20};
constexpr StatusBox kStatusPathBox = {146, 3, 470, 20};
// The height the stock font the bar is drawn in at 96 DPI asks for.
constexpr int kStatusFontHeight = 12;

// The bar laid out for one DPI: every length above scaled from its 96-DPI value.
struct StatusGeometry {
    int height;
    int line;                   // the top lines and the panes' edges, see LineWidthAtDpi
    StatusBox label;
    StatusBox position;
    StatusBox path;
    int gripSpan;
    int fontHeight;
};

StatusGeometry StatusGeometryAt(int dpi);

// The bar's face at a DPI other than 96, where the stock font would keep its
// 96-DPI size: the scalable face that Windows and Wine both ship.
constexpr const char* kStatusScaledFace = "Tahoma";

// What the bar shows: the label, the row's position and the animation's path.
struct StatusTexts {
    char label[kStatusLabelSize];
    char position[kStatusPositionSize];
    char path[kStatusPathSize];
};

// The texts joined by a blank, as one line to read aloud: "Animation: 3 von
// 12 E:\ANIM\JONGLEUR.FLC"; no path part when there is no path.
void JoinStatusTexts(char (&line)[kStatusTextSize], const StatusTexts& texts);

// "%d von %d" of the row's number counted from 1 and the row count; the
// index is -1 when no row is selected, which reads "0 von <count>".
void FormatStatusPosition(char (&text)[kStatusPositionSize], int index, int count);

// From the platform version word (major in the low byte, minor in the next):
// 4.0 and later, and 3.51, draw the size grip and report the sizing corner.
bool IsNewerLook(unsigned long version);

// Whether a client point lies in the size grip's corner, which is reported to
// the platform as the bottom-right sizing corner; never without the newer look.
bool IsInSizeGrip(bool newerLook, int x, int y, int clientWidth, int clientHeight, int dpi = kBaseDpi);

// The pen of grip line n (13 down to 1): line n runs from (R-1, B-n) towards
// (R-n, B-1). Lines 9 and 4 are left out, so white-gray-gray-gray steps show.
enum class GripPen { None, White, Gray };
GripPen GripLinePen(int n);

// The pen of the grip's diagonal d (1 up to the scaled span) at `dpi`: the
// diagonals that line n covers once scaled take line n's pen, so at 96 DPI
// diagonal d is line d.
GripPen GripDiagonalPen(int diagonal, int dpi);
