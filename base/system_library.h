// The system's libraries and their functions, found when first needed: a
// library loaded at the start slows it, and a function imported by name
// keeps the program from starting on a system that lacks it.
#pragma once

#include <windows.h>

#include "base/sizes.h"

// The full name of the file `name` in the system folder; false when it does
// not fit.
bool SystemFilePath(char (&path)[kPathSize], const char* name);

// Loads the library `name` from the system folder only: never from the
// program's own folder, which may be a share, nor from the current one.
// Null when it is not there.
HMODULE LoadSystemLibrary(const char* name);

// The function `name` of `module` as a `Function`; null when either is missing.
template <typename Function>
Function LibraryFunction(HMODULE module, const char* name)
{
    return module != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                             : nullptr;
}
