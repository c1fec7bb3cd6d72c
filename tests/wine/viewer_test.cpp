// The viewer window: how it opens and closes, its title and status line, the
// keys that move through the list and the frames, zoom and the 6:5 pixels by
// the pixels it paints, "Alle abspielen", and saving.
#include "anim/flc_convert.h"
#include "anim/flc_sources.h"
#include "base/instance.h"
#include "gdi_tally.h"
#include "harness.h"
#include "main_window_fixture.h"
#include "pixels.h"
#include "res/resource.h"
#include "tests/support/failing_allocator.h"
#include "tests/support/flc_writer.h"
#include "app/main_window.h"
#include "watch/preview_player.h"
#include "watch/reading_thread.h"
#include "watch/viewer_save.h"
#include "watch/viewer_window.h"

#include <gtest/gtest.h>
#include <commdlg.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Rows in title order, each with its file as the test writes it.
struct Row {
    const char* title;
    const char* file;
};
const Row kRows[] = {
    {"Ball", "BALL.FLC"},       // 320 x 200, 6 frames 100 ms apart
    {"Bild", "BIG.FLC"},        // 640 x 480, 3 frames
    {"Cut", "CUT.FLC"},         // 16 x 8, 5 frames 1 s apart; frame 3 turns red and breaks
    {"Defekt", "BROKEN.FLC"},   // cut in its first frame
    {"Fehlt", "MISSING.FLC"},   // not written
    {"Ger\xE4t", "NUL"},         // a device, never read
};
enum RowIndex { kBall, kBig, kCut, kBroken, kMissing, kDevice, kRowCount };
constexpr int kBallFrames = 6;

std::wstring Wide(const std::string& text);

// The picture's pane inside the viewer: it has the scroll bars.
HWND Pane()
{
    return FindWindowExA(ViewerWindow(), nullptr, "KorvalViewerPane", nullptr);
}

class Viewer : public MainWindowFixture {
protected:
    std::string Catalogue() const override { return folder_ + "KORVAL.INI"; }

    void SetUp() override
    {
        folder_ = ScratchFolder("viewer");
        std::string catalogue = "[Authors]\r\nAuthor1=Zora Zimmer\r\n[Keywords]\r\nKeyword1=Sport\r\n[Animations]\r\n";
        for (int n = 0; n < kRowCount; ++n)
            catalogue += "Animation" + std::to_string(n + 1) + "=0;1;" + kRows[n].title + ";" + kRows[n].file
                         + ";05.03.98;100;1\r\n";
        catalogue += "[Settings]\r\nBasePath=ANIM\\\r\n";
        WriteFileBytes(folder_ + "KORVAL.INI", catalogue);
        anim_ = folder_ + "ANIM\\";
        WriteFileBytes(anim_ + "BALL.FLC", flc_writer::GradientFlc(320, 200, kBallFrames, 100));
        WriteFileBytes(anim_ + "BIG.FLC", flc_writer::GradientFlc(640, 480, 3, 100));
        WriteFileBytes(anim_ + "CUT.FLC", flc_writer::RedThenCutInFrame(flc_writer::GradientFlc(16, 8, 5, 1000), 3));
        WriteFileBytes(anim_ + "BROKEN.FLC", flc_writer::CutInFrame(flc_writer::GradientFlc(16, 8, 2, 100), 1));
        MainWindowFixture::SetUp();
        SetControl(false);
    }

    void TearDown() override
    {
        SetControl(false);
        MainWindowFixture::TearDown();
        // The viewer closes with the main window, and its reading ends.
        EXPECT_EQ(ViewerWindow(), nullptr);
        EXPECT_EQ(FindWindowA("KorvalViewer", nullptr), nullptr);
        EXPECT_TRUE(WaitFor([] { return LiveReadingThreads() == 0; }, kPatience));
    }

    HWND List() const { return GetDlgItem(window_, ID_LIST); }

