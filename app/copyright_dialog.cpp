#include "app/copyright_dialog.h"

INT_PTR CALLBACK CopyrightDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (wParam == IDOK || wParam == IDCANCEL)
            EndDialog(dialog, 1);
        return TRUE;
    default:
        return FALSE;
    }
}
