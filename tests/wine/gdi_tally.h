// Counts the drawing objects this test program makes and frees while a tally
// is open, by routing the program's imports of the creating and freeing
// functions through counters. Wine's GetGuiResources answers 0 for every
// process, so this is the way to see a leak there; it works on Windows alike.
#pragma once

#include <windows.h>

#include <cstring>
#include <set>

namespace gdi_tally {

struct Record {
    bool open = false;
    int made = 0;
    std::set<void*> live;
};

inline Record& Current()
{
    static Record record;
    return record;
}

inline void Made(void* handle)
{
    if (Current().open && handle != nullptr) {
        ++Current().made;
        Current().live.insert(handle);
    }
}

inline void Freed(void* handle, BOOL done)
{
    if (Current().open && done)
        Current().live.erase(handle);
}

template <typename Function>
struct Real {
    static Function function;
};
template <typename Function>
Function Real<Function>::function;

using CreateSolidBrushFn = HBRUSH(WINAPI*)(COLORREF);
using CreatePenFn = HPEN(WINAPI*)(int, int, COLORREF);
using CreateFontAFn = HFONT(WINAPI*)(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD,
                                     DWORD, LPCSTR);
using DeleteObjectFn = BOOL(WINAPI*)(HGDIOBJ);
using LoadImageAFn = HANDLE(WINAPI*)(HINSTANCE, LPCSTR, UINT, int, int, UINT);
using DestroyIconFn = BOOL(WINAPI*)(HICON);
using CreateCompatibleDCFn = HDC(WINAPI*)(HDC);
using DeleteDCFn = BOOL(WINAPI*)(HDC);
using LoadBitmapAFn = HBITMAP(WINAPI*)(HINSTANCE, LPCSTR);

inline HBRUSH WINAPI CountCreateSolidBrush(COLORREF colour)
{
    HBRUSH brush = Real<CreateSolidBrushFn>::function(colour);
    Made(brush);
    return brush;
}

inline HPEN WINAPI CountCreatePen(int style, int width, COLORREF colour)
{
    HPEN pen = Real<CreatePenFn>::function(style, width, colour);
    Made(pen);
    return pen;
}

inline HFONT WINAPI CountCreateFontA(int height, int width, int escapement, int orientation, int weight,
                                     DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                                     DWORD outputPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
                                     LPCSTR face)
{
    HFONT font = Real<CreateFontAFn>::function(height, width, escapement, orientation, weight, italic, underline,
                                               strikeOut, charSet, outputPrecision, clipPrecision, quality,
                                               pitchAndFamily, face);
    Made(font);
    return font;
}

inline BOOL WINAPI CountDeleteObject(HGDIOBJ object)
{
    BOOL done = Real<DeleteObjectFn>::function(object);
    Freed(object, done);
    return done;
}

inline HANDLE WINAPI CountLoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height, UINT flags)
{
    HANDLE image = Real<LoadImageAFn>::function(instance, name, type, width, height, flags);
    if (!(flags & LR_SHARED))       // shared images belong to the system
        Made(image);
    return image;
}

inline BOOL WINAPI CountDestroyIcon(HICON icon)
{
    BOOL done = Real<DestroyIconFn>::function(icon);
    Freed(icon, done);
    return done;
}

inline HDC WINAPI CountCreateCompatibleDC(HDC reference)
{
    HDC dc = Real<CreateCompatibleDCFn>::function(reference);
    Made(dc);
    return dc;
}

inline BOOL WINAPI CountDeleteDC(HDC dc)
{
    BOOL done = Real<DeleteDCFn>::function(dc);
    Freed(dc, done);
    return done;
}

inline HBITMAP WINAPI CountLoadBitmapA(HINSTANCE instance, LPCSTR name)
{
    HBITMAP picture = Real<LoadBitmapAFn>::function(instance, name);
    Made(picture);
    return picture;
}

template <typename Function>
void Route(const char* name, const char* wanted, void** slot, Function counter)
{
    if (std::strcmp(name, wanted) != 0 || *slot == reinterpret_cast<void*>(counter))
        return;
    Real<Function>::function = reinterpret_cast<Function>(*slot);
    DWORD protection;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
    *slot = reinterpret_cast<void*>(counter);
    VirtualProtect(slot, sizeof *slot, protection, &protection);
}

// Walks this program's import table once and routes the named functions.
inline void Install()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    auto* base = reinterpret_cast<unsigned char*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
    for (; descriptor->Name != 0; ++descriptor) {
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const char* name = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name;
            void** slot = reinterpret_cast<void**>(&slots->u1.Function);
            Route(name, "CreateSolidBrush", slot, &CountCreateSolidBrush);
            Route(name, "CreatePen", slot, &CountCreatePen);
            Route(name, "CreateFontA", slot, &CountCreateFontA);
            Route(name, "DeleteObject", slot, &CountDeleteObject);
            Route(name, "LoadImageA", slot, &CountLoadImageA);
            Route(name, "DestroyIcon", slot, &CountDestroyIcon);
            Route(name, "CreateCompatibleDC", slot, &CountCreateCompatibleDC);
            Route(name, "DeleteDC", slot, &CountDeleteDC);
            Route(name, "LoadBitmapA", slot, &CountLoadBitmapA);
        }
    }
}

} // namespace gdi_tally

// While it lives, every brush, pen, font and unshared image made by this
// program is counted, and crossed off again when it is freed.
class GdiTally {
public:
    GdiTally()
    {
        gdi_tally::Install();
        gdi_tally::Current() = gdi_tally::Record();
        gdi_tally::Current().open = true;
        guiObjects_ = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    }
    ~GdiTally() { gdi_tally::Current().open = false; }
    GdiTally(const GdiTally&) = delete;
    GdiTally& operator=(const GdiTally&) = delete;

    int Made() const { return gdi_tally::Current().made; }
    int Live() const { return static_cast<int>(gdi_tally::Current().live.size()); }
    // The system's own count where it keeps one (Windows); 0 under Wine.
    long GuiObjectsGained() const
    {
        return static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) - static_cast<long>(guiObjects_);
    }

private:
    DWORD guiObjects_ = 0;
};
