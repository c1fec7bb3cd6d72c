// The DPI a window is shown at, and the system metrics for a DPI. Windows
// before 10 (1607) lack the per-window functions: there the monitor's DPI
// (8.1) or the screen's, and the plain metrics stand in, which is what such a
// system shows anyway.
#pragma once

#include <windows.h>

// The DPI of the monitor `window` is on; the screen's DPI without a window.
int WindowDpi(HWND window);

// The DPI of `monitor` where the system tells it (Windows 8.1 on, through
// the shell's scaling library, loaded on the first question); 0 where it
// does not.
int MonitorDpi(HMONITOR monitor);

// Called at WM_NCCREATE: asks for the frame, caption and menu of `window` to
// follow its monitor's DPI where the system only does it when asked
// (Windows 10 1607 in the older per-monitor mode).
void ScaleNonClientArea(HWND window);

// GetSystemMetrics for `dpi`.
int SystemMetricForDpi(int index, int dpi);

// AdjustWindowRectEx for a window shown at `dpi`.
BOOL AdjustWindowRectForDpi(RECT& rectangle, DWORD style, bool hasMenu, DWORD extendedStyle, int dpi);
