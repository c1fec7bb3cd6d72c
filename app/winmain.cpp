#include "app/main_window.h"
#include "app/start_marks.h"
#include "app/startup.h"
#include "res/resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int showCommand)
{
    MarkStart(StartMark::EntryPoint);
    if (!StartUp(instance, arguments))
        return 0;
    if (!RegisterWindowClasses(instance))
        return 0;
    HWND window = CreateMainWindow(instance);
    MarkStart(StartMark::WindowCreated);
    if (window == nullptr)
        return 0;
    MainWindowHandle = window;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    MarkStart(StartMark::FirstPaintDone);

    // Enter is Play: the accelerator sends the same command as the menu item.
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!TranslateMainWindowKeys(MainWindowHandle, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    ReportStartMarks();
    // GetMessage fails only on a broken handle: that ends the program too.
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}
