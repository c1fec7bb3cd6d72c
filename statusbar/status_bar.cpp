#include "statusbar/status_bar.h"

#include "base/instance.h"
#include "base/system_colours.h"
#include "base/text.h"
#include "res/resource.h"

#include <cstring>

namespace {

const char kStatusBarClass[] = "KORVALSBAR";
const char kLabel[] = "Animation:";

// The one status bar's state; the class keeps no per-window data.
struct StatusBarState {
    StatusTexts texts;
    int clientWidth;
    int clientHeight;
    bool newerLook;
    int dpi;
};

StatusBarState StatusBar;

RECT ToRect(const StatusBox& box)
{
    RECT rectangle = {box.left, box.top, box.right, box.bottom};
    return rectangle;
}

// Diagonal lines in the bottom-right corner, in the device context's own pen.
void DrawSizeGrip(HDC dc, int right, int bottom, int dpi, const ColourScheme& colours)
{
    HGDIOBJ previous = SelectObject(dc, GetStockObject(DC_PEN));
    COLORREF previousColour = GetDCPenColor(dc);
    for (int n = ScaleToDpi(kSizeGripSpan, dpi); n >= 1; --n) {
        GripPen pen = GripDiagonalPen(n, dpi);
        if (pen == GripPen::None)
            continue;
        SetDCPenColor(dc, pen == GripPen::White ? colours.edgeLight : colours.edgeShadow);
        MoveToEx(dc, right - 1, bottom - n, nullptr);
        LineTo(dc, right - n, bottom - 1);
    }
    SetDCPenColor(dc, previousColour);
    SelectObject(dc, previous);
}

LRESULT OnCreate()
{
    CopyText(StatusBar.texts.label, kLabel);
    StatusBar.texts.position[0] = '\0';
    StatusBar.texts.path[0] = '\0';
    StatusBar.newerLook = IsNewerLook(GetVersion());
    StatusBar.dpi = kBaseDpi;
    return 0;
}

void PaintContent(HWND window, HDC dc)
{
    RECT client;
    GetClientRect(window, &client);
    PaintStatusBar(dc, client, StatusBar.texts, StatusBar.newerLook, StatusBar.dpi, Colours);
}

// The background in the scheme's face colour (the class brush is the classic one).
LRESULT OnEraseBackground(HWND window, HDC dc)
{
    RECT client;
    GetClientRect(window, &client);
    FillWithColour(dc, 0, 0, client.right, client.bottom, Colours.face);
    return 1;
}

LRESULT OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintContent(window, dc);
    EndPaint(window, &paint);
    return 0;
}

// The panes' texts as the window's text, so that a screen reader can read
// the bar: `capacity` characters at most, the terminator included.
LRESULT OnGetText(WPARAM capacity, LPARAM buffer)
{
    if (capacity == 0 || buffer == 0)
        return 0;
    char line[kStatusTextSize];
    JoinStatusTexts(line, StatusBar.texts);
    char* destination = reinterpret_cast<char*>(buffer);
    CopyText(destination, capacity, line);
    return static_cast<LRESULT>(std::strlen(destination));
}

LRESULT OnGetTextLength()
{
    char line[kStatusTextSize];
    JoinStatusTexts(line, StatusBar.texts);
    return static_cast<LRESULT>(std::strlen(line));
}

LRESULT OnHitTest(HWND window, WPARAM wParam, LPARAM lParam)
{
    // Screen coordinates are signed: monitors left of or above the primary one.
    POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ScreenToClient(window, &point);
    if (IsInSizeGrip(StatusBar.newerLook, point.x, point.y, StatusBar.clientWidth, StatusBar.clientHeight,
                     StatusBar.dpi))
        return HTBOTTOMRIGHT;
    return DefWindowProcA(window, WM_NCHITTEST, wParam, lParam);
}

// The grip sizes the main window: the platform's own sizing of a child
// window without a sizing frame would do nothing at all.
LRESULT OnNonClientButtonDown(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (wParam == HTBOTTOMRIGHT)
        return SendMessageA(GetParent(window), WM_SYSCOMMAND, SC_SIZE | WMSZ_BOTTOMRIGHT, lParam);
    return DefWindowProcA(window, WM_NCLBUTTONDOWN, wParam, lParam);
}

} // namespace

int RegisterStatusBarClass(HINSTANCE instance)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = StatusBarProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_KORVAL));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    windowClass.lpszClassName = kStatusBarClass;
    // A child window shows no icon: given the class icon as the small one, the
    // platform does not make a small copy of it at registration.
    windowClass.hIconSm = windowClass.hIcon;
    return RegisterClassExA(&windowClass) != 0 ? 1 : 0;
}

