#include "watch/viewer_window.h"

#include "base/display_dpi.h"
#include "base/instance.h"
#include "res/resource.h"
#include "watch/picture_drawing.h"
#include "watch/preview_reading.h"
#include "watch/viewer_commands.h"
#include "watch/viewer_frames.h"
#include "watch/viewer_layout.h"
#include "watch/viewer_saving.h"
#include "watch/viewer_scrolling.h"
#include "watch/viewer_state.h"
#include "watch/viewer_status.h"

#include <new>

ViewerState V;

namespace {

constexpr const char* kViewerClass = "KorvalViewer";
// The picture's pane above the status line: its scroll bars are the picture's only.
constexpr const char* kPaneClass = "KorvalViewerPane";
constexpr int kStatusId = 1;
constexpr int kPaneId = 2;

void Paint(HDC dc)
{
    ViewerSize area = PictureArea();
    RECT areaRect = {0, 0, area.width, area.height};
    wchar_t line[kViewerStatusSize] = L"";
    if (V.holding) {
        PaintViewerPicture(dc, areaRect, V.frame.get(), V.held, line);
        return;
    }
    if (!V.hasFrame && (PreviewAnswerTextId(V.facts.answer) != 0 || V.facts.answer == PreviewAnswer::Pending))
        StatusLine(line);
    PaintViewerPicture(dc, areaRect, V.hasFrame ? V.frame.get() : nullptr, PictureRect(), line);
}

void OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    Paint(dc);
    EndPaint(window, &paint);
}

void OnDpiChanged(WPARAM wordParam, LPARAM longParam)
{
    V.dpi = HIWORD(wordParam);
    MakeFont();
    const RECT* suggested = reinterpret_cast<const RECT*>(longParam);
    if (suggested != nullptr)
        PlaceWindow(suggested->left, suggested->top, suggested->right - suggested->left,
                    suggested->bottom - suggested->top);
    Relayout();
    UpdateStatus();
}

// Everything of the viewer goes: its reading, its picture, its font.
void Forget()
{
    // A save not done yet is stopped: its temporary file goes, an old file stays.
    V.save.reset();
    V.saveWaiting = false;
    V.player.reset();
    V.frame.reset();
    if (V.font != nullptr)
        DeleteObject(V.font);
    V.font = nullptr;
    V.window = nullptr;
    V.pane = nullptr;
    V.status = nullptr;
    V.hasFrame = false;
    V.facts = PreviewFacts();
    // The next viewer starts afresh.
    V.playingAll = false;
    V.speed = ViewerSpeed::Normal;
    V.tallPixels = false;
    V.zoom = 1;
    V.scroll = {0, 0};
    V.shown = false;
    V.userSized = false;
    V.resizing = false;
    V.sizeType = SIZE_RESTORED;
    V.settling = false;
    V.holding = false;
    V.dragging = false;
}

LRESULT OnNcCreate(HWND window, WPARAM wordParam, LPARAM longParam)
{
    ScaleNonClientArea(window);
    return DefWindowProcA(window, WM_NCCREATE, wordParam, longParam);
}

void OnTimer(WPARAM timer)
{
    switch (timer) {
    case kFrameTimer: OnFrameTimer(); break;
    case kStartTimer: StartReading(); break;
    case kMoveOnTimer: OnMoveOnTimer(); break;
    case kSettleTimer: OnSettleTimer(); break;
    case kSaveTimer: OnSaveTimer(); break;
    default: break;
    }
}

// A size the user gave the window by hand stays; maximising and restoring
// are no size of the user's own.
void OnSize(HWND window, WPARAM type)
{
    if (window != V.window)
        return;
    if (type == SIZE_RESTORED && V.sizeType == SIZE_RESTORED && !V.resizing && V.shown)
        V.userSized = true;
    if (type == SIZE_RESTORED || type == SIZE_MAXIMIZED || type == SIZE_MINIMIZED)
        V.sizeType = static_cast<UINT>(type);
    PlaceChildren();
    UpdateStatus();
}

void OnPaneSize(HWND window)
{
    if (window == V.pane)
        Relayout();
}

LRESULT OnPaneCursor(HWND pane, WPARAM wordParam, LPARAM longParam)
{
    if (OnSetCursor(reinterpret_cast<HWND>(wordParam), longParam))
        return TRUE;
    return DefWindowProcA(pane, WM_SETCURSOR, wordParam, longParam);
}

void OnDestroy(HWND window)
{
    StopTimers();
    KillTimer(window, kSaveTimer);
    if (window == V.window)
        Forget();
}

LRESULT CALLBACK ViewerProc(HWND window, UINT message, WPARAM wordParam, LPARAM longParam)
{
    switch (message) {
    case WM_NCCREATE: return OnNcCreate(window, wordParam, longParam);
    case kViewerNews: OnNews(static_cast<unsigned>(wordParam)); return 0;
    case kViewerSaved: OnSaved(); return 0;
    case WM_TIMER: OnTimer(wordParam); return 0;
    case WM_KEYDOWN: return OnKeyDown(wordParam) ? 0 : DefWindowProcA(window, message, wordParam, longParam);
    case WM_SYSKEYDOWN: OnSysKeyDown(wordParam); return DefWindowProcA(window, message, wordParam, longParam);
    case WM_CHAR: OnChar(wordParam); return 0;
    case WM_LBUTTONDOWN:        // on the status line
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN: OnOtherButtonDown(message); return 0;
    case WM_CONTEXTMENU: OnContextMenu(longParam); return 0;
    case WM_MOUSEWHEEL: OnMouseWheel(wordParam, longParam, false); return 0;
    case WM_MOUSEHWHEEL: OnMouseWheel(wordParam, longParam, true); return 0;
    case WM_SIZE: OnSize(window, wordParam); return 0;
    case WM_DPICHANGED: OnDpiChanged(wordParam, longParam); return 0;
    case WM_ERASEBKGND: return 1;       // the pane and the status line cover every pixel
    case WM_DESTROY: OnDestroy(window); return 0;
    default: return DefWindowProcA(window, message, wordParam, longParam);
    }
}

