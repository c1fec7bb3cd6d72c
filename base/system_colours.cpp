#include "base/system_colours.h"

ColourScheme Colours = kClassicColours;

static_assert(sizeof(Colour) == sizeof(COLORREF), "a Colour is a COLORREF");

void ReadColourScheme()
{
    HIGHCONTRASTA setting = {};
    setting.cbSize = sizeof setting;
    const bool answered = SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) != FALSE;
    const bool on = HighContrastIsOn(answered, setting.dwFlags);
    Colours = ColourSchemeFor(on, on ? ReadSystemColours() : SystemColours{});
}

SystemColours ReadSystemColours()
{
    return SystemColours{GetSysColor(COLOR_WINDOW),     GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_HIGHLIGHT),
                         GetSysColor(COLOR_HIGHLIGHTTEXT), GetSysColor(COLOR_BTNFACE),  GetSysColor(COLOR_BTNTEXT),
                         GetSysColor(COLOR_3DHIGHLIGHT), GetSysColor(COLOR_3DSHADOW),   GetSysColor(COLOR_3DLIGHT)};
}

void FillWithColour(HDC dc, int x, int y, int width, int height, Colour colour)
{
    HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(DC_BRUSH));
    COLORREF previousColour = SetDCBrushColor(dc, colour);
    PatBlt(dc, x, y, width, height, PATCOPY);
    SetDCBrushColor(dc, previousColour);
    SelectObject(dc, previousBrush);
}
