// The program's module instance: where resources, strings and window classes
// come from. Set once at start; every room reads it from here.
#pragma once

#include <windows.h>

extern HINSTANCE ModuleInstance;

void SetModuleInstance(HINSTANCE instance);
