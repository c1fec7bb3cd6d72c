#include "watch/viewer_save.h"

#include "anim/flc_convert.h"
#include "base/instance.h"
#include "base/message_text.h"
#include "base/messages.h"
#include "base/sizes.h"
#include "base/system_library.h"
#include "base/text.h"
#include "base/themed_controls.h"
#include "res/resource.h"
#include "watch/reading_thread.h"
#include "watch/viewer_text.h"

#include <commdlg.h>

#include <new>

namespace {

constexpr DWORD kNameSize = kSaveNameSize;
// How long closing waits for a stopped save to remove its temporary file.
constexpr DWORD kStopWaitMilliseconds = 2000;

class FileSink final : public ByteSink {
public:
    explicit FileSink(HANDLE file) : file_(file) {}
    bool Write(const void* data, std::size_t size) override
    {
        const auto* bytes = static_cast<const unsigned char*>(data);
        while (size > 0) {
            DWORD part = size > 0x100000 ? 0x100000 : static_cast<DWORD>(size);
            DWORD written = 0;
            if (!WriteFile(file_, bytes, part, &written, nullptr) || written == 0)
                return false;
            bytes += written;
            size -= written;
        }
        return true;
    }

private:
    HANDLE file_;
};

void Say(HWND owner, int textId, const wchar_t* target, UINT boxType)
{
    char name[kPathSize * 3] = "";
    WideCharToMultiByte(CP_ACP, 0, target, -1, name, sizeof name, nullptr, nullptr);
    ShowFormattedMessage(owner, textId, name, IDS_SAVE_CAPTION, boxType);
}

// Whether to keep the good frames of an animation that broke off at frame
// `brokenAt`: the text names the file ("%s") and then that frame ("%d").
bool AskToKeep(HWND owner, int textId, int brokenAt, const wchar_t* target)
{
    char format[kMessageSize] = "";
    char numbered[kMessageSize] = "";
    char name[kPathSize * 3] = "";
    char text[kMessageSize] = "";
    char caption[40] = "";
    LoadStringA(ModuleInstance, textId, format, sizeof format);
    // "%s" stays for the name, which may be shortened to fit.
    if (!FormatText(numbered, format, "%s", brokenAt))
        return false;
    WideCharToMultiByte(CP_ACP, 0, target, -1, name, sizeof name, nullptr, nullptr);
    FormatMessageText(text, numbered, name);
    LoadStringA(ModuleInstance, IDS_SAVE_CAPTION, caption, sizeof caption);
    ThemedControls themed;
    return MessageBoxA(owner, text, caption, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

bool EndsWith(const wchar_t* name, const wchar_t* ending)
{
    int length = lstrlenW(name);
    int endingLength = lstrlenW(ending);
    return length >= endingLength && lstrcmpiW(name + length - endingLength, ending) == 0;
}

using SaveDialog = BOOL(WINAPI*)(OPENFILENAMEW*);

// What the save dialog begins with, for this run of KORVAL: the folder last
// saved to (empty before the first save) and the type last chosen.
wchar_t LastFolder[kNameSize] = L"";
SaveKind LastKind = SaveKind::Gif;

// The folder of `target` (shorter than kNameSize), "." when it names none.
void FolderOf(const wchar_t* target, wchar_t (&folder)[kNameSize])
{
    lstrcpynW(folder, target, kNameSize);
    wchar_t* cut = folder;
    for (wchar_t* at = folder; *at != L'\0'; ++at) {
        if (*at == L'\\' || *at == L'/')
            cut = at;
    }
    if (cut == folder)
        lstrcpynW(folder, L".", kNameSize);
    else
        cut[cut == folder + 2 && folder[1] == L':' ? 1 : 0] = L'\0';     // "C:\" keeps its backslash
}

void RememberFolder(const wchar_t* target)
{
    wchar_t folder[kNameSize];
    if (lstrlenW(target) >= static_cast<int>(kNameSize))
        return;
    FolderOf(target, folder);
    if (lstrcmpW(folder, L".") != 0)
        lstrcpynW(LastFolder, folder, kNameSize);
}

// The user's Pictures folder, else Documents: the dialog would otherwise
// begin where KORVAL was started, the CD-ROM. False when the system knows
// neither.
bool UserPicturesFolder(wchar_t (&folder)[kNameSize])
{
    using KnownFolderPath = HRESULT(WINAPI*)(const GUID&, DWORD, HANDLE, wchar_t**);
    using FreeTaskMemory = void(WINAPI*)(void*);
    static const GUID kPictures = {0x33E28130, 0x4E1E, 0x4676, {0x83, 0x5A, 0x98, 0x39, 0x5C, 0x3B, 0xC3, 0xBB}};
    static const GUID kDocuments = {0xFDD39AD0, 0x238F, 0x46AF, {0xAD, 0xB4, 0x6C, 0x85, 0x48, 0x03, 0x69, 0xC7}};
    static auto knownFolder = LibraryFunction<KnownFolderPath>(LoadSystemLibrary("shell32.dll"), "SHGetKnownFolderPath");
    static auto freeMemory = LibraryFunction<FreeTaskMemory>(LoadSystemLibrary("ole32.dll"), "CoTaskMemFree");
    if (knownFolder == nullptr || freeMemory == nullptr)
        return false;
    const GUID* const folders[] = {&kPictures, &kDocuments};
    for (const GUID* id : folders) {
        wchar_t* path = nullptr;
        const bool found = SUCCEEDED(knownFolder(*id, 0, nullptr, &path)) && path != nullptr
                           && lstrlenW(path) < static_cast<int>(kNameSize);
        if (found)
            lstrcpynW(folder, path, kNameSize);
        if (path != nullptr)
            freeMemory(path);
        if (found)
            return true;
    }
    return false;
}

} // namespace

SaveOutcome WriteSave(const char* path, int frame, const wchar_t* target, SaveKind kind, const volatile LONG* stop)
{
    SaveOutcome outcome;
    // A read-only file stays: Windows refuses to replace it, Wine would not.
    const DWORD attributes = GetFileAttributesW(target);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        outcome.textId = IDS_SAVE_REPLACE_FAILED;
        return outcome;
    }
    // The folder of the chosen file, where the temporary one goes.
    wchar_t folder[kNameSize];
    if (lstrlenW(target) >= static_cast<int>(kNameSize)) {
        outcome.textId = IDS_SAVE_NAME_TOO_LONG;
        return outcome;
    }
    FolderOf(target, folder);
    wchar_t temporary[kNameSize + 16];
    if (GetTempFileNameW(folder, L"kor", 0, temporary) == 0) {
        outcome.textId = IDS_SAVE_NO_FOLDER;
        return outcome;
    }
    HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileW(temporary);
        outcome.textId = IDS_SAVE_NO_FOLDER;
        return outcome;
    }
    StoppableFile source(stop);
    FlcConversion done;
    // Only a file on a disk: a read from a device or a pipe might never end.
    bool readable = source.Open(path) == StoppableFile::Opening::Opened;
    if (readable) {
        FileSink sink(file);
        done = kind == SaveKind::Gif ? ConvertFlcToGif(source, sink) : ConvertFlcFrameToPng(source, frame, sink);
    }
    const bool noMemory = done.outOfMemory || done.status == FlcStatus::NoMemory;
    bool written = readable && done.frames > 0 && !done.outputFailed && !done.outOfMemory;
    written = FlushFileBuffers(file) && written;
    written = CloseHandle(file) && written;
    // Stopped: a file cut where the reading stopped is no save.
    if (ReadingStopped(stop)) {
        DeleteFileW(temporary);
        outcome.stopped = true;
        return outcome;
    }
    if (!written) {
        DeleteFileW(temporary);
        if (readable && done.outputFailed)
            outcome.textId = IDS_SAVE_WRITE_FAILED;
        else if (readable && noMemory)
            outcome.textId = IDS_SAVE_NO_MEMORY;
        else
            outcome.textId = readable && done.frames > 0 ? IDS_SAVE_WRITE_FAILED : IDS_SAVE_UNREADABLE;
        return outcome;
    }
    // The frames before a break are not the animation: the user decides.
    if (done.status == FlcStatus::Damaged || done.status == FlcStatus::NoMemory) {
        outcome.brokenAt = done.damagedAt;
        outcome.noMemory = noMemory;
        lstrcpynW(outcome.temporary, temporary, kNameSize + 16);
        return outcome;
    }
    if (!MoveFileExW(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary);
        outcome.textId = IDS_SAVE_REPLACE_FAILED;
        return outcome;
    }
    outcome.slowed = kind == SaveKind::Gif && done.slowed;
    return outcome;
}

