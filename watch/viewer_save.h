// Keeping what the viewer shows: the whole animation as a GIF, or the frame
// shown as a PNG, written under a temporary name beside the chosen file and
// renamed over it only when whole.
#pragma once

#include <windows.h>

enum class SaveKind { Gif, Png };

constexpr int kSaveNameSize = 260;

// What became of a save: `textId` 0 when the file was written, else the
// message that says why not (0 also when it was stopped: nothing to say).
// A GIF of an animation that broke off (damaged there, or no memory for that
// frame) holds the frames before `brokenAt` in `temporary`, beside the
// chosen file, until the user says whether to keep them.
struct SaveOutcome {
    int textId = 0;
    bool slowed = false;    // a GIF that plays slower than the animation
    bool stopped = false;
    int brokenAt = 0;
    bool noMemory = false;  // it broke off for want of memory, not damage
    wchar_t temporary[kSaveNameSize + 16] = L"";
};

// Asks for a file with the platform's save dialog (comdlg32, loaded on this
// first use), beginning with the name of the animation at `path`. False when
// the user cancelled.
bool AskSaveName(HWND owner, const char* path, wchar_t (&target)[kSaveNameSize], SaveKind& kind);

// Writes the save on the calling thread. `stop` ends it at its next read or
// before the rename: the temporary file is removed and an old `target` kept.
SaveOutcome WriteSave(const char* path, int frame, const wchar_t* target, SaveKind kind, const volatile LONG* stop);

// Says `outcome` in a message box (nothing for a plain success). An
// animation that broke off is asked about: its good frames replace `target`
// only on "Ja", and go otherwise. True when the file was written.
bool FinishSave(HWND owner, const wchar_t* target, const SaveOutcome& outcome);

// Saves into `target` without asking, on this thread; a failure is said in
// a message box and leaves an old `target` as it was. True when written.
bool SaveAnimationTo(HWND owner, const char* path, int frame, const wchar_t* target, SaveKind kind);

// A save on a reading thread of its own (within their bound), so a medium
// that hangs never freezes the window. When it ends, `message` is posted to
// `window`.
class SaveJob {
public:
    SaveJob(const char* path, int frame, const wchar_t* target, SaveKind kind, HWND window, UINT message);
    // Stops a save not yet done (its temporary file goes, an old file stays)
    // and waits a moment for that.
    ~SaveJob();
    SaveJob(const SaveJob&) = delete;
    SaveJob& operator=(const SaveJob&) = delete;

    bool Started() const { return shared_ != nullptr; }
    bool Done() const;
    // Once done: what became of it. Its temporary file, if any, is the
    // caller's from now on; one not taken goes with the job.
    SaveOutcome TakeOutcome();
    const wchar_t* Target() const;

    struct Shared;

private:
    Shared* shared_ = nullptr;
    HANDLE thread_ = nullptr;
};
