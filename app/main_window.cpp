#include "app/main_window.h"

#include "app/copyright_dialog.h"
#include "app/layout.h"
#include "app/picture_button.h"
#include "app/start_marks.h"
#include "base/display_dpi.h"
#include "base/instance.h"
#include "base/system_colours.h"
#include "catalogue/catalogue_file.h"
#include "catalogue/settings.h"
#include "launch/launcher.h"
#include "res/resource.h"
#include "statusbar/status_bar.h"
#include "view/animation_list.h"
#include "view/keyword_dialog.h"
#include "view/row_drawing.h"
#include "watch/preview_popup.h"
#include "watch/reading_thread.h"
#include "watch/viewer_window.h"

namespace {

constexpr UINT kFirstPaintDone = WM_APP + 1;
constexpr UINT_PTR kTooltipTimer = 1;
constexpr int kPictureButtonCount = 3;
const int kPictureButtons[kPictureButtonCount] = {ID_PLAY, ID_EDIT, ID_COPY};

// The DPI the window is laid out for: its monitor's, set at creation and on
// every DPI change.
int WindowDpiNow = kBaseDpi;

// Drawing objects of the toolbar, made once with the window and again for a
// new DPI.
HDC PictureContext;
HBITMAP ButtonPictures[kPictureButtonCount];    // Play, Edit, Copy
int ButtonPictureSize = kPictureSize;
const int kPictureIds[kPictureSets][kPictureButtonCount] = {
    {IDB_PLAY, IDB_EDIT, IDB_COPY},
    {IDB_PLAY_150, IDB_EDIT_150, IDB_COPY_150},
    {IDB_PLAY_200, IDB_EDIT_200, IDB_COPY_200},
};
// The title bar's and the task switcher's icons, in the sizes asked for at
// the window's DPI.
HICON WindowIcons[2];           // ICON_SMALL, ICON_BIG

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
    ViewerFollowList(window);
}

void SetListOrder(HWND window, int listId, int commandId)
{
    HMENU menu = GetMenu(window);
    for (int id = ID_SORT_TITLE; id <= ID_SORT_DATE; ++id)
        CheckMenuItem(menu, id, MF_BYCOMMAND | (id == commandId ? MF_CHECKED : MF_UNCHECKED));
    FillAnimationList(window, listId, SortModeOfCommand(commandId));
    SelectFirstRow(window, listId);
}

void SizeAndCentre(HWND window, int areaWidth, int areaHeight, bool hasMenu, int dpi)
{
    RECT outer = {0, 0, areaWidth, areaHeight};
    AdjustWindowRectForDpi(outer, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), hasMenu,
                           static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)), dpi);
    int width = outer.right - outer.left;
    int height = outer.bottom - outer.top;
    int x = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), width);
    int y = CentredOrigin(GetSystemMetrics(SM_CYSCREEN), height);
    SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER);
}

void ReleaseButtonPictures()
{
    for (HBITMAP& picture : ButtonPictures) {
        if (picture != nullptr)
            DeleteObject(picture);
        picture = nullptr;
    }
}

// The largest pictures that fit the buttons at `dpi`. Under high contrast
// their silver background (and grays) take the system's face colours, as the
// platform's own toolbars do.
void LoadButtonPictures(int dpi)
{
    int set = PictureSetAt(dpi);
    const UINT flags = Colours.highContrast ? LR_LOADMAP3DCOLORS : 0;
    for (int n = 0; n < kPictureButtonCount; ++n)
        ButtonPictures[n] = static_cast<HBITMAP>(
            LoadImageA(ModuleInstance, MAKEINTRESOURCEA(kPictureIds[set][n]), IMAGE_BITMAP, 0, 0, flags));
    ButtonPictureSize = PictureSizeOfSet(set);
}

