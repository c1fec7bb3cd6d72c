#include "app/startup.h"

#include "app/main_window.h"
#include "base/instance.h"
#include "base/messages.h"
#include "catalogue/catalogue_file.h"
#include "catalogue/catalogue_path.h"
#include "res/resource.h"

HWND MainWindowHandle;

int StartUp(HINSTANCE instance, const char* arguments)
{
    SetModuleInstance(instance);
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
