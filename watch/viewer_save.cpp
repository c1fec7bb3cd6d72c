#include "watch/viewer_save.h"

#include "anim/flc_convert.h"
#include "base/instance.h"
#include "base/messages.h"
#include "base/sizes.h"
#include "base/system_library.h"
#include "base/text.h"
#include "base/themed_controls.h"
#include "res/resource.h"
#include "watch/reading_thread.h"
#include "watch/viewer_text.h"

#include <commdlg.h>

namespace {

constexpr DWORD kNameSize = 260;

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

bool EndsWith(const wchar_t* name, const wchar_t* ending)
{
    int length = lstrlenW(name);
    int endingLength = lstrlenW(ending);
    return length >= endingLength && lstrcmpiW(name + length - endingLength, ending) == 0;
}

using SaveDialog = BOOL(WINAPI*)(OPENFILENAMEW*);

} // namespace

bool SaveAnimationTo(HWND owner, const char* path, int frame, const wchar_t* target, SaveKind kind)
{
    // A read-only file stays: Windows refuses to replace it, Wine would not.
    const DWORD attributes = GetFileAttributesW(target);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        Say(owner, IDS_SAVE_REPLACE_FAILED, target, MB_OK | MB_ICONERROR);
        return false;
    }
    // The folder of the chosen file, where the temporary one goes.
    wchar_t folder[kNameSize];
    if (lstrlenW(target) >= static_cast<int>(kNameSize)) {
        ShowStringMessage(owner, IDS_SAVE_NAME_TOO_LONG, IDS_SAVE_CAPTION, MB_OK | MB_ICONERROR);
        return false;
    }
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
    wchar_t temporary[kNameSize + 16];
    if (GetTempFileNameW(folder, L"kor", 0, temporary) == 0) {
        Say(owner, IDS_SAVE_NO_FOLDER, target, MB_OK | MB_ICONERROR);
        return false;
    }
    HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileW(temporary);
        Say(owner, IDS_SAVE_NO_FOLDER, target, MB_OK | MB_ICONERROR);
        return false;
    }
    const volatile LONG neverStop = 0;
    StoppableFile source(&neverStop);
    FlcConversion done;
    // Only a file on a disk: a read from a device or a pipe might never end.
    bool readable = source.Open(path) == StoppableFile::Opening::Opened;
    if (readable) {
        FileSink sink(file);
        HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        done = kind == SaveKind::Gif ? ConvertFlcToGif(source, sink) : ConvertFlcFrameToPng(source, frame, sink);
        SetCursor(previous);
    }
    bool whole = readable && done.frames > 0 && !done.outputFailed && !done.outOfMemory;
    whole = FlushFileBuffers(file) && whole;
    whole = CloseHandle(file) && whole;
    if (!whole) {
        DeleteFileW(temporary);
        Say(owner, readable && (done.outputFailed || done.frames > 0) ? IDS_SAVE_WRITE_FAILED : IDS_SAVE_UNREADABLE,
            target, MB_OK | MB_ICONERROR);
        return false;
    }
    if (!MoveFileExW(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary);
        Say(owner, IDS_SAVE_REPLACE_FAILED, target, MB_OK | MB_ICONERROR);
        return false;
    }
    if (kind == SaveKind::Gif && done.slowed)
        Say(owner, IDS_SAVE_SLOWED, target, MB_OK | MB_ICONINFORMATION);
    return true;
}

void SaveAnimation(HWND owner, const char* path, int frame)
{
    static SaveDialog askForName = nullptr;
    if (askForName == nullptr)
        askForName = LibraryFunction<SaveDialog>(LoadSystemLibrary("comdlg32.dll"), "GetSaveFileNameW");
    if (askForName == nullptr)
        return;
    wchar_t filter[160] = L"";
    int length = LoadStringW(ModuleInstance, IDS_SAVE_FILTER, filter, 159);
    for (int n = 0; n < length; ++n) {
        if (filter[n] == L'|')
            filter[n] = L'\0';
    }
    filter[length] = L'\0';
    // The animation's own name with the GIF's extension to begin with.
    wchar_t name[kNameSize] = L"";
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
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name;
    dialog.nMaxFile = kNameSize;
    dialog.lpstrDefExt = L"gif";
    dialog.lpstrTitle = caption;
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    {
        ThemedControls themed;     // the dialog in the system's visual style
        if (!askForName(&dialog))
            return;
    }
    // The name's own ending decides; without one of the two, the type chosen.
    SaveKind kind = dialog.nFilterIndex == 2 ? SaveKind::Png : SaveKind::Gif;
    if (EndsWith(name, L".png"))
        kind = SaveKind::Png;
    else if (EndsWith(name, L".gif"))
        kind = SaveKind::Gif;
    SaveAnimationTo(owner, path, frame, name, kind);
}
