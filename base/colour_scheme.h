// The colours of KORVAL's own drawing: its classic grays and teal, or the
// system's colours while the high-contrast setting is on.
#pragma once

#include <cstdint>

// A colour as 0x00BBGGRR, the layout of the platform's COLORREF.
using Colour = std::uint32_t;

constexpr Colour MakeColour(int red, int green, int blue)
{
    return static_cast<Colour>(red) | static_cast<Colour>(green) << 8 | static_cast<Colour>(blue) << 16;
}

// The system colours high contrast takes, by their platform names.
struct SystemColours {
    Colour window;          // COLOR_WINDOW
    Colour windowText;      // COLOR_WINDOWTEXT
    Colour highlight;       // COLOR_HIGHLIGHT
    Colour highlightText;   // COLOR_HIGHLIGHTTEXT
    Colour face;            // COLOR_BTNFACE
    Colour faceText;        // COLOR_BTNTEXT
    Colour edgeLight;       // COLOR_3DHIGHLIGHT
    Colour edgeShadow;      // COLOR_3DSHADOW
    Colour edgeSoft;        // COLOR_3DLIGHT
};

// A row's panel and texts.
struct RowColours {
    Colour light;       // top and left edges
    Colour shadow;      // the line above the last
    Colour last;        // the last line, between this row and the next
    Colour fill;
    Colour label;
    Colour value;
};

struct ColourScheme {
    bool highContrast;
    RowColours row;
    RowColours selectedRow;
    Colour face;        // buttons, the status bar and its panes
    Colour faceText;    // the status bar's texts
    Colour frame;       // the buttons' outer columns, the strip's dark lines
    Colour edgeLight;   // raised edges' light side, sunken panes' lower right
    Colour edgeShadow;  // raised edges' dark side, sunken panes' upper left
    Colour edgeSoft;    // a pressed button's lower right, the strip's inner right column
    Colour background;  // the main window behind the strip
};

// The look KORVAL always had: what every paint function draws unless told
// otherwise.
extern const ColourScheme kClassicColours;

// High contrast off: the classic look, whatever the system's colours are.
// On: every colour is one of the system's, texts in the text colour that
// belongs to their background.
ColourScheme ColourSchemeFor(bool highContrast, const SystemColours& system);

// Whether the answer to the platform's question for the high-contrast
// setting says it is on: only an answered question with the flag set.
bool HighContrastIsOn(bool answered, unsigned long flags);
