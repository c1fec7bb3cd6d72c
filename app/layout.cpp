#include "app/layout.h"

#include "res/resource.h"

#include <cstddef>

namespace {

int NotBelowZero(int value)
{
    return value < 0 ? 0 : value;
}

} // namespace

MainLayout ComputeMainLayout(int clientWidth, int clientHeight, int dpi)
{
    int toolbar = ScaleToDpi(kToolbarHeight, dpi);
    int bar = ScaleToDpi(kStatusBarHeight, dpi);
    MainLayout layout;
    layout.list = {0, toolbar, clientWidth, NotBelowZero(clientHeight - toolbar - bar)};
    layout.statusBar = {0, NotBelowZero(clientHeight - bar), clientWidth, bar};
    return layout;
}

ToolbarGeometry ToolbarGeometryAt(int dpi)
{
    ToolbarGeometry geometry;
    geometry.stripHeight = ScaleToDpi(kToolbarHeight, dpi);
    geometry.line = LineWidthAtDpi(dpi);
    geometry.buttonSize = ScaleToDpi(kButtonSize, dpi);
    // Neighbours overlap by their edge line, so the black between them is as
    // wide as the outer edges' (one column at 96 DPI, two from 192 on).
    geometry.buttonStep = geometry.buttonSize - geometry.line;
    // Scaling the 2 pixels above the buttons on their own could round them
    // one pixel into the list (2.5 rounds to 3 at 120 DPI).
    geometry.buttonTop = geometry.stripHeight - geometry.buttonSize;
    geometry.pressOffset = geometry.line;
    return geometry;
}

int PictureSizeOfSet(int set)
{
    return kPictureSize * (2 + set) / 2;
}

int PictureSetAt(int dpi)
{
    int room = ScaleToDpi(kPictureSize, dpi);
    int set = 0;
    while (set + 1 < kPictureSets && PictureSizeOfSet(set + 1) <= room)
        ++set;
    return set;
}

Placement InitialClientArea(int dpi, int scrollBarHeight)
{
    return Placement{0, 0, ScaleToDpi(kInitialClientWidth, dpi),
                     scrollBarHeight + ScaleToDpi(kInitialClientHeightWithoutScrollBar, dpi)};
}

int CentredOrigin(int screen, int outer)
{
    return NotBelowZero((screen - outer) / 2);
}

bool IsKeyDown(short keyState)
{
    return (static_cast<unsigned short>(keyState) & 0xFFFEu) != 0;
}

int SortModeOfCommand(int commandId)
{
    if (commandId >= ID_SORT_TITLE && commandId <= ID_SORT_DATE)
        return commandId - ID_SORT_TITLE;
    return 0;
}

void ButtonNameFromMenuText(char (&name)[kButtonNameSize], const char* menuText)
{
    std::size_t length = 0;
    for (const char* c = menuText; *c != '\0' && *c != '\t' && length + 1 < kButtonNameSize; ++c) {
        if (*c == '&' && c[1] != '&')
            continue;           // "&&" stands for one "&"
        if (*c == '&')
            ++c;
        name[length++] = *c;
    }
    while (length > 0 && name[length - 1] == '.')
        --length;
    name[length] = '\0';
}
