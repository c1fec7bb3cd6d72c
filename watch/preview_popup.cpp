#include "watch/preview_popup.h"

#include "anim/flc_facts.h"
#include "base/display_dpi.h"
#include "base/dpi.h"
#include "base/instance.h"
#include "base/text.h"
#include "res/resource.h"
#include "view/animation_list.h"
#include "view/list_order.h"
#include "watch/picture_drawing.h"
#include "watch/preview_player.h"
#include "watch/reading_thread.h"

#include <memory>
#include <new>

namespace {

constexpr const char* kPreviewClass = "KorvalPreview";
constexpr DWORD kPopupStyle = WS_POPUP | WS_BORDER;
constexpr DWORD kPopupExtendedStyle = WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
// The reading thread's news, with the generation of the preview it belongs to.
constexpr UINT kPreviewNews = WM_APP + 40;
// Posted once the first picture is on the screen: the next preview's thread
// is made ready now, off the way to this one's picture.
constexpr UINT kPrepareNext = WM_APP + 41;
constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT_PTR kStartTimer = 2;     // another try at starting the reading
constexpr UINT kStartRetryMilliseconds = 250;
constexpr std::size_t kLineSize = 160;
constexpr const char* kScaledFace = "Tahoma";

// The one preview there is, shown or being read. Touched only by the
// window's thread; the reading thread reaches the window by posted messages.
struct Preview {
    HWND popup = nullptr;
    HWND list = nullptr;
    int row = -1;
    bool byHover = false;
    RECT rowOnScreen = {};
    unsigned generation = 0;
    char file[kAnimationPathSize] = "";
    std::unique_ptr<PreviewPlayer> player;
    PreviewFacts facts;
    // The picture and line shown. Moving on to another row, the popup keeps
    // the last row's until the new one's are there: no flicker between rows.
    std::unique_ptr<PreviewFrame> frame;
    bool hasFrame = false;      // `frame` holds a picture of this row's reading
    PreviewSize picture = {};   // the size `frame` is drawn at; 0 x 0 for none
    char line[kLineSize] = "";
    bool playing = false;       // the frame timer runs
    PreviewPace pace;
    bool placed = false;        // the popup stands beside this row's picture or line
    int dpi = kBaseDpi;         // the popup's: its monitor's
};

Preview Current;
int PreviewDpi = kBaseDpi;      // the main window's; the popup's where its monitor's cannot be told
WNDPROC StandardListProc;
LPARAM LastPointer = -1;

// At 96 DPI the stock font, as the status bar's; elsewhere a scalable face in
// the same height scaled.
HFONT CreateLineFont(int dpi)
{
    if (dpi == kBaseDpi)
        return nullptr;
    return CreateFontA(ScaleToDpi(kPreviewFontHeight, dpi), 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0,
                       VARIABLE_PITCH | FF_SWISS, kScaledFace);
}

HGDIOBJ LineFontOrStock(HFONT font)
{
    return font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(ANSI_VAR_FONT);
}

// The picture's full size at the popup's DPI, before the room shrinks it.
PreviewSize FullPictureSize()
{
    if (!Current.hasFrame)
        return Current.picture;     // the last row's, still shown
    return PreviewPictureSize(Current.facts.info.width, Current.facts.info.height, Current.dpi);
}

// Windows-1252 text in the ANSI code page the window's text is read in; a
// character that code page lacks becomes "x".
void ToAnsi(char (&text)[kLineSize])
{
    WCHAR wide[kLineSize];
    if (MultiByteToWideChar(1252, 0, text, -1, wide, kLineSize) == 0)
        return;
    char ansi[kLineSize];
    // A UTF-8 code page takes every character, and no stand-in for a missing one.
    const char* standIn = GetACP() == CP_UTF8 ? nullptr : "x";
    if (WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, kLineSize, standIn, nullptr) != 0)
        CopyText(text, ansi);
}

void LoadLine(char (&line)[kLineSize], int id)
{
    if (LoadStringA(ModuleInstance, id, line, kLineSize) <= 0)
        line[0] = '\0';
}

