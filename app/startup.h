// Start-up: where the catalogue is, the medium prompt, one instance only.
#pragma once

#include <windows.h>

#include "app/catalogue_path.h"

extern HINSTANCE ModuleInstance;
extern HWND MainWindowHandle;
extern char CataloguePath[kPathSize];

// 1 to go on and create the main window; 0 to end at once (the user cancelled
// the medium prompt, or another instance runs and was brought to the front).
int StartUp(HINSTANCE instance, const char* arguments);

// Derives CataloguePath anew; nonzero when a file or folder of that name exists.
int LocateCatalogue(const char* arguments);

// 1 when a file or folder of that name exists. Blanks at the end of the name
// do not count; a name too long for the test's 128-byte buffer is not found.
int FileExists(const char* path);