// The picture's pane: painting, scrolling and dragging are its own; keys,
// the menu and the wheel are the viewer's, wherever the focus is.
LRESULT CALLBACK PaneProc(HWND window, UINT message, WPARAM wordParam, LPARAM longParam)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: return SendMessageA(GetParent(window), message, wordParam, longParam);
    case WM_LBUTTONDOWN: OnLeftButtonDown(longParam); return 0;
    case WM_MOUSEMOVE: OnMouseMove(longParam); return 0;
    case WM_LBUTTONUP: OnLeftButtonUp(); return 0;
    case WM_CAPTURECHANGED: OnCaptureChanged(); return 0;
    case WM_SETCURSOR: return OnPaneCursor(window, wordParam, longParam);
    case WM_HSCROLL: OnScroll(SB_HORZ, wordParam); return 0;
    case WM_VSCROLL: OnScroll(SB_VERT, wordParam); return 0;
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN: OnOtherButtonDown(message); return 0;
    case WM_SIZE: OnPaneSize(window); return 0;
    case WM_PAINT: OnPaint(window); return 0;
    case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wordParam)); return 0;
    case WM_ERASEBKGND: return 1;       // the paint covers every pixel
    default: return DefWindowProcA(window, message, wordParam, longParam);
    }
}

// The classes are registered with the first viewer, not at the start.
bool RegisterViewerClass()
{
    static bool registered = false;
    if (registered)
        return true;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ViewerProc;
    windowClass.hInstance = ModuleInstance;
    windowClass.hIcon = LoadIconA(ModuleInstance, MAKEINTRESOURCEA(IDI_KORVAL));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kViewerClass;
    if (RegisterClassA(&windowClass) == 0)
        return false;
    WNDCLASSA paneClass = {};
    paneClass.style = CS_HREDRAW | CS_VREDRAW;     // the picture is centred
    paneClass.lpfnWndProc = PaneProc;
    paneClass.hInstance = ModuleInstance;
    paneClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    paneClass.lpszClassName = kPaneClass;
    if (RegisterClassA(&paneClass) == 0) {
        UnregisterClassA(kViewerClass, ModuleInstance);
        return false;
    }
    registered = true;
    return true;
}

} // namespace

void OpenViewer(HWND owner, int listId)
{
    if (V.window != nullptr) {
        SetForegroundWindow(V.window);
        return;
    }
    if (GetDlgItem(owner, listId) == nullptr || !RegisterViewerClass())
        return;
    V.owner = owner;
    V.listId = listId;
    V.frame.reset(new (std::nothrow) ViewerFrame);
    if (V.frame == nullptr)
        return;
    V.window = CreateWindowExA(0, kViewerClass, "", kViewerStyle, CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, owner,
                               nullptr, ModuleInstance, nullptr);
    if (V.window == nullptr) {
        V.frame.reset();
        return;
    }
    V.dpi = WindowDpi(V.window);
    // Without scroll bars until the picture overhangs (PlaceScrollBars).
    V.pane = CreateWindowExA(0, kPaneClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, V.window,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPaneId)), ModuleInstance, nullptr);
    V.status = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_SUNKEN, 0, 0, 0, 0,
                               V.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusId)), ModuleInstance,
                               nullptr);
    if (V.pane == nullptr || V.status == nullptr) {
        DestroyWindow(V.window);    // and Forget
        return;
    }
    MakeFont();
    PlaceChildren();
    // Hidden until the row's size is known (Settle), so it opens at its size.
    Load();
}

void ViewerFollowList(HWND owner)
{
    if (V.window != nullptr && owner == V.owner)
        Load();
}

HWND ViewerWindow()
{
    return V.window;
}

void PaintViewerPicture(HDC dc, const RECT& area, const ViewerFrame* frame, const RECT& picture, const wchar_t* line)
{
    const bool drawn = frame != nullptr && frame->width > 0 && frame->height > 0 && frame->indices;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    if (drawn)
        ExcludeClipRect(dc, picture.left, picture.top, picture.right, picture.bottom);
    FillRect(dc, &area, GetSysColorBrush(COLOR_APPWORKSPACE));
    RestoreDC(dc, saved);

    if (drawn) {
        // A zoomed picture may overhang the area: only the area shows it.
        const int savedClip = SaveDC(dc);
        IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
        DrawIndexedPicture(dc, picture, frame->indices.get(), frame->width, frame->height, frame->palette);
        RestoreDC(dc, savedClip);
        return;
    }
    if (line == nullptr || line[0] == L'\0')
        return;
    RECT text = area;
    const int previousBackground = SetBkMode(dc, TRANSPARENT);
    const COLORREF previousColour = SetTextColor(dc, GetSysColor(COLOR_WINDOW));
    HGDIOBJ previousFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextW(dc, line, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, previousFont);
    SetTextColor(dc, previousColour);
    SetBkMode(dc, previousBackground);
}
