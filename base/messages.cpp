#include "base/messages.h"

#include "base/instance.h"
#include "base/message_text.h"
#include "base/themed_controls.h"
#include "res/resource.h"

namespace {

// Shows `text` under caption `captionId` (0: "Fehler") in the system's visual style.
int ShowText(HWND owner, const char* text, int captionId, UINT boxType)
{
    char caption[40] = "";
    LoadStringA(ModuleInstance, captionId != 0 ? captionId : IDS_ERROR_CAPTION, caption, sizeof caption);
    ThemedControls themed;
    return MessageBoxA(owner, text, caption, boxType);
}

} // namespace

int ShowStringMessage(HWND owner, int textId, int captionId, UINT boxType)
{
    char text[kMessageSize] = "";
    LoadStringA(ModuleInstance, textId, text, sizeof text);
    return ShowText(owner, text, captionId, boxType);
}

int ShowFormattedMessage(HWND owner, int formatId, const char* argument, int captionId, UINT boxType)
{
    char format[80] = "";
    char text[kMessageSize];
    LoadStringA(ModuleInstance, formatId, format, sizeof format);
    FormatMessageText(text, format, argument);
    return ShowText(owner, text, captionId, boxType);
}
