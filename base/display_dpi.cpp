#include "base/display_dpi.h"

#include "base/dpi.h"
#include "base/system_library.h"

namespace {

// Looked up by name: importing them would keep KORVAL from starting at all
// on the systems that lack them.
template <typename Function>
Function User32Function(const char* name)
{
    return LibraryFunction<Function>(GetModuleHandleA("user32.dll"), name);
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using EnableNonClientDpiScalingFn = BOOL(WINAPI*)(HWND);
using GetThreadDpiAwarenessContextFn = HANDLE(WINAPI*)();
using AreDpiAwarenessContextsEqualFn = BOOL(WINAPI*)(HANDLE, HANDLE);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

constexpr int kEffectiveDpi = 0;                   // MDT_EFFECTIVE_DPI
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));

// Windows 8.1's monitor DPI, from the shell's scaling library: loaded on the
// first question, from the system folder only, and only on a system whose
// user32 cannot tell a window's own DPI.
GetDpiForMonitorFn MonitorDpiFunction()
{
    return LibraryFunction<GetDpiForMonitorFn>(LoadSystemLibrary("shcore.dll"), "GetDpiForMonitor");
}

int DpiOfMonitor(HMONITOR monitor, GetDpiForMonitorFn getDpiForMonitor)
{
    UINT x = 0;
    UINT y = 0;
    if (monitor == nullptr || getDpiForMonitor == nullptr
        || FAILED(getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)))
        return 0;
    return static_cast<int>(y);
}

int ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

} // namespace

int WindowDpi(HWND window)
{
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    static GetDpiForMonitorFn getDpiForMonitor = nullptr;
    static bool monitorLookedUp = false;
    if (window != nullptr && getDpiForWindow == nullptr && !monitorLookedUp) {
        getDpiForMonitor = MonitorDpiFunction();
        monitorLookedUp = true;
    }
    int dpi = 0;
    switch (ChooseDpiSource(window != nullptr, getDpiForWindow != nullptr, getDpiForMonitor != nullptr)) {
    case DpiSource::Window:
        dpi = static_cast<int>(getDpiForWindow(window));
        break;
    case DpiSource::Monitor:
        dpi = DpiOfMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), getDpiForMonitor);
        break;
    case DpiSource::Screen:
        break;
    }
    return dpi > 0 ? dpi : ScreenDpi();
}

int MonitorDpi(HMONITOR monitor)
{
    static const GetDpiForMonitorFn getDpiForMonitor = MonitorDpiFunction();
    return DpiOfMonitor(monitor, getDpiForMonitor);
}

void ScaleNonClientArea(HWND window)
{
    static const auto enableScaling = User32Function<EnableNonClientDpiScalingFn>("EnableNonClientDpiScaling");
    static const auto threadContext = User32Function<GetThreadDpiAwarenessContextFn>("GetThreadDpiAwarenessContext");
    static const auto contextsEqual = User32Function<AreDpiAwarenessContextsEqualFn>("AreDpiAwarenessContextsEqual");
    bool perMonitorV2 = threadContext != nullptr && contextsEqual != nullptr
                        && contextsEqual(threadContext(), kPerMonitorAwareV2);
    if (NeedsNonClientScaling(enableScaling != nullptr, perMonitorV2))
        enableScaling(window);
}

int SystemMetricForDpi(int index, int dpi)
{
    static const auto getSystemMetricsForDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (getSystemMetricsForDpi != nullptr)
        return getSystemMetricsForDpi(index, static_cast<UINT>(dpi));
    return GetSystemMetrics(index);
}

BOOL AdjustWindowRectForDpi(RECT& rectangle, DWORD style, bool hasMenu, DWORD extendedStyle, int dpi)
{
    static const auto adjustForDpi = User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    if (adjustForDpi != nullptr)
        return adjustForDpi(&rectangle, style, hasMenu ? TRUE : FALSE, extendedStyle, static_cast<UINT>(dpi));
    return AdjustWindowRectEx(&rectangle, style, hasMenu ? TRUE : FALSE, extendedStyle);
}
