#include "app/copyright_dialog.h"

#include "base/instance.h"
#include "base/themed_controls.h"
#include "res/resource.h"

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

void RunCopyrightDialog(HWND owner)
{
    ThemedControls themed;
    DialogBoxParamA(ModuleInstance, MAKEINTRESOURCEA(IDD_COPYRIGHT), owner, CopyrightDialogProc, 0);
}
