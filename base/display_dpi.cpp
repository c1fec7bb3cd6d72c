#include "base/display_dpi.h"

namespace {

// Looked up by name: importing them would keep KORVAL from starting at all
// on the systems that lack them.
template <typename Function>
Function User32Function(const char* name)
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
                             : nullptr;
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

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
    if (window != nullptr && getDpiForWindow != nullptr) {
        UINT dpi = getDpiForWindow(window);
        if (dpi != 0)
            return static_cast<int>(dpi);
    }
    return ScreenDpi();
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
