// The main window: toolbar strip, picture buttons, the list and the status bar.
#pragma once

#include <windows.h>

// The main window's class, by which a running instance is also found.
constexpr const char* kMainWindowClass = "VRKORVAL";

// Registers the main class, then the status bar's; 0 when either fails.
int RegisterWindowClasses(HINSTANCE instance);

// Creates the main window with its menu and title; null when that fails.
HWND CreateMainWindow(HINSTANCE instance);

// The main window's keys from the message loop: its accelerators, except the
// repeats of a held F3, which would show and hide the preview by turns and
// are dropped. True when `message` was used up.
bool TranslateMainWindowKeys(HWND window, HACCEL accelerators, MSG* message);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wordParam, LPARAM longParam);
