#include "app/layout.h"

#include "res/resource.h"

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
