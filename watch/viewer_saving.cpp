#include "watch/viewer_saving.h"

#include "base/text.h"
#include "watch/reading_thread.h"
#include "watch/viewer_frames.h"
#include "watch/viewer_state.h"
#include "watch/viewer_status.h"

#include <new>

namespace {

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

} // namespace

bool Saving()
{
    return V.save != nullptr || V.saveWaiting;
}

void Save()
{
    if (!Playable() || !V.hasFrame || Saving())
        return;
    // What is saved is taken now: the main window stays usable while the
    // dialog is open, and a row picked there meanwhile is read anew.
    if (!CopyText(V.savePath, V.path))
        return;
    V.saveFrame = V.frame->number;
    const unsigned generation = V.generation;
    // The picture stays while the dialog is open.
    bool wasPaused = V.paused;
    if (!wasPaused)
        TogglePause();
    const bool named = AskSaveName(V.window, V.savePath, V.saveTarget, V.saveKind);
    if (V.window == nullptr)
        return;
    if (named)
        StartSave();
    // A row read anew meanwhile plays as any row does.
    if (!wasPaused && V.player && V.generation == generation)
        TogglePause();
    UpdateStatus();
}

void OnSaveTimer()
{
    if (!V.saveWaiting)
        return;
    StartSave();
    UpdateStatus();
}

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
