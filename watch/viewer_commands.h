// The viewer's commands and keys: the right-click menu, the keys by their
// code and by the character they give, and the list keys that move the
// list's selection. Any key or click during "Alle abspielen" only ends it.
#pragma once

#include <windows.h>

// True when the key was used up.
bool OnKeyDown(WPARAM key);
void OnSysKeyDown(WPARAM key);
// The keys by the character they give, whatever the keyboard's layout.
void OnChar(WPARAM character);
// The right-click menu, or from the keyboard (`point` -1) in the picture's middle.
void OnContextMenu(LPARAM point);
// The middle or right button, or any on the status line: "Alle abspielen"
// ends, and the right click opens no menu then.
void OnOtherButtonDown(UINT message);
