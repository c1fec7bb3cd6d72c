#include "watch/viewer_commands.h"

#include "base/instance.h"
#include "res/resource.h"
#include "watch/viewer_frames.h"
#include "watch/viewer_layout.h"
#include "watch/viewer_saving.h"
#include "watch/viewer_scrolling.h"
#include "watch/viewer_state.h"

namespace {

void OnCommand(int id)
{
    switch (id) {
    case ID_VIEWER_PAUSE: TogglePause(); break;
    case ID_VIEWER_NEXT: Step(+1); break;
    case ID_VIEWER_PREVIOUS: Step(-1); break;
    case ID_VIEWER_FIRST: GoTo(1); break;
    case ID_VIEWER_LAST: GoTo(V.lastFrame); break;
    case ID_VIEWER_ZOOM_IN: Zoom(+1, AreaCentre(), true); break;
    case ID_VIEWER_ZOOM_OUT: Zoom(-1, AreaCentre(), true); break;
    case ID_VIEWER_FIT: SetZoom(kViewerFit, AreaCentre(), true); break;
    case ID_VIEWER_SPEED_HALF: SetSpeed(ViewerSpeed::Half); break;
    case ID_VIEWER_SPEED_NORMAL: SetSpeed(ViewerSpeed::Normal); break;
    case ID_VIEWER_SPEED_DOUBLE: SetSpeed(ViewerSpeed::Double); break;
    case ID_VIEWER_SPEED_QUADRUPLE: SetSpeed(ViewerSpeed::Quadruple); break;
    case ID_VIEWER_TALL_PIXELS: ToggleTallPixels(); break;
    case ID_VIEWER_PLAY_ALL: V.playingAll ? EndPlayingAll() : StartPlayingAll(); break;
    case ID_VIEWER_SAVE: Save(); break;
    case ID_VIEWER_CLOSE: DestroyWindow(V.window); break;
    default: break;
    }
}

// Up, Down, Page Up, Page Down, Home and End move the list's selection, as
// they do in the list; the viewer follows it.
void MoveInList(WPARAM key)
{
    HWND list = GetDlgItem(V.owner, V.listId);
    int count = list != nullptr ? static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)) : 0;
    if (count <= 0)
        return;
    int row = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
    RECT client = {};
    GetClientRect(list, &client);
    int itemHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    int page = itemHeight > 0 && client.bottom / itemHeight > 1 ? client.bottom / itemHeight - 1 : 1;
    int to = row;
    switch (key) {
    case VK_UP: to = row - 1; break;
    case VK_DOWN: to = row + 1; break;
    case VK_PRIOR: to = row - page; break;
    case VK_NEXT: to = row + page; break;
    case VK_HOME: to = 0; break;
    case VK_END: to = count - 1; break;
    default: break;
    }
    to = to < 0 ? 0 : (to >= count ? count - 1 : to);
    if (to == row)
        return;
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(to), 0);
    SendMessageA(V.owner, WM_COMMAND, MAKEWPARAM(V.listId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

bool IsModifier(WPARAM key)
{
    return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU || key == VK_LWIN || key == VK_RWIN;
}

} // namespace

bool OnKeyDown(WPARAM key)
{
    if (V.playingAll && !IsModifier(key)) {
        EndPlayingAll();
        V.swallowChar = true;
        return true;
    }
    V.swallowChar = false;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    switch (key) {
    case VK_ESCAPE: DestroyWindow(V.window); return true;
    case VK_SPACE: TogglePause(); return true;
    case VK_LEFT: Step(-1); return true;
    case VK_RIGHT: Step(+1); return true;
    case VK_HOME:
    case VK_END:
        if (control)
            GoTo(key == VK_HOME ? 1 : V.lastFrame);
        else
            MoveInList(key);
        return true;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: MoveInList(key); return true;
    case 'S':
        if (!control)
            return false;
        Save();
        return true;
    default: return false;
    }
}

void OnSysKeyDown(WPARAM key)
{
    if (V.playingAll && !IsModifier(key))
        EndPlayingAll();
}

void OnChar(WPARAM character)
{
    if (V.swallowChar) {
        V.swallowChar = false;
        return;
    }
    switch (character) {
    case '+': OnCommand(ID_VIEWER_ZOOM_IN); break;
    case '-': OnCommand(ID_VIEWER_ZOOM_OUT); break;
    case '0': OnCommand(ID_VIEWER_FIT); break;
    case '1': OnCommand(ID_VIEWER_SPEED_HALF); break;
    case '2': OnCommand(ID_VIEWER_SPEED_NORMAL); break;
    case '3': OnCommand(ID_VIEWER_SPEED_DOUBLE); break;
    case '4': OnCommand(ID_VIEWER_SPEED_QUADRUPLE); break;
    case 'v':
    case 'V': OnCommand(ID_VIEWER_TALL_PIXELS); break;
    case 'a':
    case 'A': OnCommand(ID_VIEWER_PLAY_ALL); break;
    default: break;
    }
}

void OnContextMenu(LPARAM point)
{
    // The right click that ended "Alle abspielen" opens no menu.
    if (V.swallowChar && point != -1) {
        V.swallowChar = false;
        return;
    }
    HMENU resource = LoadMenuA(ModuleInstance, MAKEINTRESOURCEA(IDR_VIEWER_MENU));
    HMENU menu = GetSubMenu(resource, 0);
    if (menu == nullptr) {
        if (resource != nullptr)
            DestroyMenu(resource);
        return;
    }
    const UINT playable = Playable() && V.hasFrame ? MF_ENABLED : MF_GRAYED;
    const int needFrame[] = {ID_VIEWER_PAUSE, ID_VIEWER_NEXT, ID_VIEWER_PREVIOUS, ID_VIEWER_FIRST, ID_VIEWER_LAST,
                             ID_VIEWER_SAVE};
    for (int id : needFrame)
        EnableMenuItem(menu, id, MF_BYCOMMAND | playable);
    if (Saving())
        EnableMenuItem(menu, ID_VIEWER_SAVE, MF_BYCOMMAND | MF_GRAYED);
    CheckMenuItem(menu, ID_VIEWER_PAUSE, MF_BYCOMMAND | (V.paused ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuRadioItem(menu, ID_VIEWER_SPEED_HALF, ID_VIEWER_SPEED_QUADRUPLE,
                       ID_VIEWER_SPEED_HALF + static_cast<int>(V.speed), MF_BYCOMMAND);
    const bool tall = ViewerAspectApplies(V.facts.info.width, V.facts.info.height);
    EnableMenuItem(menu, ID_VIEWER_TALL_PIXELS, MF_BYCOMMAND | (tall ? MF_ENABLED : MF_GRAYED));
    CheckMenuItem(menu, ID_VIEWER_TALL_PIXELS, MF_BYCOMMAND | (tall && V.tallPixels ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, ID_VIEWER_PLAY_ALL, MF_BYCOMMAND | (V.playingAll ? MF_CHECKED : MF_UNCHECKED));
    POINT at = {static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    if (point == -1) {      // from the keyboard: in the picture's middle
        ViewerSize area = PictureArea();
        at = {area.width / 2, area.height / 2};
        ClientToScreen(V.pane, &at);
    }
    int id = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, V.window, nullptr);
    DestroyMenu(resource);
    OnCommand(id);
}

void OnOtherButtonDown(UINT message)
{
    if (!V.playingAll)
        return;
    EndPlayingAll();
    if (message == WM_RBUTTONDOWN)
        V.swallowChar = true;
}
