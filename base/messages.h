// Message boxes over the string table.
#pragma once

#include <windows.h>

// Shows string `textId` with caption `captionId` (0: "Fehler").
int ShowStringMessage(HWND owner, int textId, int captionId, UINT boxType);

// Shows string `formatId` with `argument` in place of its "%s"; returns the
// button that closed the box.
int ShowFormattedMessage(HWND owner, int formatId, const char* argument, int captionId, UINT boxType);
