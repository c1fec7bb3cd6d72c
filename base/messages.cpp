#include "base/messages.h"

#include "base/instance.h"
#include "base/message_text.h"
#include "base/themed_controls.h"
#include "res/resource.h"

namespace {

void LoadCaption(char (&caption)[40], int captionId)
{
    caption[0] = '\0';
    LoadStringA(ModuleInstance, captionId != 0 ? captionId : IDS_ERROR_CAPTION, caption, sizeof caption);
}

} // namespace

int ShowStringMessage(HWND owner, int textId, int captionId, UINT boxType)
{
    char text[kMessageSize];
    char caption[40];
    text[0] = '\0';
    LoadStringA(ModuleInstance, textId, text, sizeof text);
    LoadCaption(caption, captionId);
    ThemedControls themed;
    return MessageBoxA(owner, text, caption, boxType);
}

int ShowFormattedMessage(HWND owner, int formatId, const char* argument, int captionId, UINT boxType)
{
    char format[80];
    char text[kMessageSize];
    char caption[40];
    format[0] = '\0';
    LoadStringA(ModuleInstance, formatId, format, sizeof format);
    FormatMessageText(text, format, argument);
    LoadCaption(caption, captionId);
    ThemedControls themed;
    return MessageBoxA(owner, text, caption, boxType);
}