// Loaded unshared in the sizes the platform asks for at `dpi`; the icons
// they replace are freed.
void SetWindowIcons(HWND window, int dpi)
{
    const int metrics[2] = {SM_CXSMICON, SM_CXICON};
    const WPARAM kinds[2] = {ICON_SMALL, ICON_BIG};
    for (int n = 0; n < 2; ++n) {
        int size = SystemMetricForDpi(metrics[n], dpi);
        HICON icon = static_cast<HICON>(
            LoadImageA(ModuleInstance, MAKEINTRESOURCEA(IDI_KORVAL), IMAGE_ICON, size, size, 0));
        SendMessageA(window, WM_SETICON, kinds[n], reinterpret_cast<LPARAM>(icon));
        if (WindowIcons[n] != nullptr)
            DestroyIcon(WindowIcons[n]);
        WindowIcons[n] = icon;
    }
}

// Made on the first call, named after their menu items; moved and sized on later ones.
void PlaceButtons(HWND window, int dpi)
{
    const ToolbarGeometry toolbar = ToolbarGeometryAt(dpi);
    for (int n = 0; n < kPictureButtonCount; ++n) {
        HWND button = GetDlgItem(window, kPictureButtons[n]);
        int x = n * toolbar.buttonStep;
        if (button != nullptr) {
            SetWindowPos(button, nullptr, x, toolbar.buttonTop, toolbar.buttonSize, toolbar.buttonSize,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            continue;
        }
        char menuText[kButtonNameSize] = "";
        GetMenuStringA(GetMenu(window), kPictureButtons[n], menuText, sizeof menuText, MF_BYCOMMAND);
        char name[kButtonNameSize];
        ButtonNameFromMenuText(name, menuText);
        CreatePictureButton(window, kPictureButtons[n], name, x, toolbar.buttonTop, toolbar.buttonSize,
                            toolbar.buttonSize);
    }
}

void PlaceChildren(HWND window, int clientWidth, int clientHeight)
{
    MainLayout layout = ComputeMainLayout(clientWidth, clientHeight, WindowDpiNow);
    const Placement& list = layout.list;
    const Placement& bar = layout.statusBar;
    SetWindowPos(GetDlgItem(window, ID_LIST), nullptr, list.x, list.y, list.width, list.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(GetDlgItem(window, ID_STATUSBAR), nullptr, bar.x, bar.y, bar.width, bar.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT OnCreate(HWND window)
{
    MarkStart(StartMark::WindowCreating);
    const int dpi = WindowDpi(window);
    WindowDpiNow = dpi;
    ReadColourScheme();
    PictureContext = CreateCompatibleDC(nullptr);
    LoadButtonPictures(dpi);
    PlaceButtons(window, dpi);
    SetWindowIcons(window, dpi);

    LoadRowLabels();
    int loaded = LoadCatalogue();
    MarkStart(StartMark::CatalogueLoaded);
    if (loaded) {
        ResolveBasePath();
        CreateAnimationList(window, ID_LIST, dpi);
        WatchListForPreview(GetDlgItem(window, ID_LIST), dpi);
    }
    CreateStatusBar(window, ID_STATUSBAR, dpi);

    // The resize sends WM_SIZE, which places the list and the status bar.
    Placement client = InitialClientArea(dpi, SystemMetricForDpi(SM_CYVSCROLL, dpi));
    SizeAndCentre(window, client.width, client.height, true, dpi);
    MarkStart(StartMark::ControlsPlaced);
    SetListOrder(window, ID_LIST, ID_SORT_TITLE);
    MarkStart(StartMark::ListFilled);
    if (HasList(window))
        SetFocus(GetDlgItem(window, ID_LIST));
    // Posted, so it comes once the message loop runs: after the first paint.
    PostMessageA(window, kFirstPaintDone, 0, 0);
    return 0;
}

void OnSize(HWND window, LPARAM longParam)
{
    PlaceChildren(window, LOWORD(longParam), HIWORD(longParam));
}

// The window moved to a monitor of another DPI (or that monitor's scale
// changed): everything KORVAL sizes itself is made and laid out anew, and
// the window takes the place the platform suggests.
void OnDpiChanged(HWND window, WPARAM wordParam, LPARAM longParam)
{
    const int dpi = HIWORD(wordParam);
    WindowDpiNow = dpi;
    ReleaseButtonPictures();
    LoadButtonPictures(dpi);
    PlaceButtons(window, dpi);
    SetWindowIcons(window, dpi);
    const int top = SetAnimationListDpi(window, ID_LIST, dpi);
    SetStatusBarDpi(window, ID_STATUSBAR, dpi);
    SetPreviewDpi(dpi);

    const RECT* suggested = reinterpret_cast<const RECT*>(longParam);
    if (suggested != nullptr)
        SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    // Placed here too: a suggested size equal to the current one sends no WM_SIZE.
    RECT client;
    GetClientRect(window, &client);
    PlaceChildren(window, client.right, client.bottom);
    // Sized anew, the list may have scrolled back: shown from the kept row again.
    ShowListFrom(window, ID_LIST, top);
    InvalidateRect(window, nullptr, TRUE);
}

// The high-contrast setting or the system's colours changed: everything
// drawn in them is drawn again, the button pictures loaded anew.
void OnColoursChanged(HWND window)
{
    ReadColourScheme();
    ReleaseButtonPictures();
    LoadButtonPictures(WindowDpiNow);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The strip's background (the class brush is the classic one).
LRESULT OnEraseBackground(HWND window, HDC dc)
{
    RECT client;
    GetClientRect(window, &client);
    FillWithColour(dc, 0, 0, client.right, client.bottom, Colours.background);
    return 1;
}

void PaintContent(HWND window, HDC dc)
{
    RECT client;
    GetClientRect(window, &client);
    PaintToolbarStrip(dc, client.right, WindowDpiNow, Colours);
}

void OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintContent(window, dc);
    EndPaint(window, &paint);
}

void OnDrawItem(const DRAWITEMSTRUCT* drawItem)
{
    switch (drawItem->CtlID) {
    case ID_LIST:
        DrawAnimationItem(drawItem, Colours);
        break;
    case ID_PLAY:
    case ID_EDIT:
    case ID_COPY:
        DrawPictureButton(drawItem, PictureContext, ButtonPictures[drawItem->CtlID - ID_PLAY], ButtonPictureSize,
                          ButtonPictureSize, WindowDpiNow, Colours);
        break;
    default:
        break;
    }
}

// Play, Edit and Copy need a list to take the animation from; without one
// nothing is started.
void Launch(HWND window, int commandId)
{
    HidePreview();
    if (!HasList(window))
        return;
    int position = static_cast<int>(SendDlgItemMessageA(window, ID_LIST, LB_GETCURSEL, 0, 0));
    LaunchCompanion(window, commandId, SelectedAnimationPath(window, ID_LIST, position), position >= 0);
}

void OnListNotification(HWND window, int code)
{
    if (code == LBN_SELCHANGE) {
        ReportSelection(window);
        ViewerFollowList(window);
    }
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
    case ID_PREVIEW:
        TogglePreview(window, ID_LIST);
        break;
    case ID_VIEWER:
        HidePreview();
        OpenViewer(window, ID_LIST);
        break;
    case ID_COPYRIGHT:
        RunCopyrightDialog(window);
        break;
    case ID_EXIT:
        DestroyWindow(window);
        break;
    case ID_SORT_TITLE:
    case ID_SORT_AUTHOR:
    case ID_SORT_FILE:
    case ID_SORT_DATE:
        HidePreview();      // its row moves
        if (HasList(window))
            SetListOrder(window, ID_LIST, id);
        break;
    case ID_SELECT:
        HidePreview();
        if (HasList(window) && RunKeywordDialog(window, ID_LIST))
            SelectFirstRow(window, ID_LIST);
        break;
    default:
        break;
    }
}

// The tooltips need the common controls, whose loading would cost the start
// more than all the rest of its own work: they are made once the program has
// waited for input. A timer comes only when the queue is empty, so the
// shortest one, set after the first paint, runs out after that wait.
void OnFirstPaintDone(HWND window)
{
    SetTimer(window, kTooltipTimer, USER_TIMER_MINIMUM, nullptr);
}

void OnTimer(HWND window, WPARAM timerId)
{
    if (timerId != kTooltipTimer)
        return;
    KillTimer(window, kTooltipTimer);
    CreateButtonTooltips(window, kPictureButtons, kPictureButtonCount);
    MarkStart(StartMark::TooltipsMade);
    // The first preview's reading thread, made here rather than while the
    // window is built: under Wine a thread's start costs the start some ms.
    PrepareReadingThread();
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
    ReleaseButtonPictures();
    for (HICON& icon : WindowIcons) {
        if (icon != nullptr)
            DestroyIcon(icon);
        icon = nullptr;
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
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_KORVAL));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = kMainWindowClass;
    // The window sets its own icons in the sizes of its DPI (WM_SETICON), so
    // the class's small icon is never shown: given one, the platform does not
    // make a small copy of the class icon at registration.
    windowClass.hIconSm = windowClass.hIcon;
    if (RegisterClassExA(&windowClass) == 0)
        return 0;
    return RegisterStatusBarClass(instance);
}

bool TranslateMainWindowKeys(HWND window, HACCEL accelerators, MSG* message)
{
    constexpr LPARAM kWasDown = 1 << 30;
    if (message->message == WM_KEYDOWN && message->wParam == VK_F3 && (message->lParam & kWasDown) != 0)
        return true;
    // The viewer has keys of its own: Enter there starts nothing.
    HWND viewer = ViewerWindow();
    if (viewer != nullptr && (message->hwnd == viewer || IsChild(viewer, message->hwnd)))
        return false;
    return TranslateAcceleratorA(window, accelerators, message) != 0;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wordParam, LPARAM longParam)
{
    switch (message) {
    case WM_NCCREATE:
        ScaleNonClientArea(window);
        return DefWindowProcA(window, message, wordParam, longParam);
    case WM_CREATE:
        return OnCreate(window);
    case WM_SETFOCUS:
        OnSetFocus(window);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wordParam) == WA_INACTIVE)
            HidePreview();
        return DefWindowProcA(window, message, wordParam, longParam);
    // A click anywhere in the window, or the window moved or sized: the
    // preview goes. The menu takes only the pointer's: one that F3 showed
    // stays, and "Vorschau" there carries its check mark and turns it off.
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_PARENTNOTIFY:
    case WM_ENTERSIZEMOVE:
        HidePreview();
        return DefWindowProcA(window, message, wordParam, longParam);
    case WM_NCLBUTTONDOWN:
        wordParam == HTMENU ? HideHoverPreview() : HidePreview();
        return DefWindowProcA(window, message, wordParam, longParam);
    case WM_ENTERMENULOOP:
        HideHoverPreview();
        return DefWindowProcA(window, message, wordParam, longParam);
    case WM_INITMENUPOPUP:
        CheckMenuItem(GetMenu(window), ID_PREVIEW, MF_BYCOMMAND | (PreviewWindow() != nullptr ? MF_CHECKED : MF_UNCHECKED));
        return 0;
    case WM_SIZE:
        OnSize(window, longParam);
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(window, wordParam, longParam);
        return 0;
    case WM_SETTINGCHANGE:
        if (wordParam == SPI_SETHIGHCONTRAST)
            OnColoursChanged(window);
        return DefWindowProcA(window, message, wordParam, longParam);
    case WM_SYSCOLORCHANGE:
        OnColoursChanged(window);
        return 0;
    case WM_ERASEBKGND:
        return OnEraseBackground(window, reinterpret_cast<HDC>(wordParam));
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_PRINTCLIENT:
        PaintContent(window, reinterpret_cast<HDC>(wordParam));
        return 0;
    case WM_DRAWITEM:
        OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(longParam));
        return 0;
    case WM_COMMAND:
        OnCommand(window, wordParam, longParam);
        return 0;
    case kFirstPaintDone:
        OnFirstPaintDone(window);
        return 0;
    case WM_TIMER:
        OnTimer(window, wordParam);
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        return DefWindowProcA(window, message, wordParam, longParam);
    }
}
