// Moving about a picture larger than its area and zooming: the scroll bars,
// the wheel, dragging with the left button, the zoom steps and the 6:5 pixels.
#pragma once

#include <windows.h>

// A scroll bar's message.
void OnScroll(int bar, WPARAM wordParam);
// The middle of the picture's area.
POINT AreaCentre();
// The picture's point under `at` (in the client area) stays there; with
// `centred`, the point in the area's middle stays in the middle, which moves
// when scroll bars come or go.
void SetZoom(int zoom, POINT at, bool centred);
// One whole step in (`direction` > 0) or out, as SetZoom.
void Zoom(int direction, POINT at, bool centred);
void ToggleTallPixels();
// Ctrl and the wheel zoom about the pointer; the wheel alone scrolls down
// and up, with Shift (or tilted) across.
void OnMouseWheel(WPARAM wordParam, LPARAM longParam, bool tilted);
// A picture larger than its area is dragged with the left button.
void OnLeftButtonDown(LPARAM longParam);
void OnMouseMove(LPARAM longParam);
void OnLeftButtonUp();
void OnCaptureChanged();
// The hand over a picture that can be dragged; false to leave the cursor
// to the default.
bool OnSetCursor(HWND over, LPARAM longParam);
