#include "base/system_library.h"

#include "base/text.h"

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

bool SystemFilePath(char (&path)[kPathSize], const char* name)
{
    UINT length = GetSystemDirectoryA(path, kPathSize);
    return length != 0 && length < kPathSize && AppendText(path, "\\") && AppendText(path, name);
}

HMODULE LoadSystemLibrary(const char* name)
{
    // Windows 8 and later (7 with its loader update) take the flag; older ones refuse it.
    if (HMODULE module = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return module;
    char path[kPathSize];
    if (!SystemFilePath(path, name))
        return nullptr;
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
