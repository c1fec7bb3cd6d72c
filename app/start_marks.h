// Points of KORVAL's start. Only the benchmark build (KORVAL_START_MARKS,
// tools/bench) records them; in KORVAL.EXE the calls are empty and vanish.
#pragma once

enum class StartMark {
    EntryPoint,         // WinMain entered
    WindowCreating,     // the main window exists, WM_CREATE begins
    CatalogueLoaded,    // LoadCatalogue returned
    ControlsPlaced,     // list and status bar made, the window sized and centred
    ListFilled,         // the list holds its rows in title order
    WindowCreated,      // CreateWindowEx returned
    FirstPaintDone,     // UpdateWindow returned: the window and its controls are painted
    TooltipsMade,       // after the start: the picture buttons' tooltips exist
    Count
};

#ifdef KORVAL_START_MARKS
void MarkStart(StartMark mark);
// Hands the recorded points to whoever asked for them (see tools/bench); at
// the end, so that the start itself does not pay for it.
void ReportStartMarks();
#else
inline void MarkStart(StartMark) {}
inline void ReportStartMarks() {}
#endif
