#include "watch/viewer_status.h"

#include "base/dpi.h"
#include "base/instance.h"
#include "res/resource.h"
#include "watch/preview_reading.h"
#include "watch/viewer_layout.h"
#include "watch/viewer_saving.h"
#include "watch/viewer_state.h"

namespace {

constexpr int kStatusFontHeight = 12;
constexpr std::size_t kTitleSize = 128;
constexpr const char* kScaledFace = "Tahoma";

} // namespace

void StatusLine(wchar_t (&line)[kViewerStatusSize])
{
    line[0] = L'\0';
    if (Saving()) {
        if (LoadStringW(ModuleInstance, IDS_VIEWER_SAVING, line, kViewerStatusSize) <= 0)
            line[0] = L'\0';
        return;
    }
    // While a row is read, the last row's line stays (with the commands'
    // changes); nothing before the window was first shown.
    const bool held = V.settling && V.shown;
    if (V.settling && !V.shown)
        return;
    const PreviewFacts& facts = held ? V.heldFacts : V.facts;
    if (PreviewAnswerTextId(facts.answer) != 0) {
        if (LoadStringW(ModuleInstance, PreviewAnswerTextId(facts.answer), line, kViewerStatusSize) <= 0)
            line[0] = L'\0';
        return;
    }
    if (facts.answer == PreviewAnswer::Pending && V.path[0] != '\0') {
        if (LoadStringW(ModuleInstance, IDS_VIEWER_READING, line, kViewerStatusSize) <= 0)
            line[0] = L'\0';
        return;
    }
    if (facts.answer != PreviewAnswer::Playing)
        return;
    // The damage's words come from the string table; the line is Windows-1252.
    wchar_t wideFormat[64] = L"";
    LoadStringW(ModuleInstance, IDS_PREVIEW_DAMAGED_AT, wideFormat, 64);
    char format[64] = "";
    WideCharToMultiByte(1252, 0, wideFormat, -1, format, sizeof format, nullptr, nullptr);
    ViewerStatus status;
    status.info = facts.info;
    status.frame = held ? V.heldFrame : (V.hasFrame ? V.frame->number : 0);
    status.percent = held ? V.heldPercent : ShownPercent();
    status.tallPixels = V.tallPixels && ViewerAspectApplies(facts.info.width, facts.info.height);
    status.paused = V.paused;
    status.speed = V.speed;
    status.damagedAt = facts.damagedAt;
    status.playingAll = V.playingAll;
    char text[kViewerStatusSize];
    FormatViewerStatus(text, status, format);
    if (MultiByteToWideChar(1252, 0, text, -1, line, kViewerStatusSize) == 0)
        line[0] = L'\0';
}

void UpdateStatus()
{
    wchar_t line[kViewerStatusSize];
    StatusLine(line);
    wchar_t shown[kViewerStatusSize] = L"";
    GetWindowTextW(V.status, shown, kViewerStatusSize);
    if (lstrcmpW(line, shown) != 0)
        SetWindowTextW(V.status, line);
}

void SetTitle(const char* title, const char* path)
{
    wchar_t text[kTitleSize * 2 + kAnimationPathSize] = L"";
    int used = MultiByteToWideChar(CP_ACP, 0, title, -1, text, kTitleSize);
    used = used > 0 ? used - 1 : 0;
    if (used > 0)
        lstrcpynW(text + used, L" \x2013 ", 4);
    used = lstrlenW(text);
    MultiByteToWideChar(CP_ACP, 0, ViewerFileName(path), -1, text + used, kAnimationPathSize);
    SetWindowTextW(V.window, text);
}

void MakeFont()
{
    if (V.font != nullptr)
        DeleteObject(V.font);
    V.font = nullptr;
    if (V.dpi != kBaseDpi)
        V.font = CreateFontA(ScaleToDpi(kStatusFontHeight, V.dpi), 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0,
                             VARIABLE_PITCH | FF_SWISS, kScaledFace);
    HGDIOBJ font = V.font != nullptr ? static_cast<HGDIOBJ>(V.font) : GetStockObject(ANSI_VAR_FONT);
    SendMessageA(V.status, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}
