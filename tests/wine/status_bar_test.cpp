// The status bar as the user sees it: its panes, texts and size grip rendered
// into a DIB section, and the corner it reports to the platform.
#include "statusbar/status_bar.h"

#include "base/instance.h"
#include "gdi_tally.h"
#include "pixels.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr int kWidth = 520;
constexpr int kHeight = 20;

class StatusBar : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        SetModuleInstance(GetModuleHandleA(nullptr));
        ASSERT_EQ(RegisterStatusBarClass(ModuleInstance), 1);
        EXPECT_EQ(RegisterStatusBarClass(ModuleInstance), 0);   // already there: refused
        WNDCLASSA parentClass = {};
        parentClass.lpfnWndProc = DefWindowProcA;
        parentClass.hInstance = ModuleInstance;
        parentClass.lpszClassName = "StatusBarParent";
        RegisterClassA(&parentClass);
    }

    void SetUp() override
    {
        parent_ = CreateWindowExA(0, "StatusBarParent", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 600, 200, nullptr,
                                  nullptr, ModuleInstance, nullptr);
        ASSERT_NE(parent_, nullptr);
        bar_ = CreateStatusBar(parent_, ID_STATUSBAR);
        ASSERT_NE(bar_, nullptr);
        SetWindowPos(bar_, nullptr, 0, 100, kWidth, kHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void TearDown() override { DestroyWindow(parent_); }

    // The status bar as the platform prints it: background, then the painting.
    void Print(Canvas& canvas) const
    {
        SendMessageA(bar_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
        SendMessageA(bar_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    }

    HWND parent_ = nullptr;
    HWND bar_ = nullptr;
};

// The black pixels of a text drawn alone in the bar's font, the way a pane or
// the label places it.
std::vector<POINT> TextAlone(const char* text, RECT box, UINT format)
{
    Canvas alone(kWidth, kHeight, kLightGray);
    HGDIOBJ previous = SelectObject(alone.Dc(), GetStockObject(ANSI_VAR_FONT));
    SetBkMode(alone.Dc(), TRANSPARENT);
    DrawTextA(alone.Dc(), text, -1, &box, format | DT_VCENTER | DT_SINGLELINE);
    SelectObject(alone.Dc(), previous);
    return alone.Ink(RECT{0, 2, kWidth, kHeight}, kLightGray);
}

std::vector<POINT> Inside(const std::vector<POINT>& points, RECT box)
{
    std::vector<POINT> inside;
    for (POINT p : points)
        if (p.x >= box.left && p.x < box.right && p.y >= box.top && p.y < box.bottom)
            inside.push_back(p);
    return inside;
}

const RECT kLabelBox = {0, 2, 55, kHeight};
const RECT kPositionInside = {57, 4, 139, 19};
const RECT kPathInside = {147, 4, 469, 19};

TEST_F(StatusBar, ClassAndWindow)
{
    WNDCLASSA info = {};
    ASSERT_TRUE(GetClassInfoA(ModuleInstance, "KORVALSBAR", &info));
    EXPECT_EQ(info.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(info.hbrBackground, GetStockObject(LTGRAY_BRUSH));
    EXPECT_EQ(info.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_NE(info.hIcon, nullptr);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(bar_, GWL_STYLE)), static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
    EXPECT_EQ(GetDlgCtrlID(bar_), ID_STATUSBAR);
    EXPECT_EQ(GetDlgItem(parent_, ID_STATUSBAR), bar_);
}

TEST_F(StatusBar, TopLinesAndSunkenPanes)
{
    Canvas canvas(kWidth, kHeight, kUntouched);
    Print(canvas);
    for (int x : {0, 100, 300, kWidth - 1}) {
        EXPECT_EQ(canvas.At(x, 0), kGray) << x;
        EXPECT_EQ(canvas.At(x, 1), kWhite) << x;
    }
    struct Pane { int left; int right; };
    for (Pane pane : {Pane{56, 140}, Pane{146, 470}}) {
        int l = pane.left;
        int r = pane.right - 1;
        EXPECT_EQ(canvas.At(l, 3), kGray) << l;              // top-left corner
        EXPECT_EQ(canvas.At(l + 20, 3), kGray) << l;         // top edge
        EXPECT_EQ(canvas.At(r, 3), kWhite) << l;             // top-right corner: white over gray
        EXPECT_EQ(canvas.At(l, 11), kGray) << l;             // left edge
        EXPECT_EQ(canvas.At(l, 19), kWhite) << l;            // bottom-left corner: white over gray
        EXPECT_EQ(canvas.At(l + 20, 19), kWhite) << l;       // bottom edge
        EXPECT_EQ(canvas.At(r, 11), kWhite) << l;            // right edge
        EXPECT_EQ(canvas.At(r, 19), kWhite) << l;
        RECT inside = {l + 1, 4, r, 19};
        // Before the first update the panes are empty boxes.
        EXPECT_EQ(canvas.Count(inside, kLightGray), (inside.right - inside.left) * 15) << l;
        EXPECT_EQ(canvas.At(l - 1, 11), kLightGray) << l;    // the background beside the pane
    }
    // The label stands right-aligned in its box.
    EXPECT_TRUE(SamePoints(Inside(canvas.Ink(RECT{0, 2, kWidth, kHeight}, kLightGray), kLabelBox),
                           TextAlone("Animation:", RECT{1, 3, 54, 20}, DT_RIGHT)));
}

TEST_F(StatusBar, ShowsThePositionAndThePath)
{
    struct Case { int index; int count; const char* path; const char* position; const char* read; };
    const Case cases[] = {
        {0, 12, "K:\\CLIPS\\SONNE.FLI", "1 von 12", "Animation: 1 von 12 K:\\CLIPS\\SONNE.FLI"},
        {-1, 0, "", "0 von 0", "Animation: 0 von 0"},
        {199, 200, "K:\\ZEIT.FLI", "200 von 200", "Animation: 200 von 200 K:\\ZEIT.FLI"},
    };
    for (const Case& c : cases) {
        ValidateRect(bar_, nullptr);
        UpdateStatusBar(parent_, ID_STATUSBAR, c.index, c.count, c.path);
        RECT update = {};
        EXPECT_TRUE(GetUpdateRect(bar_, &update, FALSE)) << "the bar is to be repainted";
        EXPECT_EQ(update.right, kWidth);

        Canvas canvas(kWidth, kHeight, kUntouched);
        Print(canvas);
        std::vector<POINT> ink = canvas.Ink(RECT{0, 2, kWidth, kHeight}, kLightGray);
        EXPECT_TRUE(SamePoints(Inside(ink, kPositionInside), TextAlone(c.position, RECT{57, 3, 139, 20}, DT_CENTER)))
            << c.position;
        EXPECT_TRUE(SamePoints(Inside(ink, kPathInside), TextAlone(c.path, RECT{147, 3, 469, 20}, DT_LEFT))) << c.path;
        if (c.path[0] != '\0') {
            EXPECT_GT(canvas.Count(kPathInside, kBlack), 0);
        }
        // What a screen reader reads: the panes' texts joined by blanks.
        char text[200] = "";
        EXPECT_EQ(GetWindowTextLengthA(bar_), static_cast<int>(std::strlen(c.read)));
        EXPECT_EQ(GetWindowTextA(bar_, text, sizeof text), static_cast<int>(std::strlen(c.read)));
        EXPECT_STREQ(text, c.read);
    }
}

TEST_F(StatusBar, TextIsCutToTheCallersBuffer)
{
    UpdateStatusBar(parent_, ID_STATUSBAR, 2, 12, "E:\\ANIM\\JONGLEUR.FLC");
    char text[12];
    std::memset(text, '#', sizeof text);
    EXPECT_EQ(SendMessageA(bar_, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)), 11);
    EXPECT_STREQ(text, "Animation: ");
    EXPECT_EQ(SendMessageA(bar_, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(text)), 0);
    EXPECT_EQ(SendMessageA(bar_, WM_GETTEXTLENGTH, 0, 0), 40);
}

TEST_F(StatusBar, PaintsIntoAnyRectangle)
{
    const StatusTexts texts = {"Animation:", "3 von 12", "E:\\ANIM\\JONGLEUR.FLC"};
    Canvas atOrigin(kWidth, kHeight, kLightGray);
    PaintStatusBar(atOrigin.Dc(), RECT{0, 0, kWidth, kHeight}, texts, true);
    Canvas shifted(kWidth + 30, kHeight + 10, kLightGray);
    PaintStatusBar(shifted.Dc(), RECT{30, 10, kWidth + 30, kHeight + 10}, texts, true);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(shifted.At(x + 30, y + 10), atOrigin.At(x, y)) << x << ',' << y;
    EXPECT_EQ(shifted.Count(RECT{0, 0, kWidth + 30, 10}, kLightGray), (kWidth + 30) * 10);
    EXPECT_GT(atOrigin.Count(kPathInside, kBlack), 0);
}

TEST_F(StatusBar, LongPathIsClippedAtThePaneAndReadWhole)
{
    // The longest path an animation can have: the pane shows what fits, a
    // screen reader gets all of it.
    std::string path = "K:\\" + std::string(256, 'W');
    UpdateStatusBar(parent_, ID_STATUSBAR, 0, 1, path.c_str());
    char text[400] = "";
    EXPECT_EQ(GetWindowTextA(bar_, text, sizeof text), static_cast<int>(19 + path.size()));
    EXPECT_EQ(std::string(text), "Animation: 1 von 1 " + path);
    Canvas canvas(kWidth, kHeight, kUntouched);
    Print(canvas);
    EXPECT_GT(canvas.Count(RECT{460, 4, 469, 19}, kBlack), 0);      // the text reaches the edge...
    for (int y = 3; y < 20; ++y)
        EXPECT_EQ(canvas.At(469, y), kWhite) << y;                  // ...and stops before it
    EXPECT_EQ(canvas.Count(RECT{470, 2, 506, 20}, kLightGray), 36 * 18);
}

TEST_F(StatusBar, SizeGripInTheNewerLookOnly)
{
    struct Pixel { int x; int y; COLORREF colour; };
    const Pixel grip[] = {
        {519, 7, kWhite}, {513, 13, kWhite}, {508, 18, kWhite},      // line 13
        {519, 8, kGray}, {509, 18, kGray},                           // line 12
        {519, 9, kGray}, {519, 10, kGray},                           // lines 11 and 10
        {519, 11, kLightGray}, {512, 18, kLightGray},                // line 9 is left out
        {519, 12, kWhite}, {513, 18, kWhite},                        // line 8
        {519, 13, kGray}, {519, 14, kGray}, {519, 15, kGray},        // lines 7, 6, 5
        {519, 16, kLightGray},                                       // line 4 is left out
        {519, 17, kWhite}, {518, 18, kWhite},                        // line 3
        {519, 18, kGray},                                            // line 2
        {519, 19, kLightGray}, {507, 19, kLightGray}, {519, 6, kLightGray}, {506, 18, kLightGray},
    };
    for (int newerLook : {1, 0}) {
        Canvas canvas(kWidth, kHeight, kLightGray);
        GdiTally tally;
        PaintStatusBar(canvas.Dc(), RECT{0, 0, kWidth, kHeight}, StatusTexts{"Animation:", "", ""}, newerLook != 0);
        EXPECT_EQ(tally.Made(), 0) << "the grip is drawn in the device context's own pen";
        EXPECT_EQ(tally.Live(), 0);
        if (newerLook) {
            for (const Pixel& p : grip)
                EXPECT_EQ(canvas.At(p.x, p.y), p.colour) << p.x << ',' << p.y;
            EXPECT_EQ(canvas.Count(RECT{507, 6, kWidth, kHeight}, kWhite), 12 + 7 + 2);
            EXPECT_EQ(canvas.Count(RECT{507, 6, kWidth, kHeight}, kGray), 11 + 10 + 9 + 6 + 5 + 4 + 1);
        } else {
            EXPECT_EQ(canvas.Count(RECT{500, 2, kWidth, kHeight}, kLightGray), 20 * 18);
        }
    }
}

TEST_F(StatusBar, ReportsTheBottomRightCornerForSizing)
{
    // Wine and current Windows versions report 4.0 or later: the newer look.
    ASSERT_GT(GetVersion() & 0xFF, 3u);
    struct Case { int x; int y; LRESULT expected; };
    const Case cases[] = {
        {507, 7, HTBOTTOMRIGHT},
        {519, 19, HTBOTTOMRIGHT},
        {506, 19, HTCLIENT},
        {519, 6, HTCLIENT},
        {10, 10, HTCLIENT},
    };
    for (const Case& c : cases) {
        POINT point = {c.x, c.y};
        ClientToScreen(bar_, &point);
        LRESULT hit = SendMessageA(bar_, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
        EXPECT_EQ(hit, c.expected) << c.x << ',' << c.y;
    }
}

// The system commands the parent was sent; it carries none of them out, so
// no sizing loop starts in the test.
std::vector<WPARAM> ParentCommands;

LRESULT CALLBACK RecordingParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSCOMMAND) {
        ParentCommands.push_back(wParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(StatusBar, PressingTheGripSizesTheParentFromItsBottomRightCorner)
{
    SetWindowLongPtrA(parent_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingParentProc));
    ParentCommands.clear();
    POINT point = {515, 15};
    ClientToScreen(bar_, &point);
    SendMessageA(bar_, WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, MAKELPARAM(point.x, point.y));
    EXPECT_EQ(ParentCommands, std::vector<WPARAM>{SC_SIZE | WMSZ_BOTTOMRIGHT});

    ParentCommands.clear();
    SendMessageA(bar_, WM_NCLBUTTONDOWN, HTCLIENT, MAKELPARAM(point.x, point.y));
    EXPECT_TRUE(ParentCommands.empty());
}

TEST(StatusBarAtDpi, PanesHoldTheirTextsAtEveryDpi)
{
    // The longest position the list can show, and a path that fits its pane at 96 DPI.
    const StatusTexts texts = {"Animation:", "200 von 200", "E:\\ANIM\\WELTALL\\PLANETEN.FLC"};
    for (int dpi : {96, 120, 144, 192, 288, 336, 480}) {
        SCOPED_TRACE(testing::Message() << dpi << " DPI");
        const StatusGeometry bar = StatusGeometryAt(dpi);
        const int width = ScaleToDpi(kWidth, dpi);
        Canvas canvas(width, bar.height, kLightGray);
        GdiTally tally;
        PaintStatusBar(canvas.Dc(), RECT{0, 0, width, bar.height}, texts, true, dpi);
        EXPECT_EQ(tally.Live(), 0) << "the font lives for one paint";

        // The top lines and the panes' edges, a line wide each.
        for (int n = 0; n < bar.line; ++n) {
            EXPECT_EQ(canvas.At(width / 2, n), kGray);
            EXPECT_EQ(canvas.At(width / 2, bar.line + n), kWhite);
            EXPECT_EQ(canvas.At(bar.path.left + n, bar.height / 2), kGray);
            EXPECT_EQ(canvas.At(bar.path.right - 1 - n, bar.height / 2), kWhite);
        }
        EXPECT_EQ(canvas.At(bar.path.left + bar.line, bar.path.top + bar.line), kLightGray);

        // Text is black, and nothing else is. A text too wide for its box is
        // cut where its alignment pushes it out: the right-aligned label at
        // its left, the centred position at both sides, the path at its right.
        // Each keeps a clear column there.
        struct Box { const char* what; StatusBox box; int inset; bool leftClear; };
        const Box boxes[] = {
            {"label", bar.label, 0, true}, {"position", bar.position, bar.line, true}, {"path", bar.path, bar.line, false},
        };
        for (const Box& b : boxes) {
            RECT inside = {b.box.left + b.inset, b.box.top, b.box.right - b.inset, b.box.bottom};
            std::vector<POINT> ink = canvas.Pixels(inside, kBlack);
            ASSERT_FALSE(ink.empty()) << b.what;
            RECT shown = Bounds(ink);
            if (b.leftClear) {
                EXPECT_GT(shown.left, inside.left) << b.what;
            }
            EXPECT_LT(shown.right, inside.right) << b.what;
            EXPECT_GE(shown.top, b.box.top + bar.line) << b.what;
            EXPECT_LE(shown.bottom, b.box.bottom - bar.line) << b.what;
        }
        // No text outside the boxes.
        EXPECT_EQ(canvas.Count(RECT{0, 0, width, bar.label.top}, kBlack), 0);
        EXPECT_EQ(canvas.Count(RECT{bar.path.right, 0, width, bar.height}, kBlack), 0);
        // The grip reaches as far as its scaled span, and no further.
        EXPECT_EQ(canvas.At(width - 1, bar.height - bar.gripSpan), kWhite);
        EXPECT_EQ(canvas.At(width - 1, bar.height - bar.gripSpan - 1), kLightGray);
    }
}

} // namespace
