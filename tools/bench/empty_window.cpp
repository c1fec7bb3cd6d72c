// The yardstick for KORVAL's start: a program that opens one empty window and
// paints it, as plainly as a Win32 program can. Its benchmark build
// (KORVAL_START_MARKS) records the points of its start that KORVAL's has too.
#include "app/start_marks.h"

#include <windows.h>

namespace {

const char* const kClassName = "KORVALBENCHEMPTY";

LRESULT CALLBACK EmptyWindowProc(HWND window, UINT message, WPARAM wordParam, LPARAM longParam)
{
    switch (message) {
    case WM_CREATE:
        MarkStart(StartMark::WindowCreating);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wordParam, longParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    MarkStart(StartMark::EntryPoint);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = EmptyWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = kClassName;
    if (RegisterClassA(&windowClass) == 0)
        return 0;
    HWND window = CreateWindowExA(0, kClassName, "Leer", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 520, 500,
                                  nullptr, nullptr, instance, nullptr);
    MarkStart(StartMark::WindowCreated);
    if (window == nullptr)
        return 0;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    MarkStart(StartMark::FirstPaintDone);
    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    ReportStartMarks();
    return static_cast<int>(message.wParam);
}