// The line the facts so far make; empty while there is nothing to say.
void ComposeLine(char (&line)[kLineSize], const PreviewFacts& facts)
{
    line[0] = '\0';
    if (PreviewAnswerTextId(facts.answer) != 0) {
        LoadLine(line, PreviewAnswerTextId(facts.answer));
    } else if (facts.answer == PreviewAnswer::Playing) {
        FormatFlcFacts(line, facts.info);
        ToAnsi(line);
        if (facts.damagedAt > 0) {
            char format[kLineSize];
            char broken[kLineSize];
            LoadLine(format, IDS_PREVIEW_DAMAGED_AT);
            if (FormatText(broken, format, facts.damagedAt))
                AppendText(line, broken);
        }
    }
}

PreviewSize LineSize(HWND popup, const char* line)
{
    HDC dc = GetDC(popup);
    HFONT font = CreateLineFont(Current.dpi);
    HGDIOBJ previous = SelectObject(dc, LineFontOrStock(font));
    SIZE extent = {};
    GetTextExtentPoint32A(dc, line, static_cast<int>(BoundedLength(line, kLineSize)), &extent);
    SelectObject(dc, previous);
    if (font != nullptr)
        DeleteObject(font);
    ReleaseDC(popup, dc);
    return {extent.cx, extent.cy};
}

// The popup's outer rectangle less its client area.
PreviewSize FrameSize()
{
    RECT outer = {0, 0, 0, 0};
    AdjustWindowRectEx(&outer, kPopupStyle, FALSE, kPopupExtendedStyle);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

HMONITOR RowMonitor()
{
    return MonitorFromRect(&Current.rowOnScreen, MONITOR_DEFAULTTONEAREST);
}

// Sizes the popup for its picture and line and shows it beside its row,
// inside the work area of the row's monitor, never over the row, without
// activating it. Where there is no room at all, it is not shown.
void PlaceAndShow()
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(RowMonitor(), &monitor);
    const RECT& work = monitor.rcWork;
    const RECT& row = Current.rowOnScreen;
    PreviewPlace place = PlacePreview({row.left, row.top, row.right, row.bottom}, FullPictureSize(),
                                      LineSize(Current.popup, Current.line), FrameSize(), Current.dpi,
                                      {work.left, work.top, work.right, work.bottom});
    const PreviewBox& box = place.box;
    if (box.right <= box.left) {
        ShowWindow(Current.popup, SW_HIDE);
        return;
    }
    Current.picture = place.picture;
    SetWindowPos(Current.popup, nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(Current.popup, nullptr, FALSE);
    if (!IsWindowVisible(Current.popup))
        ShowWindow(Current.popup, SW_SHOWNOACTIVATE);
    // The first frame goes on the screen now, not when the queue is empty.
    UpdateWindow(Current.popup);
}

// The next picture from the reading thread, when it is there.
bool TakeFrame()
{
    PreviewFrame* frame = Current.frame.release();
    bool taken = Current.player->TakeFrame(frame);
    Current.frame.reset(frame);
    return taken;
}

void StartFrameTimer()
{
    SetTimer(Current.popup, kFrameTimer, PreviewFrameMilliseconds(Current.facts.info.delayMicroseconds), nullptr);
    Current.playing = true;
}

void InvalidatePicture()
{
    PreviewLayout layout = PreviewLayoutAt(Current.picture, {0, 0}, Current.dpi);
    RECT picture = {layout.picture.left, layout.picture.top, layout.picture.right, layout.picture.bottom};
    InvalidateRect(Current.popup, &picture, FALSE);
}

// The reading thread has news for the preview of `generation`.
void OnNews(unsigned generation)
{
    if (generation != Current.generation || !Current.player)
        return;
    Current.facts = Current.player->Facts();
    bool grown = false;
    if (!Current.hasFrame && TakeFrame()) {
        Current.hasFrame = true;
        grown = true;
    } else if (Current.hasFrame && Current.pace.Late() && TakeFrame()) {
        // The picture whose tick has passed: shown now, the next one a
        // whole delay from now.
        Current.pace.Reset();
        InvalidatePicture();
        StartFrameTimer();
    }
    char line[kLineSize];
    ComposeLine(line, Current.facts);
    // A playing file shows itself with its first frame; until this row has
    // something to show, the popup shows what it showed.
    if (line[0] == '\0' || (Current.facts.answer == PreviewAnswer::Playing && !Current.hasFrame))
        return;
    if (lstrcmpA(line, Current.line) != 0) {
        CopyText(Current.line, line);
        SetWindowTextA(Current.popup, Current.line);
        grown = true;
    }
    if (grown || !Current.placed) {
        if (!Current.hasFrame)
            Current.picture = {0, 0};
        PlaceAndShow();
        Current.placed = true;
        PostMessageA(Current.popup, kPrepareNext, 0, 0);
    }
    // A still picture is shown once: no timer, and its reading has ended.
    if (Current.facts.still) {
        KillTimer(Current.popup, kFrameTimer);
        Current.playing = false;
    } else if (Current.hasFrame && !Current.playing) {
        StartFrameTimer();
    }
}

void OnFrameTimer()
{
    if (!Current.player)
        return;
    if (Current.pace.Tick(TakeFrame()))
        InvalidatePicture();
}

void Paint(HWND popup, HDC dc)
{
    RECT client;
    GetClientRect(popup, &client);
    const bool picture = Current.picture.width > 0 && Current.frame;
    PaintPreview(dc, client, picture ? Current.frame.get() : nullptr, Current.picture, Current.line, Current.dpi);
}

void OnPaint(HWND popup)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(popup, &paint);
    Paint(popup, dc);
    EndPaint(popup, &paint);
}