HWND CreateStatusBar(HWND parent, int id, int dpi)
{
    HWND bar = CreateWindowExA(0, kStatusBarClass, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance, nullptr);
    if (bar != nullptr)
        StatusBar.dpi = dpi;
    return bar;
}

void SetStatusBarDpi(HWND parent, int id, int dpi)
{
    StatusBar.dpi = dpi;
    InvalidateRect(GetDlgItem(parent, id), nullptr, TRUE);
}

void UpdateStatusBar(HWND parent, int id, int index, int count, const char* path)
{
    FormatStatusPosition(StatusBar.texts.position, index, count);
    CopyText(StatusBar.texts.path, path != nullptr ? path : "");
    // The repaint fills the panes anew, so the old texts need no erasing.
    InvalidateRect(GetDlgItem(parent, id), nullptr, FALSE);
}

LRESULT CALLBACK StatusBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate();
    case WM_SIZE:
        StatusBar.clientWidth = LOWORD(lParam);
        StatusBar.clientHeight = HIWORD(lParam);
        return 0;
    case WM_PAINT:
        return OnPaint(window);
    case WM_ERASEBKGND:
        return OnEraseBackground(window, reinterpret_cast<HDC>(wParam));
    case WM_PRINTCLIENT:
        PaintContent(window, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_GETTEXT:
        return OnGetText(wParam, lParam);
    case WM_GETTEXTLENGTH:
        return OnGetTextLength();
    case WM_NCHITTEST:
        return OnHitTest(window, wParam, lParam);
    case WM_NCLBUTTONDOWN:
        return OnNonClientButtonDown(window, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void PaintStatusBar(HDC dc, const RECT& area, const StatusTexts& texts, bool newerLook, int dpi,
                    const ColourScheme& colours)
{
    const StatusGeometry geometry = StatusGeometryAt(dpi);
    const int line = geometry.line;
    // The panes are placed from the bar's top-left corner.
    POINT origin;
    OffsetViewportOrgEx(dc, area.left, area.top, &origin);
    int right = area.right - area.left;
    int bottom = area.bottom - area.top;

    // A shadow line over a light one along the top edge.
    FillWithColour(dc, 0, 0, right, line, colours.edgeShadow);
    FillWithColour(dc, 0, line, right, line, colours.edgeLight);

    // The stock font keeps its 96-DPI size: at other DPIs the bar draws in a
    // font of its own, made for this paint only.
    HFONT scaledFont = nullptr;
    if (dpi != kBaseDpi)
        scaledFont = CreateFontA(geometry.fontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0,
                                 VARIABLE_PITCH | FF_SWISS, kStatusScaledFace);
    SetBkMode(dc, TRANSPARENT);
    const COLORREF previousColour = SetTextColor(dc, colours.faceText);
    HGDIOBJ previousFont =
        SelectObject(dc, scaledFont != nullptr ? static_cast<HGDIOBJ>(scaledFont) : GetStockObject(ANSI_VAR_FONT));
    RECT label = ToRect(geometry.label);
    DrawTextA(dc, texts.label, -1, &label, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    DrawSunkenPane(dc, ToRect(geometry.position), texts.position, DT_CENTER, line, colours);
    DrawSunkenPane(dc, ToRect(geometry.path), texts.path, DT_LEFT, line, colours);
    SelectObject(dc, previousFont);
    SetTextColor(dc, previousColour);
    if (scaledFont != nullptr)
        DeleteObject(scaledFont);

    if (newerLook)
        DrawSizeGrip(dc, right, bottom, dpi, colours);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
}

void DrawSunkenPane(HDC dc, const RECT& rectangle, const char* text, UINT alignment, int line,
                    const ColourScheme& colours)
{
    int left = rectangle.left;
    int top = rectangle.top;
    int width = rectangle.right - rectangle.left;
    int height = rectangle.bottom - rectangle.top;
    FillWithColour(dc, left + line, top + line, width - 2 * line, height - 2 * line, colours.face);
    FillWithColour(dc, left, top, width, line, colours.edgeShadow);
    FillWithColour(dc, left, top, line, height, colours.edgeShadow);
    // Light after shadow: the bottom-left and top-right corners end up light.
    FillWithColour(dc, left, rectangle.bottom - line, width, line, colours.edgeLight);
    FillWithColour(dc, rectangle.right - line, top, line, height, colours.edgeLight);
    SetBkMode(dc, TRANSPARENT);

    RECT textBox = {left + line, top, rectangle.right - line, rectangle.bottom};
    DrawTextA(dc, text, -1, &textBox, alignment | DT_VCENTER | DT_SINGLELINE);
}
