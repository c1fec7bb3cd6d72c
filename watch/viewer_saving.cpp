#include "watch/viewer_saving.h"

#include "base/messages.h"
#include "base/text.h"
#include "res/resource.h"
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

// Ctrl+S on a row whose file is no animation: why nothing can be saved.
// Nothing while the file is being read.
void SayNothingToSave()
{
    int textId = 0;
    switch (V.facts.answer) {
    case PreviewAnswer::NotFound: textId = IDS_SAVE_NOTHING_NOT_FOUND; break;
    case PreviewAnswer::NotAFile: textId = IDS_SAVE_NOTHING_NOT_A_FILE; break;
    case PreviewAnswer::NotFlc: textId = IDS_SAVE_NOTHING_NOT_FLC; break;
    case PreviewAnswer::TooLarge: textId = IDS_SAVE_NOTHING_TOO_LARGE; break;
    case PreviewAnswer::NoMemory: textId = IDS_SAVE_NOTHING_NO_MEMORY; break;
    case PreviewAnswer::Damaged: textId = IDS_SAVE_NOTHING_DAMAGED; break;
    default: return;
    }
    // A row without a file name is named by the title: its row and file.
    char name[kAnimationPathSize] = "";
    if (!CopyText(name, V.path) || name[0] == '\0')
        GetWindowTextA(V.window, name, sizeof name);
    ShowFormattedMessage(V.window, textId, name, IDS_SAVE_CAPTION, MB_OK | MB_ICONINFORMATION);
}

} // namespace

bool Saving()
{
    return V.save != nullptr || V.saveWaiting;
}

void Save()
{
    if (Saving())
        return;
    if (!Playable() || !V.hasFrame) {
        SayNothingToSave();
        return;
    }
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
    const SaveOutcome outcome = V.save->TakeOutcome();
    wchar_t target[260];
    lstrcpynW(target, V.save->Target(), 260);
    V.save.reset();
    UpdateStatus();
    FinishSave(V.window, target, outcome);
}