// The reading of the row before goes; what it showed stays until the next
// row's picture or line is there.
void StopReading()
{
    Current.player.reset();
    Current.facts = PreviewFacts();
    Current.hasFrame = false;
    Current.playing = false;
    Current.pace.Reset();
    Current.placed = false;
}

// Everything of the shown preview goes: its reading, its pictures, its window.
void Forget()
{
    StopReading();
    Current.frame.reset();
    Current.picture = {0, 0};
    Current.line[0] = '\0';
    Current.file[0] = '\0';
    Current.row = -1;
    Current.list = nullptr;
}

// Starts reading the preview's file. While too many readings left behind on
// a medium that hangs still wait, the preview waits too and tries again.
void StartReading()
{
    if (Current.popup == nullptr || Current.player)
        return;
    if (!PreviewPlayer::HasRoom()) {
        if (SetTimer(Current.popup, kStartTimer, kStartRetryMilliseconds, nullptr) == 0)
            HidePreview();
        return;
    }
    KillTimer(Current.popup, kStartTimer);
    Current.player.reset(new (std::nothrow) PreviewPlayer(Current.file, Current.popup, kPreviewNews, ++Current.generation));
    if (Current.player == nullptr || !Current.player->Started())
        HidePreview();
}

// Moved to a monitor of another DPI, or that monitor's scale changed: laid
// out anew for it, beside its row.
void OnDpiChanged(int dpi)
{
    if (dpi <= 0 || dpi == Current.dpi)
        return;
    Current.dpi = dpi;
    if (IsWindowVisible(Current.popup))
        PlaceAndShow();
}

LRESULT CALLBACK PreviewProc(HWND popup, UINT message, WPARAM wordParam, LPARAM longParam)
{
    switch (message) {
    case WM_NCHITTEST:
        return HTTRANSPARENT;   // the pointer goes on to the list under it, as with a tooltip
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        HidePreview();
        return 0;
    case kPreviewNews:
        OnNews(static_cast<unsigned>(wordParam));
        return 0;
    case kPrepareNext:
        PrepareReadingThread();
        return 0;
    case WM_TIMER:
        if (wordParam == kFrameTimer)
            OnFrameTimer();
        else if (wordParam == kStartTimer)
            StartReading();
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wordParam));
        return 0;
    case WM_PAINT:
        OnPaint(popup);
        return 0;
    case WM_PRINTCLIENT:
        Paint(popup, reinterpret_cast<HDC>(wordParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;       // the paint covers every pixel
    case WM_DESTROY:
        // Also when the owner goes first and takes the popup with it.
        if (popup == Current.popup) {
            Current.popup = nullptr;
            Forget();
        }
        return 0;
    default:
        return DefWindowProcA(popup, message, wordParam, longParam);
    }
}

