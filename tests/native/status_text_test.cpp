// The status bar's decisions: the position text, the version test and the
// size grip's corner.
#include "statusbar/status_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(StatusPosition, CountsTheRowFromOne)
{
    struct Case { int index; int count; const char* expected; };
    const Case cases[] = {
        {0, 12, "1 von 12"},
        {11, 12, "12 von 12"},
        {-1, 0, "0 von 0"},                   // empty list: nothing selected
        {-1, 7, "0 von 7"},
        {199, 200, "200 von 200"},
        {INT_MAX, INT_MAX, "2147483647 von 2147483647"},
        {INT_MIN, INT_MIN, "-2147483647 von -2147483648"},
    };
    for (const Case& c : cases) {
        char text[kStatusPositionSize];
        FormatStatusPosition(text, c.index, c.count);
        EXPECT_STREQ(text, c.expected) << c.index << ' ' << c.count;
    }
}

TEST(StatusVersion, NewerLookFrom351On)
{
    struct Case { unsigned long version; bool newer; const char* what; };
    const Case cases[] = {
        {0x0A03, false, "3.10"},
        {0x3203, false, "3.50"},
        {0x3303, true, "3.51"},
        {0x5F03, true, "3.95"},
        {0x0004, true, "4.0"},
        {0x0106, true, "6.1"},
        {0x000A, true, "10.0"},
        {0x0002, false, "2.0"},
        {0x80003203, false, "3.50 with the build and platform bits"},
        {0x1DB10106, true, "6.1 with a build number"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsNewerLook(c.version), c.newer) << c.what;
}

TEST(StatusGrip, BottomRightCornerOfThirteenPixels)
{
    struct Case { int x; int y; bool inGrip; };
    const Case cases[] = {
        {507, 7, true},
        {519, 19, true},
        {600, 40, true},            // beyond the client area still counts
        {506, 19, false},
        {519, 6, false},
        {0, 0, false},
        {-5, 19, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsInSizeGrip(true, c.x, c.y, 520, 20), c.inGrip) << c.x << ',' << c.y;
        EXPECT_FALSE(IsInSizeGrip(false, c.x, c.y, 520, 20)) << c.x << ',' << c.y;
    }
    // A window narrower than the grip: the comparison stays signed.
    EXPECT_TRUE(IsInSizeGrip(true, 0, 0, 5, 5));
}

} // namespace
