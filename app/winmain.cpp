#include "app/main_window.h"
#include "app/startup.h"
#include "res/resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int showCommand)
{
    if (!StartUp(instance, arguments))
        return 0;
    if (!RegisterWindowClasses(instance))
        return 0;

    HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAIN_MENU));
    char title[50] = "";
    LoadStringA(instance, IDS_WINDOW_TITLE, title, sizeof title);

    // Creation loads the catalogue, builds the list and gives the window its
    // final size and place, so the 440 x 480 below never shows.
    HWND window = CreateWindowExA(0, kMainWindowClass, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 440, 480, nullptr, menu, instance, nullptr);
    if (window == nullptr)
        return 0;
    MainWindowHandle = window;
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!TranslateAcceleratorA(MainWindowHandle, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
