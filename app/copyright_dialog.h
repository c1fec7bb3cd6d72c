#pragma once

#include <windows.h>

// Dialog "Copyright Information": OK, Escape and the close box end it.
INT_PTR CALLBACK CopyrightDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the dialog over `owner`, in the system's visual style, until it ends.
void RunCopyrightDialog(HWND owner);
