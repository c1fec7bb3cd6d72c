// The high-contrast setting and the colours KORVAL draws in now.
#pragma once

#include <windows.h>

#include "base/colour_scheme.h"

// The scheme the windows draw in; written only by ReadColourScheme.
extern ColourScheme Colours;

// Reads the high-contrast setting into Colours: at the start and whenever
// the setting or the system's colours change. The system's colours are read
// only while the setting is on.
void ReadColourScheme();

// The system's colours as they are now.
SystemColours ReadSystemColours();

// Fills a rectangle of `dc` in `colour` with the device context's own brush:
// no brush to make, or to make anew when the colours change.
void FillWithColour(HDC dc, int x, int y, int width, int height, Colour colour);
