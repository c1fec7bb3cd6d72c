#include "app/main_window.h"

#include "app/copyright_dialog.h"
#include "app/layout.h"
#include "app/picture_button.h"
#include "base/instance.h"
#include "catalogue/catalogue_file.h"
#include "catalogue/settings.h"
#include "launch/launcher.h"
#include "res/resource.h"
#include "statusbar/status_bar.h"
#include "view/animation_list.h"
#include "view/keyword_dialog.h"
#include "view/row_drawing.h"

namespace {

constexpr int kInitialWidth = 520;
constexpr UINT kCreateTooltips = WM_APP + 1;
constexpr int kPictureButtonCount = 3;
const int kPictureButtons[kPictureButtonCount] = {ID_PLAY, ID_EDIT, ID_COPY};
constexpr int kInitialHeightWithoutScrollBar = 473;

// Drawing objects of the toolbar, made once with the window.
HDC PictureContext;
HBITMAP ButtonPictures[3];      // Play, Edit, Copy

bool HasList(HWND window)
{
    return GetDlgItem(window, ID_LIST) != nullptr;
}

// Without a catalogue there is no list: the status bar then shows no row.
void ReportSelection(HWND window)
{
    int position = -1;
    int count = 0;
    const char* path = "";
    if (HasList(window)) {
        position = static_cast<int>(SendDlgItemMessageA(window, ID_LIST, LB_GETCURSEL, 0, 0));
        count = static_cast<int>(SendDlgItemMessageA(window, ID_LIST, LB_GETCOUNT, 0, 0));
        path = SelectedAnimationPath(window, ID_LIST, position);
    }
    UpdateStatusBar(window, ID_STATUSBAR, position, count, path);
}

void SelectFirstRow(HWND window, int listId)
{
    SendDlgItemMessageA(window, listId, LB_SETCURSEL, 0, 0);
    ReportSelection(window);
}

void SetListOrder(HWND window, int listId, int commandId)
{
    HMENU menu = GetMenu(window);
    for (int id = ID_SORT_TITLE; id <= ID_SORT_DATE; ++id)
        CheckMenuItem(menu, id, MF_BYCOMMAND | (id == commandId ? MF_CHECKED : MF_UNCHECKED));
    FillAnimationList(window, listId, SortModeOfCommand(commandId));
    SelectFirstRow(window, listId);
}

void SizeAndCentre(HWND window, int areaWidth, int areaHeight, bool hasMenu)
{
    RECT outer = {0, 0, areaWidth, areaHeight};
    AdjustWindowRect(&outer, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), hasMenu ? TRUE : FALSE);
    int width = outer.right - outer.left;
    int height = outer.bottom - outer.top;
    int x = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), width);
    int y = CentredOrigin(GetSystemMetrics(SM_CYSCREEN), height);
    SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER);
}

LRESULT OnCreate(HWND window)
{
    PictureContext = CreateCompatibleDC(nullptr);
    ButtonPictures[0] = LoadBitmapA(ModuleInstance, MAKEINTRESOURCEA(IDB_PLAY));
    ButtonPictures[1] = LoadBitmapA(ModuleInstance, MAKEINTRESOURCEA(IDB_EDIT));
    ButtonPictures[2] = LoadBitmapA(ModuleInstance, MAKEINTRESOURCEA(IDB_COPY));
    for (int n = 0; n < kPictureButtonCount; ++n) {
        char menuText[kButtonNameSize] = "";
        GetMenuStringA(GetMenu(window), kPictureButtons[n], menuText, sizeof menuText, MF_BYCOMMAND);
        char name[kButtonNameSize];
        ButtonNameFromMenuText(name, menuText);
        CreatePictureButton(window, kPictureButtons[n], name, n * kButtonStep, 2, kButtonSize, kButtonSize);
    }

    LoadRowLabels();
    if (LoadCatalogue()) {
        ResolveBasePath();
        CreateAnimationList(window, ID_LIST);
    }
    CreateStatusBar(window, ID_STATUSBAR);

    // The resize sends WM_SIZE, which places the list and the status bar.
    SizeAndCentre(window, kInitialWidth, GetSystemMetrics(SM_CYVSCROLL) + kInitialHeightWithoutScrollBar, true);
    SetListOrder(window, ID_LIST, ID_SORT_TITLE);
    if (HasList(window))
        SetFocus(GetDlgItem(window, ID_LIST));
    // Posted, so it comes once the message loop runs: after the first paint.
    PostMessageA(window, kCreateTooltips, 0, 0);
    return 0;
}

