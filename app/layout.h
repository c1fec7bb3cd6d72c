// The main window's geometry and the small decisions of its commands.
#pragma once

#include "base/dpi.h"
#include "statusbar/status_text.h"   // kStatusBarHeight

struct Placement {
    int x, y, width, height;
};

struct MainLayout {
    Placement list;
    Placement statusBar;
};

constexpr int kToolbarHeight = 32;
constexpr int kButtonSize = 30;
constexpr int kPictureSize = 24;
constexpr int kInitialClientWidth = 520;
constexpr int kInitialClientHeightWithoutScrollBar = 473;

// The toolbar laid out for one DPI, scaled from its 96-DPI lengths.
struct ToolbarGeometry {
    int stripHeight;
    int line;               // the strip's and the buttons' edge lines
    int buttonSize;
    int buttonStep;         // neighbours share one black edge line
    int buttonTop;          // the buttons stand on the strip's bottom edge
    int pressOffset;        // how far a pressed button's picture moves
};

ToolbarGeometry ToolbarGeometryAt(int dpi);

// The button pictures come in three sizes: 24 pixels (100 %), 36 (150 %) and
// 48 (200 %). At `dpi` the largest one that is no larger than the scaled 24
// pixels is drawn, so a picture never covers the button's edges; its index
// (0, 1, 2) and its size.
int PictureSetAt(int dpi);
int PictureSizeOfSet(int set);
constexpr int kPictureSets = 3;

// The client area the main window opens with at `dpi`; `scrollBarHeight` is
// the platform's horizontal scroll bar height for that DPI.
Placement InitialClientArea(int dpi, int scrollBarHeight);

// The list fills the space between the toolbar strip and the status bar; the
// status bar takes the bottom 20 pixels (both scaled to `dpi`). A client area
// lower than the two together (or minimised) gives the list no height rather
// than a negative one, and the status bar never rises above the top.
MainLayout ComputeMainLayout(int clientWidth, int clientHeight, int dpi = kBaseDpi);

// Where a window of `outer` size is centred on a screen of `screen` size;
// never negative, so a window larger than the screen starts at its edge.
int CentredOrigin(int screen, int outer);

// GetKeyState's answer for Shift: down when any bit but the toggle bit is set.
bool IsKeyDown(short keyState);

constexpr int kButtonNameSize = 32;

// A picture button's name from its menu item's text: "&Abspielen..." gives
// "Abspielen" (no mnemonic mark, no dots, nothing from a tab on).
void ButtonNameFromMenuText(char (&name)[kButtonNameSize], const char* menuText);

// The order of an order command (1100 to 1103); 0 for any other command.
int SortModeOfCommand(int commandId);
