// A library that does nothing but tell that it was loaded: the accessibility
// test puts it beside KORVAL.EXE under the name of a system library, which a
// program that looks in its own folder first (a share, a medium) would load.
#include <windows.h>

// Built without any runtime: this is its entry point.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    // The event lives as long as the process that loaded this.
    if (reason == DLL_PROCESS_ATTACH)
        CreateEventA(nullptr, TRUE, TRUE, "KorvalPlantedLibraryLoaded");
    return TRUE;
}
