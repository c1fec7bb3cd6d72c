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
// The window sized to the picture at 100 % within the work area of the main
// window's monitor, or to the picture fitted to it, and centred there.
void SizeToPicture();
