// Where the viewer's parts go: the picture's pane above the status line, the
// picture's size and place in the pane, its scroll bars, and the window
// sized to the picture.
#pragma once

#include <windows.h>

#include "watch/viewer_geometry.h"

// The pane's client area, within its scroll bars.
ViewerSize PictureArea();
// The size the picture is drawn at in `area` with the zoom.
ViewerSize ShownSize(ViewerSize area);
// Where the picture lies in the pane.
RECT PictureRect();
// The percent the picture is shown at.
int ShownPercent();
void InvalidatePicture();
// The status line across the foot, the pane above it.
void PlaceChildren();
// The scroll bars the picture's size needs, and so the area.
void PlaceScrollBars();
// The picture's size or the window's changed.
void Relayout();
// The window moved and sized by the viewer itself, not by the user.
void PlaceWindow(int left, int top, int width, int height);
// Neither sized by the user nor maximised: the window takes its picture's size.
bool FollowsPicture();
// A row's picture. A window that follows it takes the picture at 100 % (or
// the fit, where the work area of the main window's monitor is smaller),
// centred there. A window the user sized or maximised keeps its size, and
// shows the picture at 100 % where it fits, else (or when the user chose
// it) fitted.
void SizeToPicture();
// A window that follows its picture grows and shrinks with the zoom (and the
// 6:5 pixels) within the work area of its monitor, its middle kept; beyond
// that the picture scrolls.
void FollowZoom();
