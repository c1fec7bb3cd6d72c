#include "app/main_window.h"

#include "app/startup.h"
#include "catalogue/catalogue_file.h"
#include "res/resource.h"

namespace {

LRESULT OnCreate(HWND)
{
    LoadCatalogue();
    return 0;
}

void OnDestroy()
{
    PostQuitMessage(0);
}

} // namespace

int RegisterWindowClasses(HINSTANCE instance)
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_KORVAL));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassA(&windowClass) != 0 ? 1 : 0;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wordParam, LPARAM longParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(window);
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        return DefWindowProcA(window, message, wordParam, longParam);
    }
}