bool FinishSave(HWND owner, const wchar_t* target, const SaveOutcome& outcome)
{
    if (outcome.stopped)
        return false;
    if (outcome.temporary[0] != L'\0') {
        const int question = outcome.noMemory ? IDS_SAVE_CUT_SHORT_KEEP : IDS_SAVE_DAMAGED_KEEP;
        if (!AskToKeep(owner, question, outcome.brokenAt, target)) {
            DeleteFileW(outcome.temporary);
            return false;
        }
        if (!MoveFileExW(outcome.temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            DeleteFileW(outcome.temporary);
            Say(owner, IDS_SAVE_REPLACE_FAILED, target, MB_OK | MB_ICONERROR);
            return false;
        }
        RememberFolder(target);
        return true;
    }
    if (outcome.textId == IDS_SAVE_NAME_TOO_LONG) {
        ShowStringMessage(owner, IDS_SAVE_NAME_TOO_LONG, IDS_SAVE_CAPTION, MB_OK | MB_ICONERROR);
        return false;
    }
    if (outcome.textId != 0) {
        Say(owner, outcome.textId, target, MB_OK | MB_ICONERROR);
        return false;
    }
    RememberFolder(target);
    if (outcome.slowed)
        Say(owner, IDS_SAVE_SLOWED, target, MB_OK | MB_ICONINFORMATION);
    return true;
}

bool SaveAnimationTo(HWND owner, const char* path, int frame, const wchar_t* target, SaveKind kind)
{
    const volatile LONG neverStop = 0;
    return FinishSave(owner, target, WriteSave(path, frame, target, kind, &neverStop));
}

struct SaveJob::Shared {
    volatile LONG stop = 0;
    volatile LONG done = 0;
    LONG holders = 2;       // the job and its thread
    SaveOutcome outcome;
    char path[kPathSize] = "";
    wchar_t target[kNameSize] = L"";
    int frame = 1;
    SaveKind kind = SaveKind::Gif;
    HWND window = nullptr;
    UINT message = 0;
};

namespace {

void Release(SaveJob::Shared* shared)
{
    if (InterlockedDecrement(&shared->holders) == 0)
        delete shared;
}

DWORD WINAPI SaveThread(void* context)
{
    auto* shared = static_cast<SaveJob::Shared*>(context);
    shared->outcome = WriteSave(shared->path, shared->frame, shared->target, shared->kind, &shared->stop);
    // Stopped after its end: nobody is left to ask about the good frames.
    if (ReadingStopped(&shared->stop) && shared->outcome.temporary[0] != L'\0') {
        DeleteFileW(shared->outcome.temporary);
        shared->outcome.temporary[0] = L'\0';
    }
    InterlockedExchange(&shared->done, 1);
    PostMessageA(shared->window, shared->message, 0, 0);
    Release(shared);
    ReadingThreadEnded();
    return 0;
}

} // namespace

SaveJob::SaveJob(const char* path, int frame, const wchar_t* target, SaveKind kind, HWND window, UINT message)
{
    auto* shared = new (std::nothrow) Shared;
    if (shared == nullptr)
        return;
    shared->frame = frame;
    shared->kind = kind;
    shared->window = window;
    shared->message = message;
    HANDLE thread = nullptr;
    if (CopyText(shared->path, path) && lstrlenW(target) < static_cast<int>(kNameSize)) {
        lstrcpynW(shared->target, target, kNameSize);
        thread = StartReadingThread(SaveThread, shared);
    }
    if (thread == nullptr) {
        delete shared;
        return;
    }
    thread_ = thread;
    shared_ = shared;
}

SaveJob::~SaveJob()
{
    if (shared_ == nullptr)
        return;
    InterlockedExchange(&shared_->stop, 1);
    // A read or write it waits in ends now; the temporary file is removed on
    // its way out, before KORVAL itself may end.
    CancelSynchronousIo(thread_);
    WaitForSingleObject(thread_, kStopWaitMilliseconds);
    if (Done() && shared_->outcome.temporary[0] != L'\0')
        DeleteFileW(shared_->outcome.temporary);
    LeaveReadingThread(thread_);
    Release(shared_);
}

bool SaveJob::Done() const
{
    return shared_ != nullptr && InterlockedCompareExchange(&shared_->done, 0, 0) != 0;
}

SaveOutcome SaveJob::TakeOutcome()
{
    if (!Done())
        return SaveOutcome();
    SaveOutcome outcome = shared_->outcome;
    shared_->outcome.temporary[0] = L'\0';
    return outcome;
}

const wchar_t* SaveJob::Target() const
{
    return shared_ != nullptr ? shared_->target : L"";
}

bool AskSaveName(HWND owner, const char* path, wchar_t (&name)[260], SaveKind& kind)
{
    static SaveDialog askForName = nullptr;
    if (askForName == nullptr)
        askForName = LibraryFunction<SaveDialog>(LoadSystemLibrary("comdlg32.dll"), "GetSaveFileNameW");
    if (askForName == nullptr)
        return false;
    wchar_t filter[160] = L"";
    int length = LoadStringW(ModuleInstance, IDS_SAVE_FILTER, filter, 159);
    for (int n = 0; n < length; ++n) {
        if (filter[n] == L'|')
            filter[n] = L'\0';
    }
    filter[length] = L'\0';
    // The animation's own name without its extension to begin with.
    name[0] = L'\0';
    MultiByteToWideChar(CP_ACP, 0, ViewerFileName(path), -1, name, kNameSize);
    for (int n = lstrlenW(name) - 1; n >= 0; --n) {
        if (name[n] == L'.') {
            name[n] = L'\0';
            break;
        }
    }
    wchar_t caption[40] = L"";
    LoadStringW(ModuleInstance, IDS_SAVE_CAPTION, caption, 40);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = LastKind == SaveKind::Png ? 2 : 1;
    dialog.lpstrFile = name;
    dialog.nMaxFile = kNameSize;
    dialog.lpstrDefExt = LastKind == SaveKind::Png ? L"png" : L"gif";
    wchar_t pictures[kNameSize] = L"";
    if (LastFolder[0] != L'\0')
        dialog.lpstrInitialDir = LastFolder;
    else if (UserPicturesFolder(pictures))
        dialog.lpstrInitialDir = pictures;
    dialog.lpstrTitle = caption;
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    {
        ThemedControls themed;     // the dialog in the system's visual style
        if (!askForName(&dialog))
            return false;
    }
    // The name's own ending decides; without one of the two, the type chosen.
    kind = dialog.nFilterIndex == 2 ? SaveKind::Png : SaveKind::Gif;
    if (EndsWith(name, L".png"))
        kind = SaveKind::Png;
    else if (EndsWith(name, L".gif"))
        kind = SaveKind::Gif;
    LastKind = kind;
    return true;
}