    void Select(int row)
    {
        SendMessageA(List(), LB_SETCURSEL, row, 0);
        SendMessageA(window_, WM_COMMAND, MAKEWPARAM(ID_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(List()));
    }

    // The viewer on `row`, once it shows its first words.
    HWND Open(int row)
    {
        Select(row);
        Command(ID_VIEWER);
        WaitFor([] { return ViewerWindow() != nullptr && !Status().empty(); }, kPatience);
        return ViewerWindow();
    }

    // The keyboard's Ctrl key as this thread's key state has it.
    static void SetControl(bool down)
    {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = down ? 0x80 : 0;
        keys[VK_LCONTROL] = down ? 0x80 : 0;
        SetKeyboardState(keys);
    }

    static void Key(WPARAM key, bool control = false)
    {
        SetControl(control);
        SendMessageA(ViewerWindow(), WM_KEYDOWN, key, 1);
        SetControl(false);
    }

    static void Char(char character) { SendMessageA(ViewerWindow(), WM_CHAR, static_cast<unsigned char>(character), 1); }

    static std::wstring Status()
    {
        HWND status = FindWindowExA(ViewerWindow(), nullptr, "STATIC", nullptr);
        wchar_t text[256] = L"";
        GetWindowTextW(status, text, 256);
        return text;
    }

    // The status line's texts as they change, until `count` were seen.
    static std::vector<std::wstring> StatusesSeen(std::size_t count)
    {
        std::vector<std::wstring> seen;
        WaitFor([&] {
            if (seen.empty() || seen.back() != Status())
                seen.push_back(Status());
            return seen.size() >= count;
        }, kPatience);
        return seen;
    }

    static bool StatusIs(const std::wstring& text)
    {
        WaitFor([&] { return Status() == text; }, kPatience);
        return Status() == text;
    }

    static std::wstring Title()
    {
        wchar_t text[256] = L"";
        GetWindowTextW(ViewerWindow(), text, 256);
        return text;
    }

    int Selected() const { return static_cast<int>(SendMessageA(List(), LB_GETCURSEL, 0, 0)); }

    std::string folder_;
    std::string anim_;
};

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

// A status line for a failure's message (its characters all Windows-1252's first 256).
std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

COLORREF RampColour(int index)
{
    return RGB(index, 255 - index, index / 2);
}

// The viewer's picture area (the pane within its scroll bars) as it paints
// it, and where in it the picture is.
struct Shot {
    std::unique_ptr<Canvas> canvas;
    RECT picture = {};      // the pixels that are not the background
};

Shot Capture()
{
    RECT client = {};
    GetClientRect(Pane(), &client);
    Shot shot;
    const COLORREF background = GetSysColor(COLOR_APPWORKSPACE);
    shot.canvas.reset(new Canvas(client.right, client.bottom, background));
    SendMessageA(Pane(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shot.canvas->Dc()), PRF_CLIENT);
    RECT area = {0, 0, client.right, client.bottom};
    std::vector<POINT> ink = shot.canvas->Ink(area, background);
    if (ink.empty())
        return shot;
    shot.picture = {ink[0].x, ink[0].y, ink[0].x + 1, ink[0].y + 1};
    for (const POINT& p : ink) {
        shot.picture.left = std::min(shot.picture.left, p.x);
        shot.picture.top = std::min(shot.picture.top, p.y);
        shot.picture.right = std::max(shot.picture.right, p.x + 1);
        shot.picture.bottom = std::max(shot.picture.bottom, p.y + 1);
    }
    return shot;
}

// Which gradient frame (from 0) a 1:1 picture at (left, top) shows; -1 for none.
int FrameShown(const Canvas& canvas, int left, int top, int width, int height)
{
    for (int n = 0; n < 16; ++n) {
        bool same = true;
        for (int y = 0; y < height && same; y += 7)
            for (int x = 0; x < width && same; x += 5)
                same = canvas.At(left + x, top + y) == RampColour((x + y + 16 * n) & 0xFF);
        if (same)
            return n;
    }
    return -1;
}

TEST_F(Viewer, CtrlF3AndTheMenuOpenOneViewerTitledByRowAndFile)
{
    EXPECT_EQ(FindWindowA("KorvalViewer", nullptr), nullptr);   // nothing made before it is asked for
    HACCEL accelerators = LoadAcceleratorsA(ModuleInstance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    Select(kBall);
    MSG key = {List(), WM_KEYDOWN, VK_F3, 0x003D0001, 0, {0, 0}};
    SetControl(true);
    EXPECT_TRUE(TranslateMainWindowKeys(window_, accelerators, &key));
    SetControl(false);
    ASSERT_TRUE(WaitFor([] { return ViewerWindow() != nullptr && !Status().empty(); }, kPatience));
    HWND viewer = ViewerWindow();
    EXPECT_EQ(Title(), L"Ball \x2013 BALL.FLC");
    EXPECT_TRUE(StatusIs(L"Bild 1 von 6, 320 \xD7 200, 0,6 s, 100 %") || Status().find(L"von 6, 320 \xD7 200, 0,6 s, 100 %") != std::wstring::npos)
        << Narrow(Status());
    EXPECT_EQ(GetWindow(viewer, GW_OWNER), window_);
    EXPECT_TRUE(IsWindowEnabled(window_));      // not modal

    // Enter in the viewer starts no companion program: the viewer's keys are its own.
    MSG enter = {viewer, WM_KEYDOWN, VK_RETURN, 0x001C0001, 0, {0, 0}};
    EXPECT_FALSE(TranslateMainWindowKeys(window_, accelerators, &enter));

    // The menu item of the other row: the same one window, now on that row.
    Select(kBig);
    Command(ID_VIEWER);
    EXPECT_EQ(ViewerWindow(), viewer);
    EXPECT_EQ(Title(), L"Bild \x2013 BIG.FLC");

    // Escape closes it, and so does Alt+F4.
    Key(VK_ESCAPE);
    EXPECT_EQ(ViewerWindow(), nullptr);
    EXPECT_FALSE(IsWindow(viewer));
    viewer = Open(kBall);
    ASSERT_NE(viewer, nullptr);
    SendMessageA(viewer, WM_SYSKEYDOWN, VK_F4, 0x203E0001);
    Pump();
    EXPECT_FALSE(IsWindow(viewer));
    // It closes with KORVAL (TearDown checks).
    ASSERT_NE(Open(kBall), nullptr);
}

TEST_F(Viewer, ListKeysMoveTheSelectionAndShowThatRow)
{
    ASSERT_NE(Open(kBall), nullptr);
    struct Step { WPARAM key; int row; const wchar_t* title; const wchar_t* status; };
    const Step steps[] = {
        {VK_DOWN, kBig, L"Bild \x2013 BIG.FLC", L"Bild 1 von 3, 640 \xD7 480, 0,3 s, 100 %"},
        {VK_END, kDevice, L"Ger\xE4t \x2013 NUL", L"Keine Vorschau: keine gew\xF6hnliche Datei (ein Ger\xE4t oder eine Pipe)"},
        {VK_UP, kMissing, L"Fehlt \x2013 MISSING.FLC", L"Keine Vorschau: Datei nicht gefunden"},
        {VK_UP, kBroken, L"Defekt \x2013 BROKEN.FLC", L"Keine Vorschau: Datei besch\xE4" L"digt"},
        {VK_HOME, kBall, L"Ball \x2013 BALL.FLC", nullptr},
        {VK_UP, kBall, L"Ball \x2013 BALL.FLC", nullptr},      // the first row stays
    };
    for (const Step& s : steps) {
        Key(s.key);
        EXPECT_EQ(Selected(), s.row) << s.key;
        EXPECT_EQ(Title(), s.title) << s.key;
        if (s.status != nullptr) {
            EXPECT_TRUE(StatusIs(s.status)) << s.key;
        }
    }
    // A page down and up again: more than one row at a time, and the viewer
    // shows the row it lands on.
    Key(VK_NEXT);
    const int paged = Selected();
    EXPECT_GT(paged, kBig);
    EXPECT_EQ(Title(), std::wstring(Wide(kRows[paged].title)) + L" \x2013 " + Wide(kRows[paged].file));
    Key(VK_PRIOR);
    EXPECT_EQ(Selected(), kBall);
    EXPECT_EQ(Title(), L"Ball \x2013 BALL.FLC");
    // The main window's status bar follows as for any move in the list.
    char bar[300] = "";
    GetWindowTextA(GetDlgItem(window_, ID_STATUSBAR), bar, sizeof bar);
    EXPECT_NE(std::string(bar).find("1 von 6"), std::string::npos) << bar;
}

TEST_F(Viewer, StepPauseFirstAndLastShowThatFrame)
{
    ASSERT_NE(Open(kBall), nullptr);
    SetWindowPos(ViewerWindow(), nullptr, 0, 0, 500, 400, SWP_NOZORDER | SWP_NOMOVE);
    struct Step { WPARAM key; bool control; int frame; };
    const Step steps[] = {
        {VK_HOME, true, 1},
        {VK_RIGHT, false, 2},
        {VK_RIGHT, false, 3},
        {VK_LEFT, false, 2},
        {VK_END, true, 6},
        {VK_RIGHT, false, 1},       // round to the first
        {VK_LEFT, false, 6},
    };
    for (const Step& s : steps) {
        Key(s.key, s.control);
        std::wstring expected = L"Bild " + std::to_wstring(s.frame) + L" von 6, 320 \xD7 200, 0,6 s, 100 %, Pause";
        EXPECT_TRUE(StatusIs(expected)) << s.frame;
        Shot shot = Capture();
        EXPECT_EQ(shot.picture.right - shot.picture.left, 320);
        EXPECT_EQ(FrameShown(*shot.canvas, shot.picture.left, shot.picture.top, 320, 200), s.frame - 1);
    }
    // Space plays on: the frames move and "Pause" goes.
    Key(VK_SPACE);
    EXPECT_TRUE(WaitFor([] { return Status().find(L"Bild 6 ") == std::wstring::npos; }, kPatience));
    EXPECT_EQ(Status().find(L"Pause"), std::wstring::npos);
    Key(VK_SPACE);
    EXPECT_NE(Status().find(L", Pause"), std::wstring::npos);
}

TEST_F(Viewer, ZoomInWholeStepsFitAndTallPixels)
{
    ASSERT_NE(Open(kBall), nullptr);
    // The window grown by hand, so every step below has room.
    RECT outer = {0, 0, 800, 520};
    AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, 0);
    SetWindowPos(ViewerWindow(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOMOVE);
    Key(VK_HOME, true);     // still, so the pixels can be compared
    ASSERT_TRUE(StatusIs(L"Bild 1 von 6, 320 \xD7 200, 0,6 s, 100 %, Pause"));
    struct Step { char key; int width, height; const wchar_t* percent; };
    const Step steps[] = {
        {'+', 640, 400, L"200 %"},
        {'-', 320, 200, L"100 %"},
        {'-', 160, 100, L"50 %"},
        {'0', 640, 400, L"200 %"},      // the largest whole step that fits the 800 x 500 picture area
        {'-', 320, 200, L"100 %"},      // the whole step below the fit
        {'0', 640, 400, L"200 %"},
    };
    for (const Step& s : steps) {
        Char(s.key);
        Shot shot = Capture();
        EXPECT_EQ(shot.picture.right - shot.picture.left, s.width) << s.key;
        EXPECT_EQ(shot.picture.bottom - shot.picture.top, s.height) << s.key;
        // Centred on the background.
        EXPECT_EQ(shot.picture.left, (800 - s.width) / 2) << s.key;
        EXPECT_EQ(shot.picture.top, (500 - s.height) / 2) << s.key;
        EXPECT_NE(Status().find(std::wstring(L", ") + s.percent), std::wstring::npos) << s.key;
    }
    // Ctrl and the wheel zoom too.
    SendMessageA(ViewerWindow(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), MAKELPARAM(10, 10));
    EXPECT_NE(Status().find(L", 300 %"), std::wstring::npos);
    Char('-');
    // Fit in a window the user sized: whole steps, never 288 %.
    RECT sized = {0, 0, 922, 596};
    AdjustWindowRectEx(&sized, WS_OVERLAPPEDWINDOW, FALSE, 0);
    SetWindowPos(ViewerWindow(), nullptr, 0, 0, sized.right - sized.left, sized.bottom - sized.top,
                 SWP_NOZORDER | SWP_NOMOVE);
    Char('0');
    EXPECT_EQ(Capture().picture.right - Capture().picture.left, 640);
    EXPECT_NE(Status().find(L", 200 %"), std::wstring::npos) << Narrow(Status());

    // Nearest pixel at 200 %: each pixel a 2 x 2 block of its own colour.
    Shot twice = Capture();
    for (int y = 0; y < 200; y += 13)
        for (int x = 0; x < 320; x += 11)
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx)
                    ASSERT_EQ(twice.canvas->At(twice.picture.left + 2 * x + dx, twice.picture.top + 2 * y + dy),
                              RampColour((x + y) & 0xFF)) << x << "," << y;

    // 6:5 pixels, off by default: 320 x 200 shows 320 x 240 at 100 %, each
    // row the picture's own, one in five shown twice, the columns unchanged.
    Char('-');
    Char('v');
    EXPECT_NE(Status().find(L", 100 %, Pixel 6:5"), std::wstring::npos) << Narrow(Status());
    Shot tall = Capture();
    ASSERT_EQ(tall.picture.right - tall.picture.left, 320);
    ASSERT_EQ(tall.picture.bottom - tall.picture.top, 240);
    int repeated = 0;
    int source = 0;
    for (int y = 0; y < 240; ++y) {
        int row = -1;
        for (int candidate = source; candidate < 200 && row < 0; ++candidate)
            if (tall.canvas->At(tall.picture.left, tall.picture.top + y) == RampColour(candidate & 0xFF)
                && tall.canvas->At(tall.picture.left + 7, tall.picture.top + y) == RampColour((candidate + 7) & 0xFF))
                row = candidate;
        ASSERT_GE(row, 0) << "row " << y;
        if (y > 0 && row == source)
            ++repeated;
        ASSERT_LE(row, source + 1) << "row " << y;     // no row left out
        source = row;
    }
    EXPECT_EQ(repeated, 40);
    Char('v');
    EXPECT_EQ(Capture().picture.bottom - Capture().picture.top, 200);
    EXPECT_EQ(Status().find(L"Pixel 6:5"), std::wstring::npos);

    // The window the user sized keeps its size on the next row, which shows
    // at 100 % where it fits.
    RECT before;
    GetClientRect(ViewerWindow(), &before);
    Key(VK_DOWN);
    ASSERT_TRUE(WaitFor([] { return Status().find(L"640 \xD7 480") != std::wstring::npos; }, kPatience));
    RECT client;
    GetClientRect(ViewerWindow(), &client);
    EXPECT_EQ(client.right, before.right);
    EXPECT_EQ(client.bottom, before.bottom);
    EXPECT_NE(Status().find(L", 100 %"), std::wstring::npos);
}

// The frame shown from 0, by its pixels; -1 for none of the file's.
int CutFrameShown()
{
    Shot shot = Capture();
    return FrameShown(*shot.canvas, shot.picture.left, shot.picture.top, 16, 8);
}

TEST_F(Viewer, DamagedFilesPlayUpToTheDamage)
{
    ASSERT_NE(Open(kCut), nullptr);
    // Straight to the last frame before its first second is up, past the
    // damage not found yet: the last good frame, as it is, not frame 3's red.
    Key(VK_END, true);
    EXPECT_TRUE(StatusIs(L"Bild 2 von 5, 16 \xD7 8, 5,0 s, 100 %, Pause, besch\xE4" L"digt ab Bild 3"))
        << Narrow(Status());
    EXPECT_EQ(CutFrameShown(), 1);
    Key(VK_RIGHT);
    EXPECT_TRUE(StatusIs(L"Bild 1 von 5, 16 \xD7 8, 5,0 s, 100 %, Pause, besch\xE4" L"digt ab Bild 3"));
    EXPECT_EQ(CutFrameShown(), 0);
    Key(VK_LEFT);
    EXPECT_TRUE(StatusIs(L"Bild 2 von 5, 16 \xD7 8, 5,0 s, 100 %, Pause, besch\xE4" L"digt ab Bild 3"));
    EXPECT_EQ(CutFrameShown(), 1);

    // Played, it goes round its good frames and never stops.
    Char('4');
    Key(VK_SPACE);
    std::vector<std::wstring> seen = StatusesSeen(6);
    ASSERT_GE(seen.size(), 6u);
    for (std::size_t n = 1; n < seen.size(); ++n) {
        EXPECT_EQ(seen[n].find(n % 2 == 1 ? L"Bild 1 von 5" : L"Bild 2 von 5"), 0u) << n;
        EXPECT_EQ(seen[n].find(L"Pause"), std::wstring::npos) << n;
    }
}

// The medium going away while a file plays for the first time: it goes
// round the frames it could read, as a damaged file does, and never stops.
TEST_F(Viewer, AMediumGoneMidPlayGoesRoundWhatWasRead)
{
    ASSERT_NE(Open(kBall), nullptr);
    ASSERT_TRUE(WaitFor([] { return Status().find(L"Bild 2 von 6") == 0; }, kPatience)) << Narrow(Status());
    // Frames 1 to 3 stay readable (the third may be on its way already); the rest is gone.
    HANDLE file = CreateFileA((anim_ + "BALL.FLC").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const LONG frameBytes = 16 + 778 + 6 + 320 * 200;
    SetFilePointer(file, 128 + 3 * frameBytes, nullptr, FILE_BEGIN);
    EXPECT_TRUE(SetEndOfFile(file));
    CloseHandle(file);
    ASSERT_TRUE(WaitFor([] { return Status().find(L"besch\xE4" L"digt ab Bild 4") != std::wstring::npos; }, kPatience))
        << Narrow(Status());
    std::vector<std::wstring> seen = StatusesSeen(7);
    ASSERT_GE(seen.size(), 7u);
    int rounds = 0;
    for (std::size_t n = 1; n < seen.size(); ++n) {
        EXPECT_EQ(seen[n].find(L"Pause"), std::wstring::npos) << n;
        if (seen[n].find(L"Bild 1 von 6") == 0 && seen[n - 1].find(L"Bild 3 von 6") == 0)
            ++rounds;
    }
    EXPECT_GE(rounds, 1);
}

// A machine without room for the first frame says so: not the file's fault.
TEST_F(Viewer, NoRoomForTheFirstFrameIsSaidSo)
{
    // Room for the picture, none for the first frame's bytes.
    FailNothrowArraysFrom(640 * 480 + 1);
    ASSERT_NE(Open(kBig), nullptr);
    EXPECT_TRUE(StatusIs(L"Keine Vorschau: nicht genug Speicher f\xFCr das Bild"))
        << Narrow(Status());
    ServeEveryArray();
}

TEST_F(Viewer, PlayingAllMovesOnThroughTheListUntilAKey)
{
    ASSERT_NE(Open(kBall), nullptr);
    Char('4');
    Char('a');
    EXPECT_NE(Status().find(L"alle abspielen"), std::wstring::npos);
    // Each row in turn, those that do not play included, and round to the top.
    std::vector<int> seen;
    WaitFor([&] {
        if (seen.empty() || seen.back() != Selected())
            seen.push_back(Selected());
        return seen.size() >= 8;
    }, kPatience);
    EXPECT_EQ(seen, (std::vector<int>{kBall, kBig, kCut, kBroken, kMissing, kDevice, kBall, kBig}));
    // Any key ends it: the key itself does nothing else.
    int at = Selected();
    Key(VK_DOWN);
    EXPECT_EQ(Selected(), at);
    EXPECT_EQ(Status().find(L"alle abspielen"), std::wstring::npos);
    // A click ends it too.
    Char('a');
    SendMessageA(ViewerWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(Status().find(L"alle abspielen"), std::wstring::npos);
}

// The viewer's reading counts among the preview's: past the bound it waits,
// and starts once a reading has ended.
TEST_F(Viewer, ReadsWithinTheSameBoundAsThePreviews)
{
    const std::string file = anim_ + "BALL.FLC";
    std::vector<std::unique_ptr<PreviewPlayer>> waiting;
    for (int n = 0; n < kMostReadingThreads; ++n) {
        waiting.emplace_back(new PreviewPlayer(file.c_str(), window_, WM_NULL, 0));
        ASSERT_TRUE(waiting.back()->Started()) << n;
    }
    Select(kBall);
    Command(ID_VIEWER);
    ASSERT_NE(ViewerWindow(), nullptr);
    // As on a medium that hangs: the viewer waits a moment for the file's
    // size, then shows anyway, at the size for no picture, and says why.
    EXPECT_FALSE(IsWindowVisible(ViewerWindow()));
    EXPECT_TRUE(WaitFor([] { return IsWindowVisible(ViewerWindow()) != FALSE; }, kPatience));
    EXPECT_EQ(Status(), L"Wird gelesen ...");
    RECT client;
    GetClientRect(ViewerWindow(), &client);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 260);
    EXPECT_EQ(LiveReadingThreads(), kMostReadingThreads);
    waiting.pop_back();
    EXPECT_TRUE(WaitFor([] { return Status().find(L"von 6, 320 \xD7 200") != std::wstring::npos; }, kPatience));
    // Once the size has come, the window takes it.
    GetClientRect(ViewerWindow(), &client);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 220);
    waiting.clear();
}

// Every client size the viewer takes while it can be seen.
std::vector<SIZE> VisibleSizes;

LRESULT CALLBACK RecordVisibleSizes(int code, WPARAM wordParam, LPARAM longParam)
{
    const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(longParam);
    char name[32] = "";
    if (code == HC_ACTION && call->message == WM_WINDOWPOSCHANGED && GetClassNameA(call->hwnd, name, sizeof name) > 0
        && std::string(name) == "KorvalViewer" && IsWindowVisible(call->hwnd)) {
        RECT client;
        GetClientRect(call->hwnd, &client);
        if (VisibleSizes.empty() || VisibleSizes.back().cx != client.right || VisibleSizes.back().cy != client.bottom)
            VisibleSizes.push_back({client.right, client.bottom});
    }
    return CallNextHookEx(nullptr, code, wordParam, longParam);
}

TEST_F(Viewer, OpensAtItsSizeAndChangesRowsWithoutAFlash)
{
    VisibleSizes.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, RecordVisibleSizes, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    // Opened on the 320 x 200 file: seen only at its size, the status line under it.
    ASSERT_NE(Open(kBall), nullptr);
    EXPECT_TRUE(IsWindowVisible(ViewerWindow()));
    EXPECT_EQ(VisibleSizes.size(), 1u);
    for (const SIZE& size : VisibleSizes) {
        EXPECT_EQ(size.cx, 320);
        EXPECT_EQ(size.cy, 220);
    }
    Key(VK_HOME, true);
    ASSERT_TRUE(StatusIs(L"Bild 1 von 6, 320 \xD7 200, 0,6 s, 100 %, Pause"));

    // To the 640 x 480 file: until its size and picture have come, the
    // window still shows the last picture whole and its line, never an
    // empty area; then both change at once.
    Key(VK_DOWN);
    EXPECT_EQ(Title(), L"Bild \x2013 BIG.FLC");
    Shot meanwhile = Capture();
    EXPECT_EQ(meanwhile.picture.right - meanwhile.picture.left, 320);
    EXPECT_EQ(meanwhile.picture.bottom - meanwhile.picture.top, 200);
    EXPECT_EQ(FrameShown(*meanwhile.canvas, meanwhile.picture.left, meanwhile.picture.top, 320, 200), 0);
    EXPECT_EQ(Status(), L"Bild 1 von 6, 320 \xD7 200, 0,6 s, 100 %, Pause");
    ASSERT_TRUE(WaitFor([] { return Status().find(L"640 \xD7 480") != std::wstring::npos; }, kPatience));
    Shot after = Capture();
    EXPECT_EQ(after.picture.right - after.picture.left, 640);
    EXPECT_EQ(after.picture.bottom - after.picture.top, 480);
    ASSERT_EQ(VisibleSizes.size(), 2u);
    EXPECT_EQ(VisibleSizes[1].cx, 640);
    EXPECT_EQ(VisibleSizes[1].cy, 500);

    // A file that does not play keeps the window's size and says why.
    Key(VK_END);
    EXPECT_TRUE(StatusIs(L"Keine Vorschau: keine gew\xF6hnliche Datei (ein Ger\xE4t oder eine Pipe)"));
    EXPECT_EQ(VisibleSizes.size(), 2u);
    UnhookWindowsHookEx(hook);
}

// Where the viewer's picture area shows a 320 x 200 gradient's first frame
// drawn `scale` times as large and scrolled by (x, y): every sampled pixel
// is that picture's.
bool ShowsScrolled(const Canvas& canvas, int width, int height, int scale, int x, int y)
{
    for (int row = 0; row < height; row += 9)
        for (int column = 0; column < width; column += 7)
            if (canvas.At(column, row) != RampColour(((column + x) / scale + (row + y) / scale) & 0xFF))
                return false;
    return canvas.At(width - 1, height - 1) == RampColour(((width - 1 + x) / scale + (height - 1 + y) / scale) & 0xFF);
}

bool HasBar(DWORD bar)
{
    return (GetWindowLongA(Pane(), GWL_STYLE) & bar) != 0;
}

// Where a scroll bar of `window` lies on the screen; empty while it is hidden.
RECT BarRect(HWND window, LONG object)
{
    SCROLLBARINFO info = {};
    info.cbSize = sizeof info;
    if (!GetScrollBarInfo(window, object, &info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) != 0)
        return RECT{};
    return info.rcScrollBar;
}

TEST_F(Viewer, ZoomedLargerThanTheWindowEveryEdgeCanBeSeen)
{
    ASSERT_NE(Open(kBall), nullptr);
    RECT outer = {0, 0, 400, 320};
    AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, 0);
    SetWindowPos(ViewerWindow(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOMOVE);
    Key(VK_HOME, true);
    ASSERT_TRUE(StatusIs(L"Bild 1 von 6, 320 \xD7 200, 0,6 s, 100 %, Pause"));
    // It fits: no scroll bars, no hand.
    EXPECT_FALSE(HasBar(WS_HSCROLL));
    EXPECT_FALSE(HasBar(WS_VSCROLL));
    SendMessageA(Pane(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Pane()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), LoadCursor(nullptr, IDC_HAND));

    // 200 %: 640 x 400 in a smaller area.
    Char('+');
    // The bars are the picture's: the status line spans the window's foot
    // below the horizontal bar, and the vertical bar ends above it.
    RECT status;
    GetWindowRect(FindWindowExA(ViewerWindow(), nullptr, "STATIC", nullptr), &status);
    RECT whole;
    GetClientRect(ViewerWindow(), &whole);
    MapWindowPoints(ViewerWindow(), nullptr, reinterpret_cast<POINT*>(&whole), 2);
    EXPECT_EQ(status.left, whole.left);
    EXPECT_EQ(status.right, whole.right);
    EXPECT_EQ(status.bottom, whole.bottom);
    EXPECT_EQ(status.bottom - status.top, 20);
    int bars = 0;
    for (HWND owner : {ViewerWindow(), Pane()}) {
        for (LONG object : {OBJID_HSCROLL, OBJID_VSCROLL}) {
            RECT bar = owner != nullptr ? BarRect(owner, object) : RECT{};
            if (IsRectEmpty(&bar))
                continue;
            ++bars;
            EXPECT_LE(bar.bottom, status.top) << (object == OBJID_HSCROLL ? "across" : "down");
            EXPECT_GT(bar.bottom, status.top - 40) << (object == OBJID_HSCROLL ? "across" : "down");
        }
    }
    EXPECT_EQ(bars, 2);

    // Both bars the pane's, and the picture's middle in the area's middle as before.
    ASSERT_NE(Pane(), nullptr);
    EXPECT_TRUE(HasBar(WS_HSCROLL));
    EXPECT_TRUE(HasBar(WS_VSCROLL));
    RECT client = {};
    GetClientRect(Pane(), &client);
    const int width = client.right;
    const int height = client.bottom;
    ASSERT_LT(width, 400);
    ASSERT_LT(height, 300);
    SCROLLINFO across = {sizeof across, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(Pane(), SB_HORZ, &across);
    EXPECT_EQ(across.nMax, 639);
    EXPECT_EQ(static_cast<int>(across.nPage), width);
    const int limitX = 640 - width;
    const int limitY = 400 - height;
    EXPECT_TRUE(ShowsScrolled(*Capture().canvas, width, height, 2, GetScrollPos(Pane(), SB_HORZ),
                              GetScrollPos(Pane(), SB_VERT)));
    EXPECT_NEAR(GetScrollPos(Pane(), SB_HORZ), limitX / 2, 1);
    EXPECT_NEAR(GetScrollPos(Pane(), SB_VERT), limitY / 2, 1);

    // Each way to move it, and what the area then shows.
    struct Move { const char* what; UINT message; WPARAM wordParam; int x, y; };
    const Move moves[] = {
        {"top left", WM_HSCROLL, SB_TOP, 0, -1},
        {"top left", WM_VSCROLL, SB_TOP, 0, 0},
        {"a line right", WM_HSCROLL, SB_LINEDOWN, 20, 0},
        {"bottom right", WM_HSCROLL, SB_BOTTOM, limitX, -1},
        {"bottom right", WM_VSCROLL, SB_BOTTOM, limitX, limitY},
        {"no further", WM_VSCROLL, SB_LINEDOWN, limitX, limitY},
        {"wheel up", WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), limitX, limitY - 60},
        {"shift and wheel: left", WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, WHEEL_DELTA), limitX - 60, limitY - 60},
        {"wheel down", WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), limitX - 60, limitY},
    };
    for (const Move& m : moves) {
        SendMessageA(Pane(), m.message, m.wordParam, 0);
        if (m.y < 0)
            continue;
        EXPECT_EQ(GetScrollPos(Pane(), SB_HORZ), m.x) << m.what;
        EXPECT_EQ(GetScrollPos(Pane(), SB_VERT), m.y) << m.what;
        Shot shot = Capture();
        EXPECT_TRUE(ShowsScrolled(*shot.canvas, width, height, 2, m.x, m.y)) << m.what;
        // The picture's corners themselves in the area's corners.
        if (m.x == 0 && m.y == 0) {
            EXPECT_EQ(shot.canvas->At(0, 0), RampColour(0));
        }
        if (m.x == limitX && m.y == limitY) {
            EXPECT_EQ(shot.canvas->At(width - 1, height - 1), RampColour((319 + 199) & 0xFF));
        }
    }

    // Dragged with the left button, under the hand: the picture follows the pointer.
    SendMessageA(Pane(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Pane()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
    SendMessageA(Pane(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    SendMessageA(Pane(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(150, 130));
    SendMessageA(Pane(), WM_LBUTTONUP, 0, MAKELPARAM(150, 130));
    EXPECT_EQ(GetScrollPos(Pane(), SB_HORZ), limitX - 110);
    EXPECT_EQ(GetScrollPos(Pane(), SB_VERT), limitY - 30);
    EXPECT_TRUE(ShowsScrolled(*Capture().canvas, width, height, 2, limitX - 110, limitY - 30));
    // Released: moving on does nothing.
    SendMessageA(Pane(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(GetScrollPos(Pane(), SB_HORZ), limitX - 110);

    // Ctrl and the wheel zoom about the pointer: the pixel under it stays.
    POINT pointer = {60, 50};
    const COLORREF under = Capture().canvas->At(pointer.x, pointer.y);
    POINT screen = pointer;
    ClientToScreen(Pane(), &screen);
    SendMessageA(ViewerWindow(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
    EXPECT_NE(Status().find(L", 300 %"), std::wstring::npos);
    Shot thrice = Capture();
    EXPECT_EQ(thrice.canvas->At(pointer.x, pointer.y), under);
    EXPECT_TRUE(ShowsScrolled(*thrice.canvas, width, height, 3, GetScrollPos(Pane(), SB_HORZ),
                              GetScrollPos(Pane(), SB_VERT)));
    // "-" about the middle of the area, typed while the pane has the focus.
    const COLORREF middle = thrice.canvas->At(width / 2, height / 2);
    SetFocus(Pane());
    SendMessageA(Pane(), WM_CHAR, '-', 1);
    EXPECT_EQ(Capture().canvas->At(width / 2, height / 2), middle);
    EXPECT_NE(Status().find(L", 200 %"), std::wstring::npos);
    // Fitted again: the bars go and the picture is centred.
    SendMessageA(Pane(), WM_CHAR, '0', 1);
    EXPECT_FALSE(HasBar(WS_HSCROLL));
    EXPECT_FALSE(HasBar(WS_VSCROLL));
    Shot fitted = Capture();
    GetClientRect(Pane(), &client);
    EXPECT_EQ(fitted.picture.left, (client.right - (fitted.picture.right - fitted.picture.left)) / 2);
    // The pane's keys are the viewer's: a step on.
    SendMessageA(Pane(), WM_KEYDOWN, VK_RIGHT, 1);
    EXPECT_TRUE(WaitFor([] { return Status().find(L"Bild 2 von 6") == 0; }, kPatience));
}

// Until the user sizes it, the window follows its picture: + and V grow it
// within the work area, beyond that the picture scrolls; - shrinks it again.
TEST_F(Viewer, TheWindowGrowsWithTheZoomUntilTheUserSizesIt)
{
    ASSERT_NE(Open(kBall), nullptr);
    Key(VK_HOME, true);
    auto client = [] {
        RECT rect;
        GetClientRect(ViewerWindow(), &rect);
        return SIZE{rect.right, rect.bottom};
    };
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(client().cx, 320);
    EXPECT_EQ(client().cy, 220);
    Char('+');
    EXPECT_EQ(client().cx, 640);
    EXPECT_EQ(client().cy, 420);
    EXPECT_FALSE(HasBar(WS_HSCROLL) || HasBar(WS_VSCROLL));
    Char('v');
    EXPECT_EQ(client().cy, 500);        // 480 rows and the status line
    Char('v');
    // Far larger than the screen: the window fills the work area, and the picture scrolls.
    for (int n = 0; n < 6; ++n)
        Char('+');
    EXPECT_NE(Status().find(L", 800 %"), std::wstring::npos);
    RECT outer;
    GetWindowRect(ViewerWindow(), &outer);
    EXPECT_TRUE(outer.left >= work.left && outer.top >= work.top && outer.right <= work.right && outer.bottom <= work.bottom);
    EXPECT_GT(outer.right - outer.left, (work.right - work.left) * 9 / 10);
    EXPECT_TRUE(HasBar(WS_HSCROLL) && HasBar(WS_VSCROLL));
    // The fit: the largest whole step the work area holds.
    Char('0');
    const int fit = Capture().picture.right - Capture().picture.left;
    EXPECT_EQ(fit % 320, 0);
    EXPECT_FALSE(HasBar(WS_HSCROLL) || HasBar(WS_VSCROLL));
    EXPECT_EQ(client().cx, std::max(fit, 320));
    for (int n = 1; n < fit / 320; ++n)
        Char('-');
    EXPECT_NE(Status().find(L", 100 %"), std::wstring::npos);
    EXPECT_EQ(client().cx, 320);
    EXPECT_EQ(client().cy, 220);

    // Sized by hand: + no longer changes the window, and neither does the next row.
    RECT outerSized = {0, 0, 500, 300};
    AdjustWindowRectEx(&outerSized, WS_OVERLAPPEDWINDOW, FALSE, 0);
    SetWindowPos(ViewerWindow(), nullptr, 0, 0, outerSized.right - outerSized.left,
                 outerSized.bottom - outerSized.top, SWP_NOZORDER | SWP_NOMOVE);
    Char('+');
    EXPECT_EQ(client().cx, 500);
    EXPECT_EQ(client().cy, 300);
    EXPECT_TRUE(HasBar(WS_HSCROLL));
}

// A size the user chose stays from row to row and through "Alle abspielen":
// maximised too, with its restore button meaning what it says.
TEST_F(Viewer, MaximisedOrSizedItKeepsItsSizeFromRowToRow)
{
    ASSERT_NE(Open(kBall), nullptr);
    RECT restored;
    GetWindowRect(ViewerWindow(), &restored);
    ShowWindow(ViewerWindow(), SW_MAXIMIZE);
    RECT maximised;
    GetWindowRect(ViewerWindow(), &maximised);
    Key(VK_DOWN);
    ASSERT_TRUE(WaitFor([] { return Status().find(L"640 \xD7 480") != std::wstring::npos; }, kPatience));
    EXPECT_TRUE(IsZoomed(ViewerWindow()));
    RECT now;
    GetWindowRect(ViewerWindow(), &now);
    EXPECT_TRUE(EqualRect(&now, &maximised));
    // Restored: the window before it was maximised, and again following its picture.
    ShowWindow(ViewerWindow(), SW_RESTORE);
    GetWindowRect(ViewerWindow(), &now);
    EXPECT_TRUE(EqualRect(&now, &restored));
    Key(VK_UP);
    ASSERT_TRUE(WaitFor([] { return Status().find(L"320 \xD7 200") != std::wstring::npos; }, kPatience));
    RECT client;
    GetClientRect(ViewerWindow(), &client);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 220);

    // Sized by hand, then every row in turn: one size throughout.
    SetWindowPos(ViewerWindow(), nullptr, 0, 0, 700, 560, SWP_NOZORDER | SWP_NOMOVE);
    RECT sizedClient;
    GetClientRect(ViewerWindow(), &sizedClient);
    VisibleSizes.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, RecordVisibleSizes, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    Char('4');
    Char('a');
    std::vector<int> seen;
    WaitFor([&] {
        if (seen.empty() || seen.back() != Selected())
            seen.push_back(Selected());
        return seen.size() >= 7;
    }, kPatience);
    UnhookWindowsHookEx(hook);
    Key(VK_ESCAPE);
    EXPECT_GE(seen.size(), 7u);
    for (const SIZE& size : VisibleSizes) {
        EXPECT_EQ(size.cx, sizedClient.right);
        EXPECT_EQ(size.cy, sizedClient.bottom);
    }
}

TEST_F(Viewer, OpenedAndClosedAgainAndAgainLeavesNothingBehind)
{
    // One round first: what stays for the program's life (the class, the
    // menu resource, the thread library) is there before the count.
    ASSERT_NE(Open(kBig), nullptr);
    Key(VK_ESCAPE);
    WaitFor([] { return LiveReadingThreads() == 0; }, kPatience);
    SIZE_T before = CommittedBytes();
    GdiTally tally;
    for (int round = 0; round < 20; ++round) {
        HWND viewer = Open(round % 2 == 0 ? kBig : kBall);
        ASSERT_NE(viewer, nullptr) << round;
        // At 144 DPI the status line has a font of its own.
        if (round % 4 == 1) {
            RECT place;
            GetWindowRect(viewer, &place);
            SendMessageA(viewer, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&place));
        }
        Key(VK_DOWN);       // another file read while the first may still be read
        Key(VK_ESCAPE);
        ASSERT_EQ(ViewerWindow(), nullptr) << round;
    }
    EXPECT_GT(tally.Made(), 0);
    EXPECT_TRUE(WaitFor([] { return LiveReadingThreads() == 0; }, kPatience));
    EXPECT_EQ(tally.Live(), 0);
    // Kept pictures or frames left behind would be 1.2 MB a round here.
    Sleep(100);
    EXPECT_LT(CommittedBytes(), before + 6 * 1024 * 1024);
}

// What a file's conversion gives, written to memory: what a save must write.
struct Bytes final : ByteSink {
    std::string data;
    bool Write(const void* bytes, std::size_t size) override
    {
        data.append(static_cast<const char*>(bytes), size);
        return true;
    }
};

std::string ExpectedGif(const std::string& file)
{
    FlcMemorySource source(file.data(), file.size());
    Bytes out;
    ConvertFlcToGif(source, out);
    return out.data;
}

std::string ExpectedPng(const std::string& file, int frame)
{
    FlcMemorySource source(file.data(), file.size());
    Bytes out;
    ConvertFlcFrameToPng(source, frame, out);
    return out.data;
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (found.cFileName[0] != '.')
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// Ctrl+S, sent to the viewer.
void PressCtrlS()
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageA(ViewerWindow(), WM_KEYDOWN, 'S', 1);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

// Ctrl+S in the viewer, `name` typed into the dialog, OK; how many dialogs
// came. `meanwhile` runs on the watcher's thread while the dialog is open.
int SaveThroughTheDialog(const std::string& name, const std::function<void()>& meanwhile = {})
{
    DialogWatcher dialog("Speichern unter", [name, meanwhile](HWND d, int) {
        if (meanwhile)
            meanwhile();
        // The file name field: a combo box's edit in the newer dialog, an edit in the older.
        HWND field = GetDlgItem(d, 0x47C);
        if (field == nullptr)
            field = GetDlgItem(d, 0x480);
        SetWindowTextA(field, name.c_str());
        HWND edit = FindWindowExA(field, nullptr, "Edit", nullptr);
        if (edit != nullptr)
            SetWindowTextA(edit, name.c_str());
        PostMessageA(d, WM_COMMAND, IDOK, 0);
    });
    PressCtrlS();
    return dialog.Count();
}

TEST_F(Viewer, SaveWritesExactlyTheChosenFile)
{
    const std::string out = ScratchFolder("viewer-save");
    const std::string ball = ReadFileBytes(anim_ + "BALL.FLC");
    ASSERT_NE(Open(kBall), nullptr);
    // The frame shown, paused at frame 3.
    Key(VK_HOME, true);
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    ASSERT_TRUE(StatusIs(L"Bild 3 von 6, 320 \xD7 200, 0,6 s, 100 %, Pause")) << Narrow(Status());

    // Through the dialog, as a user does: Ctrl+S, a name, OK.
    EXPECT_EQ(SaveThroughTheDialog(out + "BALL.PNG"), 1);
    EXPECT_TRUE(WaitFor([&] { return FilesIn(out).size() == 1 && Status().find(L"Bild 3") == 0; }, kPatience));
    EXPECT_EQ(ReadFileBytes(out + "BALL.PNG"), ExpectedPng(ball, 3));

    // Straight to a name: the GIF of the whole animation, over an old file.
    WriteFileBytes(out + "BALL.GIF", "old");
    EXPECT_TRUE(SaveAnimationTo(ViewerWindow(), (anim_ + "BALL.FLC").c_str(), 3, Wide(out + "BALL.GIF").c_str(),
                                SaveKind::Gif));
    EXPECT_EQ(ReadFileBytes(out + "BALL.GIF"), ExpectedGif(ball));
    EXPECT_EQ(ReadFileBytes(out + "BALL.GIF").substr(0, 6), "GIF89a");
    // Nothing else was written: no temporary file is left beside them.
    EXPECT_EQ(FilesIn(out), (std::vector<std::string>{"BALL.GIF", "BALL.PNG"}));

    // Faster than 50 frames a second: saved, and the box says it plays slower.
    const std::string fast = flc_writer::GradientFlc(32, 20, 4, 10);
    WriteFileBytes(anim_ + "FAST.FLC", fast);
    BoxWatcher boxes([](const SeenBox&, int) { return IDOK; }, "Speichern unter");
    EXPECT_TRUE(SaveAnimationTo(ViewerWindow(), (anim_ + "FAST.FLC").c_str(), 1, Wide(out + "FAST.GIF").c_str(),
                                SaveKind::Gif));
    EXPECT_EQ(ReadFileBytes(out + "FAST.GIF"), ExpectedGif(fast));
    std::vector<SeenBox> seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].text.find("mehr als 50 Bilder/s"), std::string::npos) << seen[0].text;
}

// The dialog leaves the main window usable: a row picked there meanwhile is
// shown, but what is saved is the animation and the frame the dialog was
// opened for, and the new row plays as any row does.
TEST_F(Viewer, SaveKeepsWhatTheDialogWasOpenedForWhenTheRowChanges)
{
    const std::string out = ScratchFolder("viewer-chosen");
    const std::string ball = ReadFileBytes(anim_ + "BALL.FLC");
    HWND viewer = Open(kBall);
    ASSERT_NE(viewer, nullptr);
    HWND list = List();
    HWND main = window_;
    // From the watcher's thread, as the user's click in the list: the row
    // below is picked, and OK waits until the viewer shows it.
    auto pickBig = [=] {
        SendMessageA(list, LB_SETCURSEL, kBig, 0);
        SendMessageA(main, WM_COMMAND, MAKEWPARAM(ID_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        HWND status = FindWindowExA(viewer, nullptr, "STATIC", nullptr);
        for (int n = 0; n < 300; ++n) {
            wchar_t text[256] = L"";
            GetWindowTextW(status, text, 256);
            if (std::wstring(text).find(L"von 3, 640") != std::wstring::npos)
                break;
            Sleep(10);
        }
    };
    struct Case {
        const char* name;
        bool paused;        // at frame 3, else playing
        std::string file;
    };
    const Case cases[] = {
        {"BALL3.PNG", true, ExpectedPng(ball, 3)},
        {"BALL.GIF", false, ExpectedGif(ball)},
    };
    for (const Case& c : cases) {
        if (Selected() != kBall)
            Select(kBall);
        ASSERT_TRUE(WaitFor([] { return Status().find(L"von 6, 320") != std::wstring::npos; }, kPatience));
        if (c.paused) {
            Key(VK_HOME, true);
            Key(VK_RIGHT);
            Key(VK_RIGHT);
            ASSERT_TRUE(StatusIs(L"Bild 3 von 6, 320 \xD7 200, 0,6 s, 100 %, Pause")) << c.name;
        }
        EXPECT_EQ(SaveThroughTheDialog(out + c.name, pickBig), 1) << c.name;
        EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(out + c.name) != "" && Status().find(L"Speichere") != 0; }, kPatience))
            << c.name;
        const std::string saved = ReadFileBytes(out + c.name);
        EXPECT_TRUE(saved == c.file) << c.name << ": " << saved.size() << " bytes, not the chosen " << c.file.size();
        EXPECT_EQ(Selected(), kBig);
        EXPECT_NE(Status().find(L"von 3, 640"), std::wstring::npos) << c.name;
        EXPECT_EQ(Status().find(L"Pause"), std::wstring::npos) << c.name;
    }
}

// The save runs beside the window: the window says "Speichere ..." and goes
// on; closing the viewer stops it, and nothing of it stays.
TEST_F(Viewer, SavingLeavesTheWindowFreeAndClosingStopsIt)
{
    const std::string out = ScratchFolder("viewer-busy");
    // Large enough that its conversion takes a while: 100 frames of 640 x 480.
    const std::string long_ = flc_writer::GradientFlc(640, 480, 100, 100);
    WriteFileBytes(anim_ + "BIG.FLC", long_);
    ASSERT_NE(Open(kBig), nullptr);
    ASSERT_TRUE(WaitFor([] { return Status().find(L"von 100, 640") != std::wstring::npos; }, kPatience));

    EXPECT_EQ(SaveThroughTheDialog(out + "BIG.GIF"), 1);
    // Back at once, while the file is being written.
    EXPECT_EQ(Status(), L"Speichere ...");
    Key(VK_SPACE);      // the window takes keys meanwhile
    EXPECT_TRUE(WaitFor([&] { return Status().find(L"Bild ") == 0; }, kPatience));
    EXPECT_EQ(ReadFileBytes(out + "BIG.GIF"), ExpectedGif(long_));
    EXPECT_EQ(FilesIn(out), std::vector<std::string>{"BIG.GIF"});

    // Again over it, and the viewer closed at once: the old file stays whole
    // and no temporary file is left.
    WriteFileBytes(out + "BIG.GIF", "old");
    EXPECT_EQ(SaveThroughTheDialog(out + "BIG.GIF"), 2);     // and the question whether to replace it
    EXPECT_EQ(Status(), L"Speichere ...");
    Key(VK_ESCAPE);
    EXPECT_EQ(ViewerWindow(), nullptr);
    EXPECT_TRUE(WaitFor([] { return LiveReadingThreads() == 0; }, kPatience));
    EXPECT_EQ(ReadFileBytes(out + "BIG.GIF"), "old");
    EXPECT_EQ(FilesIn(out), std::vector<std::string>{"BIG.GIF"});
}

TEST_F(Viewer, AFailedSaveKeepsTheOldFileAndSaysWhy)
{
    const std::string out = ScratchFolder("viewer-fail");
    ASSERT_NE(Open(kBall), nullptr);
    const std::string ball = anim_ + "BALL.FLC";
    WriteFileBytes(out + "KEPT.GIF", "old");
    SetFileAttributesA((out + "KEPT.GIF").c_str(), FILE_ATTRIBUTE_READONLY);
    CreateDirectoryA((out + "FOLDER.GIF").c_str(), nullptr);
    struct Case { std::string source, target, text; };
    const Case cases[] = {
        {ball, out + "NOFOLDER\\BALL.GIF", "nicht gespeichert: Ordner fehlt"},
        {ball, out + "KEPT.GIF", "nicht gespeichert: Die alte Datei l"},     // read-only
        {ball, out + "FOLDER.GIF", "nicht gespeichert: Die alte Datei l"},   // a folder of that name
        {anim_ + "MISSING.FLC", out + "NEW.GIF", "nicht gespeichert: Die Animation ist nicht lesbar"},
        {anim_ + "BROKEN.FLC", out + "NEW.GIF", "nicht gespeichert: Die Animation ist nicht lesbar"},
        {anim_ + "NUL", out + "NEW.GIF", "nicht gespeichert: Die Animation ist nicht lesbar"},
    };
    for (const Case& c : cases) {
        BoxWatcher boxes([](const SeenBox&, int) { return IDOK; }, "Speichern unter");
        EXPECT_FALSE(SaveAnimationTo(ViewerWindow(), c.source.c_str(), 1, Wide(c.target).c_str(), SaveKind::Gif));
        std::vector<SeenBox> seen = boxes.Boxes();
        ASSERT_EQ(seen.size(), 1u) << c.target;
        EXPECT_EQ(seen[0].text.find("'" + c.target + "' " + c.text), 0u) << seen[0].text;
    }
    SetFileAttributesA((out + "KEPT.GIF").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(out + "KEPT.GIF"), "old");
    EXPECT_EQ(FilesIn(out), (std::vector<std::string>{"FOLDER.GIF", "KEPT.GIF"}));
}

// `file` with a chunk no one shows, `extra` bytes long, added to frame `n`
// (from 1): reading that frame takes a larger buffer than the frames before.
std::string WithPaddedFrame(std::string file, int n, std::uint32_t extra)
{
    auto dword = [&](std::size_t at) {
        const auto* p = reinterpret_cast<const unsigned char*>(file.data() + at);
        return static_cast<std::uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24));
    };
    auto setDword = [&](std::size_t at, std::uint32_t value) {
        for (int k = 0; k < 4; ++k)
            file[at + k] = static_cast<char>(value >> (8 * k));
    };
    std::size_t at = 128;
    for (int k = 1; k < n; ++k)
        at += dword(at);
    std::string chunk;
    flc_writer::Put32(chunk, 6 + extra);
    flc_writer::Put16(chunk, 18);       // a postage stamp
    chunk.append(extra, '\x55');
    const std::uint32_t frameSize = dword(at);
    file.insert(at + frameSize, chunk);
    setDword(at, frameSize + static_cast<std::uint32_t>(chunk.size()));
    file[at + 6] = static_cast<char>(file[at + 6] + 1);   // one sub-chunk more
    setDword(0, static_cast<std::uint32_t>(file.size()));
    return file;
}

// A GIF of an animation that breaks off is not the animation: the box says
// where it broke, and only "Ja" keeps the frames before; "Nein" leaves an old
// file of that name as it was. No memory at all is said as such.
TEST_F(Viewer, ASaveThatBreaksOffAsksBeforeKeepingTheFramesBefore)
{
    const std::string out = ScratchFolder("viewer-broken");
    const std::string cut = ReadFileBytes(anim_ + "CUT.FLC");     // damaged in frame 3
    const std::string roomy = WithPaddedFrame(flc_writer::GradientFlc(64, 64, 3, 100), 2, 20000);
    WriteFileBytes(anim_ + "ROOMY.FLC", roomy);
    const std::string cutGif = ExpectedGif(cut);
    const std::string firstFrameGif = ExpectedGif(flc_writer::CutInFrame(roomy, 2));
    ASSERT_NE(firstFrameGif, "");
    struct Case {
        const char* what;
        const char* source;
        std::size_t failFrom;   // nothrow arrays of this size fail; 0 for none
        int answer;
        std::string text;       // after the file's name
        std::string file;       // what the chosen file then holds
    };
    const Case cases[] = {
        {"damaged, kept", "CUT.FLC", 0, IDYES,
         "': Die Animation ist ab Bild 3 besch\xE4" "digt. Nur die Bilder davor speichern?", cutGif},
        {"damaged, not kept", "CUT.FLC", 0, IDNO, "': Die Animation ist ab Bild 3", "old"},
        {"no memory for frame 2, kept", "ROOMY.FLC", 10000, IDYES,
         "': F\xFCr Bild 2 reicht der Speicher nicht. Nur die Bilder davor speichern?", firstFrameGif},
        {"no memory for frame 2, not kept", "ROOMY.FLC", 10000, IDNO, "': F\xFCr Bild 2", "old"},
        {"no memory for the picture", "ROOMY.FLC", 4096, IDOK, "' nicht gespeichert: Nicht genug Speicher.", "old"},
    };
    for (const Case& c : cases) {
        const std::string target = out + "KEPT.GIF";
        WriteFileBytes(target, "old");
        BoxWatcher boxes([&](const SeenBox&, int) { return c.answer; }, "Speichern unter");
        if (c.failFrom != 0)
            FailNothrowArraysFrom(c.failFrom);
        const bool saved = SaveAnimationTo(window_, (anim_ + c.source).c_str(), 1, Wide(target).c_str(), SaveKind::Gif);
        ServeEveryArray();
        EXPECT_EQ(saved, c.file != "old") << c.what;
        std::vector<SeenBox> seen = boxes.Boxes();
        ASSERT_EQ(seen.size(), 1u) << c.what;
        EXPECT_EQ(seen[0].text.find("'" + target + c.text), 0u) << c.what << ": " << seen[0].text;
        EXPECT_EQ(seen[0].hasOk, c.answer == IDOK) << c.what;
        const std::string kept = ReadFileBytes(target);
        EXPECT_TRUE(kept == c.file) << c.what << ": " << kept.size() << " bytes, not " << c.file.size();
        EXPECT_EQ(FilesIn(out), std::vector<std::string>{"KEPT.GIF"}) << c.what;
    }
}

// Ctrl+S on a row whose file is no animation says why, as the preview does,
// and opens no save dialog.
TEST_F(Viewer, CtrlSOnARowWithoutAnAnimationSaysWhy)
{
    struct Case {
        RowIndex row;
        std::wstring status;
        std::string text;   // after "Nichts zu speichern: '" and the folder
    };
    const Case cases[] = {
        {kMissing, L"Keine Vorschau: Datei nicht gefunden", "MISSING.FLC' wurde nicht gefunden."},
        {kBroken, L"Keine Vorschau: Datei besch\xE4" L"digt", "BROKEN.FLC' ist besch\xE4" "digt."},
        {kDevice, L"Keine Vorschau: keine gew\xF6hnliche Datei (ein Ger\xE4t oder eine Pipe)",
         "NUL' ist ein Ger\xE4t oder eine Pipe, keine Datei."},
    };
    ASSERT_NE(Open(kBall), nullptr);
    for (const Case& c : cases) {
        Select(c.row);
        ASSERT_TRUE(StatusIs(c.status)) << c.text;
        BoxWatcher boxes([](const SeenBox&, int) { return IDOK; }, "Speichern unter");
        Key('S', true);
        std::vector<SeenBox> seen = boxes.Boxes();
        ASSERT_EQ(seen.size(), 1u) << c.text;
        EXPECT_EQ(seen[0].text.find("Nichts zu speichern: '"), 0u) << seen[0].text;
        EXPECT_NE(seen[0].text.find("\\ANIM\\" + c.text), std::string::npos) << seen[0].text;
    }
}

// Where the save dialog begins and with which type, read off the dialog; it
// is cancelled.
struct DialogStart {
    std::string folder;
    int type = -1;      // 0 GIF, 1 PNG
};

DialogStart OpenTheSaveDialog()
{
    DialogStart start;
    DialogWatcher dialog("Speichern unter", [&start](HWND d, int) {
        wchar_t folder[MAX_PATH] = L"";
        SendMessageW(d, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
        char narrow[MAX_PATH * 2] = "";
        WideCharToMultiByte(CP_ACP, 0, folder, -1, narrow, sizeof narrow, nullptr, nullptr);
        start.folder = narrow;
        start.type = static_cast<int>(SendDlgItemMessageA(d, 0x470, CB_GETCURSEL, 0, 0));
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    });
    PressCtrlS();
    EXPECT_EQ(dialog.Count(), 1);
    return start;
}

std::string WithoutSlash(std::string folder)
{
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder;
}

// The save dialog begins in the folder last saved to, with the type last
// chosen; before the first save of a run, in the user's Pictures folder with
// GIF, never where KORVAL was started (the CD-ROM).
TEST_F(Viewer, TheSaveDialogBeginsWhereTheLastSaveWent)
{
    char fresh[8] = "";
    const bool child = GetEnvironmentVariableA("KORVAL_FIRST_SAVE", fresh, sizeof fresh) != 0;
    if (!child) {
        // Before any save: this test program again, which has saved nothing.
        char self[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, self, sizeof self);
        SetEnvironmentVariableA("KORVAL_FIRST_SAVE", "1");
        HANDLE first = StartProgram(std::string("\"") + self + "\" --gtest_filter=Viewer.TheSaveDialogBeginsWhereTheLastSaveWent");
        SetEnvironmentVariableA("KORVAL_FIRST_SAVE", nullptr);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(WaitExitCode(first, 120000), 0);
        CloseHandle(first);
    }
    ASSERT_NE(Open(kBall), nullptr);
    ASSERT_TRUE(WaitFor([] { return Status().find(L"von 6, 320") != std::wstring::npos; }, kPatience));
    if (child) {
        char pictures[MAX_PATH] = "";
        ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_MYPICTURES, nullptr, 0, pictures)));
        DialogStart start = OpenTheSaveDialog();
        EXPECT_EQ(lstrcmpiA(WithoutSlash(start.folder).c_str(), WithoutSlash(pictures).c_str()), 0)
            << start.folder << " is not " << pictures;
        EXPECT_EQ(start.type, 0);
        return;
    }
    const std::string out = ScratchFolder("viewer-where");
    EXPECT_EQ(SaveThroughTheDialog(out + "BALL.PNG"), 1);
    ASSERT_TRUE(WaitFor([&] { return ReadFileBytes(out + "BALL.PNG") != "" && Status().find(L"Speichere") != 0; }, kPatience));
    DialogStart start = OpenTheSaveDialog();
    EXPECT_EQ(lstrcmpiA(WithoutSlash(start.folder).c_str(), WithoutSlash(out).c_str()), 0) << start.folder;
    EXPECT_EQ(start.type, 1);
}

} // namespace
