#include "base/colour_scheme.h"

namespace {

constexpr Colour kBlack = MakeColour(0, 0, 0);
constexpr Colour kWhite = MakeColour(255, 255, 255);
constexpr Colour kGray = MakeColour(128, 128, 128);
constexpr Colour kLightGray = MakeColour(192, 192, 192);
constexpr Colour kTeal = MakeColour(0, 128, 128);

// The platform's HCF_HIGHCONTRASTON.
constexpr unsigned long kHighContrastOnFlag = 0x00000001;

} // namespace

const ColourScheme kClassicColours = {
    false,
    {kWhite, kGray, kBlack, kLightGray, kBlack, kBlack},
    // Selected rows sink; their labels stay black on the teal.
    {kGray, kLightGray, kBlack, kTeal, kBlack, kWhite},
    kLightGray,
    kBlack,
    kBlack,
    kWhite,
    kGray,
    kLightGray,
    kGray,
};

ColourScheme ColourSchemeFor(bool highContrast, const SystemColours& system)
{
    if (!highContrast)
        return kClassicColours;
    ColourScheme scheme = {};
    scheme.highContrast = true;
    // The last line in the text colour: the scheme's 3D colours may all be
    // the window's, and the rows would run into each other.
    scheme.row = {system.edgeLight, system.edgeShadow, system.windowText, system.window, system.windowText,
                  system.windowText};
    scheme.selectedRow = {system.edgeShadow, system.edgeSoft, system.windowText, system.highlight,
                          system.highlightText, system.highlightText};
    scheme.face = system.face;
    scheme.faceText = system.faceText;
    scheme.frame = system.faceText;
    scheme.edgeLight = system.edgeLight;
    scheme.edgeShadow = system.edgeShadow;
    scheme.edgeSoft = system.edgeSoft;
    scheme.background = system.face;
    return scheme;
}

bool HighContrastIsOn(bool answered, unsigned long flags)
{
    return answered && (flags & kHighContrastOnFlag) != 0;
}
