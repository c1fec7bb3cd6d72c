// Scaling as the platform scales, and the platform's answers for a DPI.
#include "base/display_dpi.h"
#include "base/dpi.h"

#include <gtest/gtest.h>

namespace {

TEST(ScaleToDpi, RoundsExactlyAsMulDiv)
{
    for (int dpi : {72, 96, 120, 144, 168, 192, 216, 240, 288, 480})
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

} // namespace
