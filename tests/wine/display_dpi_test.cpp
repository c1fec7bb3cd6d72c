// Scaling as the platform scales, and the platform's answers for a DPI.
#include "base/display_dpi.h"
#include "base/dpi.h"

#include <gtest/gtest.h>

namespace {

TEST(ScaleToDpi, RoundsExactlyAsMulDiv)
{
    for (int dpi : {72, 96, 120, 144, 168, 192, 216, 240, 288, 336, 480})
        for (int length = -600; length <= 600; ++length)
            ASSERT_EQ(ScaleToDpi(length, dpi), MulDiv(length, dpi, 96)) << length << " at " << dpi;
}

TEST(DisplayDpi, MetricsAndFramesForADpi)
{
    // The test prefix's display is left at 96 DPI.
    EXPECT_EQ(WindowDpi(nullptr), 96);
    EXPECT_EQ(SystemMetricForDpi(SM_CYVSCROLL, 96), GetSystemMetrics(SM_CYVSCROLL));
    EXPECT_GT(SystemMetricForDpi(SM_CYVSCROLL, 144), GetSystemMetrics(SM_CYVSCROLL));
    EXPECT_EQ(SystemMetricForDpi(SM_CXICON, 192), 64);

    const DWORD style = WS_OVERLAPPEDWINDOW;
    RECT at96 = {0, 0, 520, 490};
    RECT plain = at96;
    ASSERT_TRUE(AdjustWindowRectForDpi(at96, style, true, 0, 96));
    AdjustWindowRectEx(&plain, style, TRUE, 0);
    EXPECT_EQ(at96.right - at96.left, plain.right - plain.left);
    EXPECT_EQ(at96.bottom - at96.top, plain.bottom - plain.top);
    // At 144 DPI the caption, menu bar and frame are larger.
    RECT at144 = {0, 0, 520, 490};
    ASSERT_TRUE(AdjustWindowRectForDpi(at144, style, true, 0, 144));
    EXPECT_GT(at144.bottom - at144.top, at96.bottom - at96.top);
}

// Where user32 tells a window's DPI (Windows 10 1607 on, and Wine), the
// shell's scaling library, which Windows 8.1 needs for its monitor's DPI, is
// never loaded; asking for the frame to scale leaves the window as it was.
TEST(DisplayDpi, WindowDpiFromUser32AloneWhereItCan)
{
    ASSERT_NE(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow"), nullptr);
    HWND window = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowDpi(window), 96);
    EXPECT_EQ(GetModuleHandleA("shcore.dll"), nullptr);
    RECT before;
    GetWindowRect(window, &before);
    ScaleNonClientArea(window);
    RECT after;
    GetWindowRect(window, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_EQ(WindowDpi(window), 96);
    DestroyWindow(window);
}

} // namespace
