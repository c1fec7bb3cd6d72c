// Keeping what the viewer shows: the whole animation as a GIF, or the frame
// shown as a PNG, written under a temporary name beside the chosen file and
// renamed over it only when whole.
#pragma once

#include <windows.h>

enum class SaveKind { Gif, Png };

// Asks for a file with the platform's save dialog (comdlg32, loaded on this
// first use) and saves the animation at `path` (frame `frame` for a PNG).
void SaveAnimation(HWND owner, const char* path, int frame);

// Saves into `target` without asking; a failure is said in a message box
// and leaves an old `target` as it was. True when the file was written.
bool SaveAnimationTo(HWND owner, const char* path, int frame, const wchar_t* target, SaveKind kind);
