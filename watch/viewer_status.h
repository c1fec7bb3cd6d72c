// The viewer's words: its status line (a static control's text, which a
// screen reader reads), its title and the status line's font.
#pragma once

#include "watch/viewer_text.h"

// The status line as it should read now.
void StatusLine(wchar_t (&line)[kViewerStatusSize]);
// The status line set to what it should read, when that changed.
void UpdateStatus();
// The title: the row's title and its file, "Springender Ball – BALL.FLC".
void SetTitle(const char* title, const char* path);
// The status line's font for the window's DPI.
void MakeFont();
