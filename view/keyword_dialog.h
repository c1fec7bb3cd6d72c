// The "Selektieren" dialog.
#pragma once

#include <windows.h>

// 1 when the list was refilled, 0 when the dialog changed nothing.
int RunKeywordDialog(HWND window, int listId);

INT_PTR CALLBACK KeywordDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
