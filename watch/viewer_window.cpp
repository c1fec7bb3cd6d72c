#include "watch/viewer_window.h"

#include "base/display_dpi.h"
#include "base/dpi.h"
#include "base/instance.h"
#include "base/text.h"
#include "res/resource.h"
#include "view/animation_list.h"
#include "view/list_order.h"
#include "watch/picture_drawing.h"
#include "watch/reading_thread.h"
#include "watch/viewer_geometry.h"
#include "watch/viewer_save.h"
#include "watch/viewer_text.h"

#include <memory>
#include <new>

namespace {

constexpr const char* kViewerClass = "KorvalViewer";
// The picture's pane above the status line: its scroll bars are the picture's only.
constexpr const char* kPaneClass = "KorvalViewerPane";
constexpr DWORD kViewerStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
// The reading thread's news, with the generation of the file it belongs to.
constexpr UINT kViewerNews = WM_APP + 41;
constexpr UINT kViewerSaved = WM_APP + 42;  // the save on its thread has ended
constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT_PTR kStartTimer = 2;         // another try at starting the reading
constexpr UINT_PTR kMoveOnTimer = 3;        // "Alle abspielen" past a file that does not play
constexpr UINT_PTR kSettleTimer = 4;        // a row's size and picture have not come: show what there is
constexpr UINT_PTR kSaveTimer = 5;          // another try at starting a save
constexpr UINT kStartRetryMilliseconds = 250;
constexpr UINT kMoveOnMilliseconds = 2000;
// A file's header is read at once; a medium that hangs keeps the window back
// no longer than this.
constexpr UINT kSettleMilliseconds = 400;
constexpr int kEmptyWidth = 320;            // the window for no picture, at 96 DPI: the preview's box
constexpr int kEmptyHeight = 240;
constexpr int kScrollLine = 20;             // pixels at 96 DPI per arrow of a scroll bar
constexpr int kWheelLines = 3;
constexpr int kStatusHeight = 20;           // at 96 DPI, as the main window's status bar
constexpr int kStatusFontHeight = 12;
constexpr int kMinimumWidth = 320;          // room for the status line
constexpr int kStatusId = 1;
constexpr int kPaneId = 2;
constexpr std::size_t kTitleSize = 128;
constexpr const char* kScaledFace = "Tahoma";

// The one viewer there is. Touched only by the window's thread; the reading
// thread reaches the window by posted messages.
struct Viewer {
    HWND window = nullptr;
    HWND pane = nullptr;        // the picture, with the scroll bars
    HWND status = nullptr;
    HWND owner = nullptr;
    int listId = 0;
    int dpi = kBaseDpi;
    HFONT font = nullptr;
    char path[kAnimationPathSize] = "";
    std::unique_ptr<ViewerPlayer> player;
    unsigned generation = 0;
    PreviewFacts facts;
    int lastFrame = 0;
    std::unique_ptr<ViewerFrame> frame;     // the picture shown, once hasFrame
    bool hasFrame = false;
    int asked = 0;              // the frame asked for and not shown yet; 0 for none
    bool showAtOnce = false;    // show it when it comes: a step, or its tick has passed
    bool askedLast = false;     // it stands for the last frame (Ctrl+End, a step back from the first)
    bool sized = false;         // the window is sized to this file's picture
    // The user sized the window: it keeps that size from row to row. Until
    // then (and while it is not maximised) it follows its picture's size.
    bool userSized = false;
    bool resizing = false;      // the viewer's own sizing, not the user's
    UINT sizeType = SIZE_RESTORED;
    bool paused = false;
    ViewerSpeed speed = ViewerSpeed::Normal;
    int zoom = 1;
    bool tallPixels = false;
    bool playingAll = false;
    bool swallowChar = false;   // the key that ended "Alle abspielen" does nothing else
    bool shown = false;         // shown once its first row's size was known, or on time-out
    // A row is being read: the window keeps what it shows (the last row's
    // picture in `held`, its status line) until the row's size and first
    // picture have come, and then changes once.
    bool settling = false;
    bool holding = false;
    RECT held = {};
    PreviewFacts heldFacts;
    int heldFrame = 0;
    int heldPercent = 0;
    ViewerScroll scroll = {0, 0};   // of a picture larger than its area
    bool placingBars = false;
    bool dragging = false;
    POINT dragFrom = {};
    ViewerScroll dragScroll = {0, 0};
    // The save running, or waiting for room among the reading threads
    // (`saveWaiting`, with what it is to write).
    std::unique_ptr<SaveJob> save;
    bool saveWaiting = false;
    char savePath[kAnimationPathSize] = "";
    wchar_t saveTarget[260] = L"";
    SaveKind saveKind = SaveKind::Gif;
    int saveFrame = 1;
};

Viewer V;

int StatusHeight()
{
    return ScaleToDpi(kStatusHeight, V.dpi);
}

bool Playable()
{
    return V.facts.answer == PreviewAnswer::Playing && V.lastFrame > 0;
}

ViewerSize ClientSize(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

// The pane's client area, within its scroll bars.
ViewerSize PictureArea()
{
    return ClientSize(V.pane);
}

ViewerSize BaseSize()
{
    return ViewerBaseSize(V.facts.info.width, V.facts.info.height, V.tallPixels, V.dpi);
}

ViewerSize ShownSize(ViewerSize area)
{
    return ViewerShownSize(BaseSize(), V.zoom, area);
}

RECT PictureRect()
{
    ViewerSize area = PictureArea();
    ViewerBox box = ViewerPlacedBox(ShownSize(area), area, V.scroll);
    return {box.left, box.top, box.right, box.bottom};
}

// The picture is larger than its area on at least one side.
bool Pannable()
{
    if (!V.hasFrame)
        return false;
    ViewerSize area = PictureArea();
    ViewerSize shown = ShownSize(area);
    return shown.width > area.width || shown.height > area.height;
}

int ShownPercent()
{
    if (V.zoom != kViewerFit)
        return ViewerZoomPercent(V.zoom);
    return ViewerShownPercent(BaseSize(), ViewerShownSize(BaseSize(), V.zoom, PictureArea()));
}

// The line that says why nothing plays, from the preview's texts.
int AnswerTextId(const PreviewFacts& facts)
{
    switch (facts.answer) {
    case PreviewAnswer::NotFound: return IDS_PREVIEW_NOT_FOUND;
    case PreviewAnswer::NotAFile: return IDS_PREVIEW_NOT_A_FILE;
    case PreviewAnswer::NotFlc: return IDS_PREVIEW_NOT_FLC;
    case PreviewAnswer::TooLarge: return IDS_PREVIEW_TOO_LARGE;
    case PreviewAnswer::NoMemory: return IDS_PREVIEW_NO_MEMORY;
    case PreviewAnswer::Damaged: return IDS_PREVIEW_DAMAGED;
    default: return 0;
    }
}

int AnswerTextId()
{
    return AnswerTextId(V.facts);
}

bool Saving()
{
    return V.save != nullptr || V.saveWaiting;
}

void StatusLine(wchar_t (&line)[kViewerStatusSize])
{
    line[0] = L'\0';
    if (Saving()) {
        if (LoadStringW(ModuleInstance, IDS_VIEWER_SAVING, line, kViewerStatusSize) <= 0)
            line[0] = L'\0';
        return;
    }
    // While a row is read, the last row's line stays (with the commands'
    // changes); nothing before the window was first shown.
    const bool held = V.settling && V.shown;
    if (V.settling && !V.shown)
        return;
    const PreviewFacts& facts = held ? V.heldFacts : V.facts;
    if (AnswerTextId(facts) != 0) {
        if (LoadStringW(ModuleInstance, AnswerTextId(facts), line, kViewerStatusSize) <= 0)
            line[0] = L'\0';
        return;
    }
    if (facts.answer == PreviewAnswer::Pending && V.path[0] != '\0') {
        if (LoadStringW(ModuleInstance, IDS_VIEWER_READING, line, kViewerStatusSize) <= 0)
            line[0] = L'\0';
        return;
    }
    if (facts.answer != PreviewAnswer::Playing)
        return;
    // The damage's words come from the string table; the line is Windows-1252.
    wchar_t wideFormat[64] = L"";
    LoadStringW(ModuleInstance, IDS_PREVIEW_DAMAGED_AT, wideFormat, 64);
    char format[64] = "";
    WideCharToMultiByte(1252, 0, wideFormat, -1, format, sizeof format, nullptr, nullptr);
    ViewerStatus status;
    status.info = facts.info;
    status.frame = held ? V.heldFrame : (V.hasFrame ? V.frame->number : 0);
    status.percent = held ? V.heldPercent : ShownPercent();
    status.tallPixels = V.tallPixels && ViewerAspectApplies(facts.info.width, facts.info.height);
    status.paused = V.paused;
    status.speed = V.speed;
    status.damagedAt = facts.damagedAt;
    status.playingAll = V.playingAll;
    char text[kViewerStatusSize];
    FormatViewerStatus(text, status, format);
    if (MultiByteToWideChar(1252, 0, text, -1, line, kViewerStatusSize) == 0)
        line[0] = L'\0';
}

// The status line is a static control's text, which a screen reader reads.
void UpdateStatus()
{
    wchar_t line[kViewerStatusSize];
    StatusLine(line);
    wchar_t shown[kViewerStatusSize] = L"";
    GetWindowTextW(V.status, shown, kViewerStatusSize);
    if (lstrcmpW(line, shown) != 0)
        SetWindowTextW(V.status, line);
}

void InvalidatePicture()
{
    InvalidateRect(V.pane, nullptr, FALSE);
}

// The title: the row's title and its file, "Springender Ball – BALL.FLC".
void SetTitle(const char* title, const char* path)
{
    wchar_t text[kTitleSize * 2 + kAnimationPathSize] = L"";
    int used = MultiByteToWideChar(CP_ACP, 0, title, -1, text, kTitleSize);
    used = used > 0 ? used - 1 : 0;
    if (used > 0)
        lstrcpynW(text + used, L" \x2013 ", 4);
    used = lstrlenW(text);
    MultiByteToWideChar(CP_ACP, 0, ViewerFileName(path), -1, text + used, kAnimationPathSize);
    SetWindowTextW(V.window, text);
}

void MakeFont()
{
    if (V.font != nullptr)
        DeleteObject(V.font);
    V.font = nullptr;
    if (V.dpi != kBaseDpi)
        V.font = CreateFontA(ScaleToDpi(kStatusFontHeight, V.dpi), 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0,
                             VARIABLE_PITCH | FF_SWISS, kScaledFace);
    HGDIOBJ font = V.font != nullptr ? static_cast<HGDIOBJ>(V.font) : GetStockObject(ANSI_VAR_FONT);
    SendMessageA(V.status, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

// The status line across the foot, the pane above it.
void PlaceChildren()
{
    ViewerSize client = ClientSize(V.window);
    const int paneHeight = client.height > StatusHeight() ? client.height - StatusHeight() : 0;
    SetWindowPos(V.pane, nullptr, 0, 0, client.width, paneHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(V.status, nullptr, 0, paneHeight, client.width, StatusHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetScrollBar(int bar, int shown, int area, int position)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    // An empty range hides the bar.
    info.nMax = shown > area ? shown - 1 : 0;
    info.nPage = shown > area ? static_cast<UINT>(area) : 0;
    info.nPos = position;
    SetScrollInfo(V.pane, bar, &info, TRUE);
}

// Scroll bars only while the picture is larger than its area. A bar that
// comes or goes changes the area, so once more until it stays.
void PlaceScrollBars()
{
    if (V.placingBars)
        return;
    V.placingBars = true;
    for (int pass = 0; pass < 3; ++pass) {
        ViewerSize area = PictureArea();
        ViewerSize shown = ShownSize(area);
        if (!V.hasFrame && !V.holding)
            shown = {0, 0};
        V.scroll = {ViewerClampScroll(V.scroll.x, shown.width, area.width),
                    ViewerClampScroll(V.scroll.y, shown.height, area.height)};
        SetScrollBar(SB_HORZ, shown.width, area.width, V.scroll.x);
        SetScrollBar(SB_VERT, shown.height, area.height, V.scroll.y);
        ViewerSize now = PictureArea();
        if (now.width == area.width && now.height == area.height)
            break;
    }
    V.placingBars = false;
}

// The picture's size or the window's changed.
void Relayout()
{
    PlaceScrollBars();
    InvalidatePicture();
}

void ScrollTo(ViewerScroll to)
{
    ViewerSize area = PictureArea();
    ViewerSize shown = ShownSize(area);
    to = {ViewerClampScroll(to.x, shown.width, area.width), ViewerClampScroll(to.y, shown.height, area.height)};
    if (to.x == V.scroll.x && to.y == V.scroll.y)
        return;
    V.scroll = to;
    SetScrollPos(V.pane, SB_HORZ, to.x, TRUE);
    SetScrollPos(V.pane, SB_VERT, to.y, TRUE);
    InvalidatePicture();
}

int ScrollLine()
{
    return ScaleToDpi(kScrollLine, V.dpi);
}

void OnScroll(int bar, WPARAM wordParam)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(V.pane, bar, &info);
    int to = bar == SB_HORZ ? V.scroll.x : V.scroll.y;
    switch (LOWORD(wordParam)) {
    case SB_LINEUP: to -= ScrollLine(); break;
    case SB_LINEDOWN: to += ScrollLine(); break;
    case SB_PAGEUP: to -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: to += static_cast<int>(info.nPage); break;
    case SB_TOP: to = 0; break;
    case SB_BOTTOM: to = info.nMax; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: to = info.nTrackPos; break;
    default: return;
    }
    ScrollTo(bar == SB_HORZ ? ViewerScroll{to, V.scroll.y} : ViewerScroll{V.scroll.x, to});
}

// Neither sized by the user nor maximised: the window takes its picture's size.
bool FollowsPicture()
{
    return !V.userSized && !IsZoomed(V.window) && !IsIconic(V.window);
}

// The work area of `window`'s monitor, and the window frame's width and height.
struct WorkRoom {
    RECT work;
    ViewerSize frame;
    ViewerSize Available() const
    {
        return {work.right - work.left - frame.width, work.bottom - work.top - frame.height};
    }
};

WorkRoom RoomOf(HWND window)
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectForDpi(frame, kViewerStyle, false, 0, V.dpi);
    return {monitor.rcWork, {frame.right - frame.left, frame.bottom - frame.top}};
}

void PlaceWindow(int left, int top, int width, int height)
{
    V.resizing = true;
    SetWindowPos(V.window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    V.resizing = false;
}

// A row's picture. A window that follows it takes the picture at 100 % (or
// the fit, where the work area of the main window's monitor is smaller),
// centred there. A window the user sized or maximised keeps its size, and
// shows the picture at 100 % where it fits, else (or when the user chose
// it) fitted.
void SizeToPicture()
{
    ViewerSize base = BaseSize();
    if (!FollowsPicture()) {
        ViewerSize client = ClientSize(V.window);
        if (V.zoom != kViewerFit && (base.width > client.width || base.height > client.height - StatusHeight()))
            V.zoom = kViewerFit;
        else if (V.zoom != kViewerFit)
            V.zoom = 1;
        V.scroll = {0, 0};
        Relayout();
        return;
    }
    const WorkRoom room = RoomOf(V.owner);
    if (base.width <= 0 || base.height <= 0)
        base = {ScaleToDpi(kEmptyWidth, V.dpi), ScaleToDpi(kEmptyHeight, V.dpi)};
    ViewerStart start = ViewerStartLayout(base, StatusHeight(), ScaleToDpi(kMinimumWidth, V.dpi), room.Available());
    V.zoom = start.zoom;
    V.scroll = {0, 0};
    const RECT& work = room.work;
    const int width = start.client.width + room.frame.width;
    const int height = start.client.height + room.frame.height;
    PlaceWindow(work.left + (work.right - work.left - width) / 2, work.top + (work.bottom - work.top - height) / 2,
                width, height);
    Relayout();     // also when the size stayed
}

// A window that follows its picture grows and shrinks with the zoom (and the
// 6:5 pixels) within the work area of its monitor, its middle kept; beyond
// that the picture scrolls.
void FollowZoom()
{
    if (!FollowsPicture() || !V.hasFrame)
        return;
    const WorkRoom room = RoomOf(V.window);
    const ViewerSize available = room.Available();
    const ViewerSize shown = ViewerShownSize(BaseSize(), V.zoom, {available.width, available.height - StatusHeight()});
    const ViewerSize client = ViewerClientFor(shown, StatusHeight(), ScaleToDpi(kMinimumWidth, V.dpi), available);
    RECT now;
    GetWindowRect(V.window, &now);
    const ViewerBox placed =
        ViewerResizedPlace({now.left, now.top, now.right, now.bottom},
                           {client.width + room.frame.width, client.height + room.frame.height},
                           {room.work.left, room.work.top, room.work.right, room.work.bottom});
    PlaceWindow(placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top);
}

void StopTimers()
{
    KillTimer(V.window, kFrameTimer);
    KillTimer(V.window, kStartTimer);
    KillTimer(V.window, kMoveOnTimer);
    KillTimer(V.window, kSettleTimer);
}

bool Running()
{
    return Playable() && !V.paused && (V.lastFrame > 1 || V.playingAll);
}

// The frame timer runs while the file plays.
void UpdateTimer()
{
    if (Running() && V.hasFrame)
        SetTimer(V.window, kFrameTimer, ViewerFrameMilliseconds(V.facts.info.delayMicroseconds, V.speed), nullptr);
    else
        KillTimer(V.window, kFrameTimer);
}

void Ask(int number, bool atOnce, bool last = false)
{
    V.asked = number;
    V.showAtOnce = atOnce;
    V.askedLast = last;
    V.player->Ask(number);
}

int FrameAfter(int number)
{
    return number >= V.lastFrame ? 1 : number + 1;
}

int FrameBefore(int number)
{
    return number <= 1 ? V.lastFrame : number - 1;
}

// The frame asked for, when the reading thread has it.
bool TakeAsked()
{
    if (!V.player || V.asked == 0)
        return false;
    ViewerFrame* frame = V.frame.release();
    bool taken = V.player->TakeFrame(frame);
    V.frame.reset(frame);
    if (!taken)
        return false;
    V.hasFrame = true;
    V.asked = 0;
    V.showAtOnce = false;
    InvalidatePicture();
    UpdateStatus();
    // While playing, the next one is decoded while this one shows.
    if (Running() && !(V.playingAll && V.frame->number >= V.lastFrame))
        Ask(FrameAfter(V.frame->number), false);
    return true;
}

void Load();

void MoveToNextRow()
{
    HWND list = GetDlgItem(V.owner, V.listId);
    int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    if (count <= 0)
        return;
    int row = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)) + 1;
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(row >= count ? 0 : row), 0);
    // As if the user had moved: the main window updates its status bar and
    // tells the viewer.
    SendMessageA(V.owner, WM_COMMAND, MAKEWPARAM(V.listId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void OnFrameTimer()
{
    if (!V.hasFrame)
        return;
    if (V.playingAll && V.frame->number >= V.lastFrame) {
        MoveToNextRow();
        return;
    }
    if (V.asked == 0)
        Ask(FrameAfter(V.frame->number), true);
    // Not decoded yet: it shows the moment it comes, and no tick is lost.
    else if (!TakeAsked())
        V.showAtOnce = true;
}

// The row's size (and picture) came, or not in time: the window takes its
// size, shows what there is, and is shown itself the first time.
void Settle()
{
    KillTimer(V.window, kSettleTimer);
    V.settling = false;
    V.holding = false;
    if (V.facts.answer == PreviewAnswer::Playing && !V.sized) {
        V.sized = true;
        SizeToPicture();
    } else if (!V.shown) {
        SizeToPicture();
    } else {
        Relayout();
    }
    InvalidatePicture();
    UpdateStatus();
    if (!V.shown) {
        V.shown = true;
        V.resizing = true;
        ShowWindow(V.window, SW_SHOW);
        V.resizing = false;
    }
    RedrawWindow(V.window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// The frame asked for will not come. Past the damage, the good frames go
// round as the preview's do (a step back from the first, or to the last,
// lands on the last good one); "Alle abspielen" moves on after the last good
// one. A frame that can no longer be read (the medium gone) stops the
// playing at the picture shown.
void OnRefused()
{
    const bool past = V.asked > V.lastFrame;
    V.asked = 0;
    if (past && V.playingAll && !V.askedLast) {
        V.showAtOnce = false;
    } else if (past) {
        const int to = V.askedLast ? V.lastFrame : 1;
        if (V.hasFrame && V.frame->number == to)
            V.showAtOnce = false;       // shown already: one good frame only
        else
            Ask(to, V.showAtOnce, V.askedLast);
    } else if (V.playingAll) {
        MoveToNextRow();
        return;
    } else {
        V.showAtOnce = false;
        V.paused = true;
    }
    UpdateTimer();
    UpdateStatus();
}

void OnNews(unsigned generation)
{
    if (generation != V.generation || !V.player)
        return;
    PreviewFacts facts = V.player->Facts();
    V.lastFrame = V.player->LastFrame();
    bool answered = facts.answer != V.facts.answer;
    V.facts = facts;
    if (V.settling) {
        if (V.facts.answer == PreviewAnswer::Pending)
            return;
        // The first picture follows the size at once: both change together.
        if (V.facts.answer == PreviewAnswer::Playing && !TakeAsked())
            return;
        Settle();
        UpdateTimer();
    } else {
        if (V.facts.answer == PreviewAnswer::Playing && !V.sized) {
            V.sized = true;
            SizeToPicture();
        }
        if (V.showAtOnce && TakeAsked())
            UpdateTimer();
    }
    if (answered && V.facts.answer != PreviewAnswer::Playing && V.facts.answer != PreviewAnswer::Pending) {
        V.hasFrame = false;
        InvalidatePicture();
        if (V.playingAll)
            SetTimer(V.window, kMoveOnTimer, kMoveOnMilliseconds, nullptr);
    }
    UpdateStatus();
    if (!V.settling && Playable() && V.asked != 0 && (V.asked > V.lastFrame || V.player->Refused()))
        OnRefused();
}

void StartReading()
{
    KillTimer(V.window, kStartTimer);
    if (!ReadingThreadRoom()) {
        SetTimer(V.window, kStartTimer, kStartRetryMilliseconds, nullptr);
        return;
    }
    V.player.reset(new (std::nothrow) ViewerPlayer(V.path, V.window, kViewerNews, ++V.generation));
    if (V.player && V.player->Started())
        Ask(1, true);
}

// The list's selected row, read anew.
void Load()
{
    StopTimers();
    // The last row's picture stays until this one's comes.
    V.holding = V.shown && V.hasFrame;
    if (V.holding)
        V.held = PictureRect();
    V.heldFacts = V.facts;
    V.heldFrame = V.hasFrame ? V.frame->number : 0;
    V.heldPercent = ShownPercent();
    V.settling = true;
    V.dragging = false;
    V.player.reset();
    V.facts = PreviewFacts();
    V.lastFrame = 0;
    V.hasFrame = false;
    V.asked = 0;
    V.showAtOnce = false;
    V.sized = false;
    V.paused = false;
    HWND list = GetDlgItem(V.owner, V.listId);
    int row = list != nullptr ? static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)) : -1;
    const char* path = SelectedAnimationPath(V.owner, V.listId, row);
    SetTitle(AnimationRowTitle(V.owner, V.listId, row), path);
    if (path[0] == '\0' || !CopyText(V.path, path)) {
        V.path[0] = '\0';
        V.facts.answer = PreviewAnswer::NotFound;
    } else {
        StartReading();
    }
    if (V.facts.answer != PreviewAnswer::Pending)
        Settle();
    else
        SetTimer(V.window, kSettleTimer, kSettleMilliseconds, nullptr);
}

void TogglePause()
{
    if (!Playable())
        return;
    V.paused = !V.paused;
    V.asked = 0;
    V.showAtOnce = false;
    if (!V.paused && V.hasFrame && V.lastFrame > 1)
        Ask(FrameAfter(V.frame->number), false);
    UpdateTimer();
    UpdateStatus();
}

// Pauses and shows frame `number`; `last` when it is asked for as the last.
void GoTo(int number, bool last = false)
{
    if (!Playable())
        return;
    V.paused = true;
    UpdateTimer();
    Ask(number, true, last);
    TakeAsked();
    UpdateStatus();
}

// From the frame on its way when one was asked for, so quick steps add up.
void Step(int direction)
{
    if (!Playable())
        return;
    const int from = V.asked != 0 && V.showAtOnce ? V.asked : (V.hasFrame ? V.frame->number : 1);
    GoTo(direction > 0 ? FrameAfter(from) : FrameBefore(from), direction < 0 && from <= 1);
}

POINT AreaCentre()
{
    ViewerSize area = PictureArea();
    return {area.width / 2, area.height / 2};
}

// The picture's point under `at` (in the client area) stays there; with
// `centred`, the point in the area's middle stays in the middle, which moves
// when scroll bars come or go.
void SetZoom(int zoom, POINT at, bool centred)
{
    RECT before = PictureRect();
    V.zoom = zoom;
    if (FollowsPicture() && V.hasFrame) {
        // The window grows or shrinks about its middle: so does the picture.
        at = AreaCentre();
        centred = true;
        FollowZoom();
    }
    PlaceScrollBars();      // the bars the new size needs, and so the area
    POINT to = centred ? AreaCentre() : at;
    ViewerSize area = PictureArea();
    ViewerSize shown = ShownSize(area);
    V.scroll = {ViewerScrollAbout(before.left + to.x - at.x, before.right - before.left, shown.width, area.width, to.x),
                ViewerScrollAbout(before.top + to.y - at.y, before.bottom - before.top, shown.height, area.height, to.y)};
    Relayout();
    UpdateStatus();
}

void Zoom(int direction, POINT at, bool centred)
{
    SetZoom(ViewerNextZoom(V.zoom, direction, ShownPercent()), at, centred);
}

void SetSpeed(ViewerSpeed speed)
{
    V.speed = speed;
    UpdateTimer();
    UpdateStatus();
}

void ToggleTallPixels()
{
    if (!ViewerAspectApplies(V.facts.info.width, V.facts.info.height))
        return;
    V.tallPixels = !V.tallPixels;
    FollowZoom();
    Relayout();
    UpdateStatus();
}

void StartPlayingAll()
{
    V.playingAll = true;
    if (!Playable()) {
        SetTimer(V.window, kMoveOnTimer, kMoveOnMilliseconds, nullptr);
    } else if (V.paused) {
        TogglePause();
    } else {
        UpdateTimer();
        if (V.hasFrame && V.asked == 0 && V.lastFrame > 1)
            Ask(FrameAfter(V.frame->number), false);
    }
    UpdateStatus();
}

void EndPlayingAll()
{
    V.playingAll = false;
    KillTimer(V.window, kMoveOnTimer);
    UpdateTimer();
    UpdateStatus();
}

// The save starts on a thread of its own, or waits for room among the
// reading threads; the window goes on meanwhile.
void StartSave()
{
    KillTimer(V.window, kSaveTimer);
    V.saveWaiting = false;
    if (!ReadingThreadRoom()) {
        V.saveWaiting = true;
        SetTimer(V.window, kSaveTimer, kStartRetryMilliseconds, nullptr);
        return;
    }
    V.save.reset(new (std::nothrow) SaveJob(V.savePath, V.saveFrame, V.saveTarget, V.saveKind, V.window, kViewerSaved));
    if (V.save && !V.save->Started())
        V.save.reset();
    if (!V.save)
        SaveAnimationTo(V.window, V.savePath, V.saveFrame, V.saveTarget, V.saveKind);
}

void Save()
{
    if (!Playable() || !V.hasFrame || Saving())
        return;
    // The picture stays while the dialog is open.
    bool wasPaused = V.paused;
    if (!wasPaused)
        TogglePause();
    const int frame = V.frame->number;
    const bool named = AskSaveName(V.window, V.path, V.saveTarget, V.saveKind);
    if (V.window == nullptr)
        return;
    if (named && CopyText(V.savePath, V.path)) {
        V.saveFrame = frame;
        StartSave();
    }
    if (!wasPaused)
        TogglePause();
    UpdateStatus();
}

// The save has ended: its message, if any, and the status line again.
void OnSaved()
{
    if (!V.save || !V.save->Done())
        return;
    const SaveOutcome outcome = V.save->Outcome();
    wchar_t target[260];
    lstrcpynW(target, V.save->Target(), 260);
    V.save.reset();
    UpdateStatus();
    SayOutcome(V.window, target, outcome);
}

void OnCommand(int id)
{
    switch (id) {
    case ID_VIEWER_PAUSE: TogglePause(); break;
    case ID_VIEWER_NEXT: Step(+1); break;
    case ID_VIEWER_PREVIOUS: Step(-1); break;
    case ID_VIEWER_FIRST: GoTo(1); break;
    case ID_VIEWER_LAST: GoTo(V.lastFrame, true); break;
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

// True when the key was used up.
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
            GoTo(key == VK_HOME ? 1 : V.lastFrame, key == VK_END);
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

// The keys by the character they give, whatever the keyboard's layout.
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

// Ctrl and the wheel zoom about the pointer; the wheel alone scrolls down
// and up, with Shift (or tilted) across.
void OnMouseWheel(WPARAM wordParam, LPARAM longParam, bool tilted)
{
    const int keys = GET_KEYSTATE_WPARAM(wordParam);
    const int delta = GET_WHEEL_DELTA_WPARAM(wordParam);
    if (!tilted && (keys & MK_CONTROL) != 0) {
        POINT at = {static_cast<short>(LOWORD(longParam)), static_cast<short>(HIWORD(longParam))};
        ScreenToClient(V.pane, &at);
        Zoom(delta > 0 ? +1 : -1, at, false);
        return;
    }
    const int step = delta * kWheelLines * ScrollLine() / WHEEL_DELTA;
    if (tilted)
        ScrollTo({V.scroll.x + step, V.scroll.y});
    else if ((keys & MK_SHIFT) != 0)
        ScrollTo({V.scroll.x - step, V.scroll.y});
    else
        ScrollTo({V.scroll.x, V.scroll.y - step});
}

// The middle or right button, or any on the status line: "Alle abspielen"
// ends, and the right click opens no menu then.
void OnOtherButtonDown(UINT message)
{
    if (!V.playingAll)
        return;
    EndPlayingAll();
    if (message == WM_RBUTTONDOWN)
        V.swallowChar = true;
}

// A picture larger than its area is dragged with the left button.
void OnLeftButtonDown(LPARAM longParam)
{
    if (V.playingAll) {
        EndPlayingAll();
        return;
    }
    if (!Pannable())
        return;
    V.dragging = true;
    V.dragFrom = {static_cast<short>(LOWORD(longParam)), static_cast<short>(HIWORD(longParam))};
    V.dragScroll = V.scroll;
    SetCapture(V.pane);
}

void OnMouseMove(LPARAM longParam)
{
    if (!V.dragging || GetCapture() != V.pane)
        return;
    const int x = static_cast<short>(LOWORD(longParam));
    const int y = static_cast<short>(HIWORD(longParam));
    ScrollTo({V.dragScroll.x - (x - V.dragFrom.x), V.dragScroll.y - (y - V.dragFrom.y)});
}

// The hand over a picture that can be dragged.
bool OnSetCursor(HWND over, LPARAM longParam)
{
    if (over != V.pane || LOWORD(longParam) != HTCLIENT || (!Pannable() && !V.dragging))
        return false;
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));     // IDC_HAND
    return true;
}

void Paint(HDC dc)
{
    ViewerSize area = PictureArea();
    RECT areaRect = {0, 0, area.width, area.height};
    wchar_t line[kViewerStatusSize] = L"";
    if (V.holding) {
        PaintViewerPicture(dc, areaRect, V.frame.get(), V.held, line);
        return;
    }
    if (!V.hasFrame && (AnswerTextId() != 0 || V.facts.answer == PreviewAnswer::Pending))
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

// A size the user gave the window by hand stays; maximising and restoring
// are no size of the user's own.
void OnSize(UINT type)
{
    if (type == SIZE_RESTORED && V.sizeType == SIZE_RESTORED && !V.resizing && V.shown)
        V.userSized = true;
    if (type == SIZE_RESTORED || type == SIZE_MAXIMIZED || type == SIZE_MINIMIZED)
        V.sizeType = type;
    PlaceChildren();
    UpdateStatus();
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

LRESULT CALLBACK ViewerProc(HWND window, UINT message, WPARAM wordParam, LPARAM longParam)
{
    switch (message) {
    case WM_NCCREATE:
        ScaleNonClientArea(window);
        return DefWindowProcA(window, message, wordParam, longParam);
    case kViewerNews:
        OnNews(static_cast<unsigned>(wordParam));
        return 0;
    case kViewerSaved:
        OnSaved();
        return 0;
    case WM_TIMER:
        if (wordParam == kFrameTimer)
            OnFrameTimer();
        else if (wordParam == kStartTimer)
            StartReading();
        else if (wordParam == kMoveOnTimer) {
            KillTimer(window, kMoveOnTimer);
            if (V.playingAll)
                MoveToNextRow();
        } else if (wordParam == kSettleTimer && V.settling) {
            Settle();
        } else if (wordParam == kSaveTimer && V.saveWaiting) {
            StartSave();
            UpdateStatus();
        }
        return 0;
    case WM_KEYDOWN:
        if (OnKeyDown(wordParam))
            return 0;
        return DefWindowProcA(window, message, wordParam, longParam);
    case WM_SYSKEYDOWN:
        if (V.playingAll && !IsModifier(wordParam))
            EndPlayingAll();
        return DefWindowProcA(window, message, wordParam, longParam);
    case WM_CHAR:
        OnChar(wordParam);
        return 0;
    case WM_LBUTTONDOWN:        // on the status line
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
        OnOtherButtonDown(message);
        return 0;
    case WM_CONTEXTMENU:
        if (V.swallowChar && longParam != -1)
            V.swallowChar = false;
        else
            OnContextMenu(longParam);
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(wordParam, longParam, false);
        return 0;
    case WM_MOUSEHWHEEL:
        OnMouseWheel(wordParam, longParam, true);
        return 0;
    case WM_SIZE:
        if (window == V.window)
            OnSize(static_cast<UINT>(wordParam));
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(wordParam, longParam);
        return 0;
    case WM_ERASEBKGND:
        return 1;       // the pane and the status line cover every pixel
    case WM_DESTROY:
        StopTimers();
        KillTimer(window, kSaveTimer);
        if (window == V.window)
            Forget();
        return 0;
    default:
        return DefWindowProcA(window, message, wordParam, longParam);
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
    case WM_MOUSEHWHEEL:
        return SendMessageA(GetParent(window), message, wordParam, longParam);
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(longParam);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(longParam);
        return 0;
    case WM_LBUTTONUP:
        if (V.dragging)
            ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        V.dragging = false;
        return 0;
    case WM_SETCURSOR:
        if (OnSetCursor(reinterpret_cast<HWND>(wordParam), longParam))
            return TRUE;
        return DefWindowProcA(window, message, wordParam, longParam);
    case WM_HSCROLL:
        OnScroll(SB_HORZ, wordParam);
        return 0;
    case WM_VSCROLL:
        OnScroll(SB_VERT, wordParam);
        return 0;
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
        OnOtherButtonDown(message);
        return 0;
    case WM_SIZE:
        if (window == V.pane)
            Relayout();
        return 0;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wordParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;       // the paint covers every pixel
    default:
        return DefWindowProcA(window, message, wordParam, longParam);
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
