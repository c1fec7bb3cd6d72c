// The colours KORVAL draws in, with the high-contrast setting off and on.
#include "base/colour_scheme.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// Every colour a scheme draws in.
std::vector<Colour> AllColours(const ColourScheme& s)
{
    std::vector<Colour> colours = {s.face, s.faceText, s.frame, s.edgeLight, s.edgeShadow, s.edgeSoft, s.background};
    for (const RowColours& row : {s.row, s.selectedRow})
        colours.insert(colours.end(), {row.light, row.shadow, row.last, row.fill, row.label, row.value});
    return colours;
}

bool SameScheme(const ColourScheme& a, const ColourScheme& b)
{
    return a.highContrast == b.highContrast && AllColours(a) == AllColours(b);
}

// A black and yellow scheme, every role a colour of its own.
const SystemColours kBlackAndYellow = {
    MakeColour(0, 0, 0),       MakeColour(255, 255, 0), MakeColour(0, 0, 255),   MakeColour(255, 255, 255),
    MakeColour(24, 24, 24),    MakeColour(255, 224, 0), MakeColour(250, 250, 250), MakeColour(128, 128, 0),
    MakeColour(96, 96, 96),
};
// The platform's usual colours: the classic look draws nearly the same.
const SystemColours kUsual = {
    MakeColour(255, 255, 255), MakeColour(0, 0, 0),     MakeColour(0, 120, 215), MakeColour(255, 255, 255),
    MakeColour(240, 240, 240), MakeColour(0, 0, 0),     MakeColour(255, 255, 255), MakeColour(160, 160, 160),
    MakeColour(227, 227, 227),
};

TEST(HighContrastIsOn, OnlyAnAnsweredQuestionWithTheFlag)
{
    struct Case { bool answered; unsigned long flags; bool on; };
    const Case cases[] = {
        {true, 0x1, true},
        {true, 0x3, true},          // available and on
        {true, 0x0, false},         // Wine's answer
        {true, 0x2, false},         // available, not on
        {true, 0xFFFFFFFE, false},
        {false, 0x1, false},        // a failed call leaves the flags as they were
    };
    for (const Case& c : cases)
        EXPECT_EQ(HighContrastIsOn(c.answered, c.flags), c.on) << c.answered << ' ' << c.flags;
}

TEST(ColourScheme, OffIsTheClassicLookWhateverTheSystemColours)
{
    for (const SystemColours& system : {kBlackAndYellow, kUsual, SystemColours{}}) {
        ColourScheme scheme = ColourSchemeFor(false, system);
        EXPECT_FALSE(scheme.highContrast);
        EXPECT_TRUE(SameScheme(scheme, kClassicColours));
    }
    // The selection's teal and white values, the panels' gray, as always.
    EXPECT_EQ(kClassicColours.selectedRow.fill, MakeColour(0, 128, 128));
    EXPECT_EQ(kClassicColours.selectedRow.value, MakeColour(255, 255, 255));
    EXPECT_EQ(kClassicColours.row.fill, MakeColour(192, 192, 192));
}

TEST(ColourScheme, OnDrawsOnlyInTheSystemColoursWithTextsOnTheirOwnBackground)
{
    for (const SystemColours& system : {kBlackAndYellow, kUsual}) {
        const ColourScheme scheme = ColourSchemeFor(true, system);
        EXPECT_TRUE(scheme.highContrast);
        const std::vector<Colour> offered = {system.window,     system.windowText, system.highlight,
                                             system.highlightText, system.face,    system.faceText,
                                             system.edgeLight,  system.edgeShadow, system.edgeSoft};
        for (Colour colour : AllColours(scheme))
            EXPECT_NE(std::find(offered.begin(), offered.end(), colour), offered.end()) << std::hex << colour;

        EXPECT_EQ(scheme.row.fill, system.window);
        EXPECT_EQ(scheme.row.label, system.windowText);
        EXPECT_EQ(scheme.row.value, system.windowText);
        EXPECT_EQ(scheme.selectedRow.fill, system.highlight);
        EXPECT_EQ(scheme.selectedRow.label, system.highlightText);
        EXPECT_EQ(scheme.selectedRow.value, system.highlightText);
        EXPECT_EQ(scheme.face, system.face);
        EXPECT_EQ(scheme.faceText, system.faceText);
        EXPECT_EQ(scheme.background, system.face);
        // Rows stay apart where the 3D colours are the window's own.
        EXPECT_EQ(scheme.row.last, system.windowText);
    }
}

} // namespace
