// The DPI a window is shown at, and the system metrics for a DPI. Windows
// before 10 (1607) lack the per-window functions: there the screen's DPI and
// the plain metrics stand in, which is what such a system shows anyway.
#pragma once

#include <windows.h>

// The DPI of the monitor `window` is on; the screen's DPI without a window.
int WindowDpi(HWND window);

// GetSystemMetrics for `dpi`.
int SystemMetricForDpi(int index, int dpi);

// AdjustWindowRectEx for a window shown at `dpi`.
BOOL AdjustWindowRectForDpi(RECT& rectangle, DWORD style, bool hasMenu, DWORD extendedStyle, int dpi);
