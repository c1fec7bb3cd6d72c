// Lengths chosen for a 96-DPI screen, and what they come to at other DPIs.
#pragma once

constexpr int kBaseDpi = 96;

// `length` pixels at 96 DPI, in pixels at `dpi`, rounded as the platform's
// MulDiv rounds (halves away from zero). A DPI of 0 or less, which no screen
// reports, counts as 96: the length stays as it is.
int ScaleToDpi(int length, int dpi);

// The width of a line that is 1 pixel at 96 DPI: whole pixels only, so 1 up
// to 191 DPI and 2 from 192 DPI on, as the platform's own borders grow. A
// line rounded up at 144 DPI would be twice as heavy and crowd what it edges.
int LineWidthAtDpi(int dpi);

// Where a window's DPI is read from, by what the system offers: the
// window's own (Windows 10 1607 on), its monitor's (8.1 on), or the one DPI
// of the whole screen (before 8.1, and without a window).
enum class DpiSource { Window, Monitor, Screen };
DpiSource ChooseDpiSource(bool haveWindow, bool hasDpiForWindow, bool hasDpiForMonitor);

// Whether a new window asks for its frame, caption and menu to be scaled
// with its monitor (EnableNonClientDpiScaling): where the call exists
// (Windows 10 1607 on) and the thread is not in the newer per-monitor mode
// (1703 on), which scales them by itself.
bool NeedsNonClientScaling(bool hasEnableNonClientScaling, bool perMonitorV2);
