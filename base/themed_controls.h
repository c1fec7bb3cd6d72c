// The system's visual style for dialogs and message boxes. The program's own
// manifest asks for no common controls, so the main window's start does not
// load them; a second manifest (res/dialogs.manifest) asks for the themed
// ones, and its activation context is active while a dialog, a message box
// or any window that should look like them is made and runs.
#pragma once

#include <windows.h>

// Activates the themed controls' context for the scope's lifetime; the context
// is made from the module's manifest resource on first use. Without it (the
// resource missing, the call failing) windows are made as before: plain.
class ThemedControls {
public:
    ThemedControls();
    ~ThemedControls();
    ThemedControls(const ThemedControls&) = delete;
    ThemedControls& operator=(const ThemedControls&) = delete;

private:
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};
