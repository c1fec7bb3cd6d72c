// The main window's geometry and the small decisions of its commands.
#pragma once

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
constexpr int kButtonStep = 29;     // neighbours share one black column
constexpr int kPictureSize = 24;

// The list fills the space between the toolbar strip and the status bar; the
// status bar takes the bottom 20 pixels. A client area lower than 52 pixels
// (or minimised) gives the list no height rather than a negative one, and the
// status bar never rises above the top.
MainLayout ComputeMainLayout(int clientWidth, int clientHeight);

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
