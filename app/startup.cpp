#include "app/startup.h"

#include "app/main_window.h"
#include "app/messages.h"
#include "res/resource.h"

#include <io.h>

#include <cstring>

HINSTANCE ModuleInstance;
HWND MainWindowHandle;
char CataloguePath[kPathSize];

int FileExists(const char* path)
{
    std::size_t length = ExistenceNameLength(path);
    if (length >= kExistenceNameSize)
        return 0;               // a cut name would test another file
    // The name stays in the ANSI code page, which the runtime's _access reads:
    // an OEM copy would miss every name that holds an umlaut.
    char name[kExistenceNameSize];
    std::memcpy(name, path, length);
    name[length] = '\0';
    return _access(name, 0) == 0 ? 1 : 0;
}

int LocateCatalogue(const char* arguments)
{
    char modulePath[kPathSize];
    DWORD length = GetModuleFileNameA(ModuleInstance, modulePath, sizeof modulePath);
    if (length == 0 || length >= sizeof modulePath)
        modulePath[0] = '\0';   // too long to hold whole: no name to derive from
    if (!DeriveCataloguePath(CataloguePath, modulePath, arguments) || modulePath[0] == '\0')
        return 0;
    return FileExists(CataloguePath);
}

int StartUp(HINSTANCE instance, const char* arguments)
{
    ModuleInstance = instance;
    while (!LocateCatalogue(arguments)) {
        int promptId = CataloguePromptId(GetDriveTypeA(CataloguePath));
        int answer = ShowFormattedMessage(nullptr, promptId, CataloguePath, IDS_ERROR_CAPTION,
                                          MB_RETRYCANCEL | MB_ICONEXCLAMATION);
        if (answer == IDCANCEL)
            return 0;
    }
    MainWindowHandle = FindWindowA(kMainWindowClass, nullptr);
    if (MainWindowHandle != nullptr) {
        BringWindowToTop(MainWindowHandle);
        SetFocus(MainWindowHandle);
        return 0;
    }
    return 1;
}
