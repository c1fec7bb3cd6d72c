#include "watch/viewer_frames.h"

#include "base/text.h"
#include "view/animation_list.h"
#include "watch/reading_thread.h"
#include "watch/viewer_layout.h"
#include "watch/viewer_state.h"
#include "watch/viewer_status.h"

#include <new>

namespace {

constexpr UINT kMoveOnMilliseconds = 2000;
// A file's header is read at once; a medium that hangs keeps the window back
// no longer than this.
constexpr UINT kSettleMilliseconds = 400;

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

void Ask(int number, bool atOnce)
{
    V.asked = number;
    V.showAtOnce = atOnce;
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
        ShowWindow(V.window, SW_SHOW);
    }
    RedrawWindow(V.window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

} // namespace

bool Playable()
{
    return V.facts.answer == PreviewAnswer::Playing && V.lastFrame > 0;
}

void StopTimers()
{
    KillTimer(V.window, kFrameTimer);
    KillTimer(V.window, kStartTimer);
    KillTimer(V.window, kMoveOnTimer);
    KillTimer(V.window, kSettleTimer);
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

void OnMoveOnTimer()
{
    KillTimer(V.window, kMoveOnTimer);
    if (V.playingAll)
        MoveToNextRow();
}

void OnSettleTimer()
{
    if (V.settling)
        Settle();
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

void GoTo(int number)
{
    if (!Playable())
        return;
    V.paused = true;
    UpdateTimer();
    Ask(number, true);
    TakeAsked();
    UpdateStatus();
}

void Step(int direction)
{
    if (!Playable())
        return;
    const int from = V.asked != 0 && V.showAtOnce ? V.asked : (V.hasFrame ? V.frame->number : 1);
    GoTo(direction > 0 ? FrameAfter(from) : FrameBefore(from));
}

void SetSpeed(ViewerSpeed speed)
{
    V.speed = speed;
    UpdateTimer();
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
