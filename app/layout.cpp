#include "app/layout.h"

#include "res/resource.h"

#include <cstddef>

namespace {

int NotBelowZero(int value)
{
    return value < 0 ? 0 : value;
}

} // namespace

MainLayout ComputeMainLayout(int clientWidth, int clientHeight)
{
    MainLayout layout;
    layout.list = {0, kToolbarHeight, clientWidth,
                   NotBelowZero(clientHeight - kToolbarHeight - kStatusBarHeight)};
    layout.statusBar = {0, NotBelowZero(clientHeight - kStatusBarHeight), clientWidth, kStatusBarHeight};
    return layout;
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
