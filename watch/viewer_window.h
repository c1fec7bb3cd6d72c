// The viewer: a window of its own, owned by the main window, that plays the
// selected row's animation at its own size, steps through it, zooms, follows
// the list's selection and saves the animation or the frame shown. One at a
// time; it closes with KORVAL.
#pragma once

#include <windows.h>

#include "watch/viewer_player.h"

// Opens the viewer on the selected row of list `listId` of `owner`, or
// brings the open one forward.
void OpenViewer(HWND owner, int listId);
// The list's selection changed: an open viewer shows the row now selected.
void ViewerFollowList(HWND owner);
// The viewer's window; null while none is open.
HWND ViewerWindow();

// Draws the picture area into any device context: the neutral background,
// `frame` (null for none) into `picture` nearest pixel, or `line` in the
// middle when there is no frame.
void PaintViewerPicture(HDC dc, const RECT& area, const ViewerFrame* frame, const RECT& picture, const wchar_t* line);