void OnSize(HWND window, LPARAM longParam)
{
    MainLayout layout = ComputeMainLayout(LOWORD(longParam), HIWORD(longParam));
    const Placement& list = layout.list;
    const Placement& bar = layout.statusBar;
    SetWindowPos(GetDlgItem(window, ID_LIST), nullptr, list.x, list.y, list.width, list.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(GetDlgItem(window, ID_STATUSBAR), nullptr, bar.x, bar.y, bar.width, bar.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    PaintToolbarStrip(dc, client.right);
    EndPaint(window, &paint);
}

void OnDrawItem(const DRAWITEMSTRUCT* drawItem)
{
    switch (drawItem->CtlID) {
    case ID_LIST:
        DrawAnimationItem(drawItem);
        break;
    case ID_PLAY:
    case ID_EDIT:
    case ID_COPY:
        DrawPictureButton(drawItem, PictureContext, ButtonPictures[drawItem->CtlID - ID_PLAY], kPictureSize,
                          kPictureSize);
        break;
    default:
        break;
    }
}

// Play, Edit and Copy need a list to take the animation from; without one
// nothing is started.
void Launch(HWND window, int commandId)
{
    if (!HasList(window))
        return;
    int position = static_cast<int>(SendDlgItemMessageA(window, ID_LIST, LB_GETCURSEL, 0, 0));
    LaunchCompanion(window, commandId, SelectedAnimationPath(window, ID_LIST, position), position >= 0);
}

void OnListNotification(HWND window, int code)
{
    if (code == LBN_SELCHANGE)
        ReportSelection(window);
    else if (code == LBN_DBLCLK)
        Launch(window, IsKeyDown(GetKeyState(VK_SHIFT)) ? ID_EDIT : ID_PLAY);
}

void OnCommand(HWND window, WPARAM wordParam, LPARAM longParam)
{
    int id = LOWORD(wordParam);
    switch (id) {
    case ID_LIST:
        OnListNotification(window, HIWORD(wordParam));
        break;
    case ID_PLAY:
    case ID_EDIT:
    case ID_COPY:
        // A double-click on a picture button reports its second click as
        // BN_DBLCLK after the first one's BN_CLICKED: one start, not two.
        if (longParam == 0 || HIWORD(wordParam) == BN_CLICKED)
            Launch(window, id);
        break;
    case ID_COPYRIGHT:
        DialogBoxParamA(ModuleInstance, MAKEINTRESOURCEA(IDD_COPYRIGHT), window, CopyrightDialogProc, 0);
        break;
    case ID_EXIT:
        DestroyWindow(window);
        break;
    case ID_SORT_TITLE:
    case ID_SORT_AUTHOR:
    case ID_SORT_FILE:
    case ID_SORT_DATE:
        if (HasList(window))
            SetListOrder(window, ID_LIST, id);
        break;
    case ID_SELECT:
        if (HasList(window) && RunKeywordDialog(window, ID_LIST))
            SelectFirstRow(window, ID_LIST);
        break;
    default:
        break;
    }
}

void OnSetFocus(HWND window)
{
    if (HasList(window))
        SetFocus(GetDlgItem(window, ID_LIST));
}

void OnDestroy()
{
    if (PictureContext != nullptr)
        DeleteDC(PictureContext);
    PictureContext = nullptr;
    for (HBITMAP& picture : ButtonPictures) {
        if (picture != nullptr)
            DeleteObject(picture);
        picture = nullptr;
    }
    ReleaseListResources();
    PostQuitMessage(0);
}

} // namespace

HWND CreateMainWindow(HINSTANCE instance)
{
    HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAIN_MENU));
    char title[50] = "";
    LoadStringA(instance, IDS_WINDOW_TITLE, title, sizeof title);
    // Creation loads the catalogue, builds the list and gives the window its
    // final size and place, so the 440 x 480 below never shows.
    HWND window = CreateWindowExA(0, kMainWindowClass, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 440, 480, nullptr, menu, instance, nullptr);
    if (window == nullptr && menu != nullptr)
        DestroyMenu(menu);
    return window;
}

int RegisterWindowClasses(HINSTANCE instance)
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_KORVAL));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = kMainWindowClass;
    if (RegisterClassA(&windowClass) == 0)
        return 0;
    return RegisterStatusBarClass(instance);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wordParam, LPARAM longParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(window);
    case WM_SETFOCUS:
        OnSetFocus(window);
        return 0;
    case WM_SIZE:
        OnSize(window, longParam);
        return 0;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_DRAWITEM:
        OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(longParam));
        return 0;
    case WM_COMMAND:
        OnCommand(window, wordParam, longParam);
        return 0;
    case kCreateTooltips:
        CreateButtonTooltips(window, kPictureButtons, kPictureButtonCount);
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        return DefWindowProcA(window, message, wordParam, longParam);
    }
}