// The class is registered with the first preview, not at the start.
bool RegisterPreviewClass()
{
    static bool registered = false;
    if (registered)
        return true;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = PreviewProc;
    windowClass.hInstance = ModuleInstance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kPreviewClass;
    registered = RegisterClassA(&windowClass) != 0;
    return registered;
}

// The row's place on the screen, cut to the list's client area (a row
// scrolled partly out of sight).
RECT RowOnScreen(HWND list, int row)
{
    RECT rect = {};
    RECT client;
    GetClientRect(list, &client);
    if (SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect)) == LB_ERR
        || !IntersectRect(&rect, &rect, &client))
        rect = client;
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Starts the preview of `row`: the popup is made (hidden) at once, and shows
// itself when the reading thread has the first frame or the answer.
void Show(HWND list, int row, bool byHover)
{
    if (Current.popup != nullptr && Current.list == list && Current.row == row) {
        Current.byHover = byHover;
        return;
    }
    HWND window = GetParent(list);
    const char* path = SelectedAnimationPath(window, GetDlgCtrlID(list), row);
    if (path[0] == '\0' || !RegisterPreviewClass()) {
        HidePreview();
        return;
    }
    char file[kAnimationPathSize];
    if (!CopyText(file, path)) {
        HidePreview();
        return;
    }
    if (Current.popup == nullptr) {
        Current.popup = CreateWindowExA(kPopupExtendedStyle, kPreviewClass, "", kPopupStyle, 0, 0, 0, 0, window,
                                        nullptr, ModuleInstance, nullptr);
        if (Current.popup == nullptr)
            return;
        Forget();
    } else {
        // Another row: the old picture and line stay until the new ones are there.
        KillTimer(Current.popup, kFrameTimer);
        KillTimer(Current.popup, kStartTimer);
        StopReading();
    }
    Current.list = list;
    Current.row = row;
    Current.byHover = byHover;
    Current.rowOnScreen = RowOnScreen(list, row);
    const int monitorDpi = MonitorDpi(RowMonitor());
    Current.dpi = monitorDpi > 0 ? monitorDpi : PreviewDpi;
    CopyText(Current.file, file);
    if (!Current.frame)
        Current.frame.reset(new (std::nothrow) PreviewFrame);
    if (Current.frame == nullptr) {
        HidePreview();
        return;
    }
    // Where the popup shown stands on the new row, it moves off it at once.
    RECT shown;
    RECT overlap;
    if (IsWindowVisible(Current.popup) && GetWindowRect(Current.popup, &shown)
        && IntersectRect(&overlap, &shown, &Current.rowOnScreen))
        PlaceAndShow();
    StartReading();
}

// The row under a point of the list's client area; -1 below the last row.
int RowAt(HWND list, LPARAM point)
{
    LRESULT found = SendMessageA(list, LB_ITEMFROMPOINT, 0, point);
    if (found == LB_ERR || HIWORD(found) != 0)
        return -1;
    return LOWORD(found);
}

// Only while KORVAL is in front, as the platform's tooltips: never over
// another program, a companion KORVAL started among them.
bool InFront(HWND list)
{
    return GetForegroundWindow() == GetAncestor(list, GA_ROOT);
}

// Every move asks again for the hover and the leave notices. A preview shown
// by the pointer follows it from row to row.
void OnListMouseMove(HWND list, LPARAM point)
{
    if (point == LastPointer)
        return;     // the platform repeats a move when a window appears
    LastPointer = point;
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof track;
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = list;
    track.dwHoverTime = HOVER_DEFAULT;
    TrackMouseEvent(&track);
    if (Current.popup == nullptr || !Current.byHover || Current.list != list || !InFront(list))
        return;
    int row = RowAt(list, point);
    if (row < 0)
        HidePreview();
    else
        Show(list, row, true);
}

