#include "app/layout.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MainLayout, ListAndStatusBarFollowTheClientArea)
{
    struct Case { int w, h; Placement list, bar; };
    const Case cases[] = {
        {520, 490, {0, 32, 520, 438}, {0, 470, 520, 20}},
        {300, 200, {0, 32, 300, 148}, {0, 180, 300, 20}},
        {520, 52, {0, 32, 520, 0}, {0, 32, 520, 20}},
        {520, 40, {0, 32, 520, 0}, {0, 20, 520, 20}},      // lower than 52: no negative height
        {0, 0, {0, 32, 0, 0}, {0, 0, 0, 20}},              // minimised
    };
    for (const Case& c : cases) {
        MainLayout layout = ComputeMainLayout(c.w, c.h);
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        EXPECT_EQ(layout.list.y, c.list.y);
        EXPECT_EQ(layout.list.width, c.list.width);
        EXPECT_EQ(layout.list.height, c.list.height);
        EXPECT_EQ(layout.statusBar.y, c.bar.y);
        EXPECT_EQ(layout.statusBar.width, c.bar.width);
        EXPECT_EQ(layout.statusBar.height, c.bar.height);
    }
}

TEST(MainLayout, CentringNeverGoesNegative)
{
    EXPECT_EQ(CentredOrigin(1024, 536), 244);
    EXPECT_EQ(CentredOrigin(1025, 536), 244);
    EXPECT_EQ(CentredOrigin(640, 700), 0);
}

TEST(Commands, ShiftAndOrders)
{
    EXPECT_FALSE(IsKeyDown(0));
    EXPECT_FALSE(IsKeyDown(1));                           // toggled only
    EXPECT_TRUE(IsKeyDown(static_cast<short>(0x8000)));
    EXPECT_TRUE(IsKeyDown(static_cast<short>(0xFF81)));
    EXPECT_EQ(SortModeOfCommand(ID_SORT_TITLE), 0);
    EXPECT_EQ(SortModeOfCommand(ID_SORT_DATE), 3);
    EXPECT_EQ(SortModeOfCommand(ID_SELECT), 0);
}

} // namespace

TEST(PictureButtonName, IsTheMenuTextWithoutMarkAndDots)
{
    struct Case { const char* menu; const char* name; };
    const Case cases[] = {
        {"&Abspielen...", "Abspielen"},
        {"&Bearbeiten...", "Bearbeiten"},
        {"&Kopieren...", "Kopieren"},
        {"Nach Da&tum", "Nach Datum"},
        {"Rock && Roll...\tF5", "Rock & Roll"},
        {"", ""},
        {"...", ""},
    };
    for (const Case& c : cases) {
        char name[kButtonNameSize];
        ButtonNameFromMenuText(name, c.menu);
        EXPECT_STREQ(name, c.name) << c.menu;
    }
    char name[kButtonNameSize];
    ButtonNameFromMenuText(name, std::string(100, 'x').c_str());
    EXPECT_EQ(std::string(name), std::string(kButtonNameSize - 1, 'x'));
}