void OnListHover(HWND list, LPARAM point)
{
    if (!InFront(list))
        return;
    int row = RowAt(list, point);
    if (row >= 0)
        Show(list, row, true);
}

LRESULT CALLBACK PreviewListProc(HWND list, UINT message, WPARAM wordParam, LPARAM longParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
        OnListMouseMove(list, longParam);
        break;
    case WM_MOUSEHOVER:
        OnListHover(list, longParam);
        break;
    case WM_MOUSELEAVE:
        LastPointer = -1;
        HidePreview();
        break;
    case WM_KEYDOWN:
        if (wordParam != VK_F3)
            HidePreview();
        break;
    case WM_SYSKEYDOWN:     // Alt, F10: the menu, where "Vorschau" turns it off
        if (wordParam != VK_F3)
            HideHoverPreview();
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_DESTROY:
        HidePreview();
        break;
    default:
        break;
    }
    return CallWindowProcA(StandardListProc, list, message, wordParam, longParam);
}

} // namespace

void WatchListForPreview(HWND list, int dpi)
{
    PreviewDpi = dpi;
    if (list == nullptr)
        return;
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PreviewListProc)));
    if (previous != PreviewListProc)
        StandardListProc = previous;
}

void SetPreviewDpi(int dpi)
{
    if (dpi != PreviewDpi)
        HidePreview();
    PreviewDpi = dpi;
}

void TogglePreview(HWND window, int listId)
{
    // F3 keeps a preview the pointer showed: it stays where the pointer goes.
    if (Current.popup != nullptr && Current.byHover) {
        Current.byHover = false;
        return;
    }
    if (Current.popup != nullptr) {
        HidePreview();
        return;
    }
    HWND list = GetDlgItem(window, listId);
    if (list == nullptr)
        return;
    int row = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
    if (row >= 0)
        Show(list, row, false);
}

void HidePreview()
{
    if (Current.popup == nullptr)
        return;
    HWND popup = Current.popup;
    Current.popup = nullptr;
    Forget();
    DestroyWindow(popup);
    PrepareReadingThread();     // for the next preview, if this one's took it
}

void HideHoverPreview()
{
    if (Current.byHover)
        HidePreview();
}

HWND PreviewWindow()
{
    return Current.popup;
}

void PaintPreview(HDC dc, const RECT& area, const PreviewFrame* frame, PreviewSize shown, const char* line, int dpi)
{
    PreviewLayout layout = PreviewLayoutAt(frame != nullptr ? shown : PreviewSize{0, 0}, {0, 0}, dpi);
    RECT picture = {area.left + layout.picture.left, area.top + layout.picture.top, area.left + layout.picture.right,
                    area.top + layout.picture.bottom};
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, picture.left, picture.top, picture.right, picture.bottom);
    FillRect(dc, &area, GetSysColorBrush(COLOR_INFOBK));
    RestoreDC(dc, saved);

    if (frame != nullptr && frame->width > 0 && frame->height > 0) {
        const RECT to = {picture.left, picture.top, picture.left + shown.width, picture.top + shown.height};
        DrawIndexedPicture(dc, to, frame->indices, frame->width, frame->height, frame->palette);
    }

    RECT text = {area.left + layout.textX, area.top + layout.textY, area.right, area.bottom};
    if (line[0] == '\0' || !RectVisible(dc, &text))
        return;
    HFONT font = CreateLineFont(dpi);
    HGDIOBJ previousFont = SelectObject(dc, LineFontOrStock(font));
    const int previousBackground = SetBkMode(dc, TRANSPARENT);
    const COLORREF previousColour = SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    TextOutA(dc, text.left, text.top, line, static_cast<int>(BoundedLength(line, kLineSize)));
    SetTextColor(dc, previousColour);
    SetBkMode(dc, previousBackground);
    SelectObject(dc, previousFont);
    if (font != nullptr)
        DeleteObject(font);
}
