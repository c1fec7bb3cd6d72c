// The preview of a row's animation: its line, its picture, its playing, what
// hides it, and that it takes nothing from the main window and leaves
// nothing behind.
#include "base/instance.h"
#include "gdi_tally.h"
#include "harness.h"
#include "main_window_fixture.h"
#include "pixels.h"
#include "res/resource.h"
#include "tests/support/failing_allocator.h"
#include "tests/support/flc_writer.h"
#include "anim/flc_reader.h"
#include "anim/flc_sources.h"
#include "app/main_window.h"
#include "base/display_dpi.h"
#include "base/dpi.h"
#include "view/animation_list.h"
#include "watch/preview_player.h"
#include "watch/preview_popup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// Rows in title order, each with its file as the test writes it.
struct Row {
    const char* title;
    const char* file;
};
const Row kRows[] = {
    {"A", "REAL.FLC"},      // 320 x 200, 4 frames 100 ms apart
    {"B", "MISSING.FLC"},   // not written
    {"C", "TEXT.FLC"},      // not an animation
    {"D", "HUGE.FLC"},      // a header of 4096 x 1025
    {"E", "BROKEN.FLC"},    // cut in its first frame
    {"F", "CUT.FLC"},       // 5 frames, cut in frame 3
    {"G", "BIG.FLC"},       // 640 x 400, shown at half its size
    {"H", "GIMP.FLI"},      // 320 x 200, 7 frames, written by an image editor
    {"I", "ODD.FLC"},       // 101 x 67, 5 frames, likewise
    {"J", "NUL"},           // the null device
    {"K", "STILL.FLC"},     // 64 x 48, one frame
    {"L", "ROOMY.FLC"},     // 2048 x 1536, one frame: a picture the machine may have no room for
};
enum RowIndex { kReal, kMissing, kText, kHuge, kBroken, kCut, kBig, kGimp, kOdd, kDevice, kStill, kRoomy };
constexpr int kRealFrames = 4;

std::string Folder()
{
    return ScratchFolder("preview");
}

class Preview : public MainWindowFixture {
protected:
    std::string Catalogue() const override { return folder_ + "KORVAL.INI"; }

    void SetUp() override
    {
        folder_ = Folder();
        std::string catalogue = "[Authors]\r\nAuthor1=Zora Zimmer\r\n[Keywords]\r\nKeyword1=Sport\r\n[Animations]\r\n";
        for (int n = 0; n < static_cast<int>(sizeof kRows / sizeof kRows[0]); ++n)
            catalogue += "Animation" + std::to_string(n + 1) + "=0;1;" + kRows[n].title + ";" + kRows[n].file
                         + ";05.03.98;100;1\r\n";
        catalogue += "[Settings]\r\nBasePath=ANIM\r\n";
        WriteFileBytes(folder_ + "KORVAL.INI", catalogue);
        const std::string anim = folder_ + "ANIM\\";
        WriteFileBytes(anim + "REAL.FLC", flc_writer::GradientFlc(320, 200, kRealFrames, 100));
        WriteFileBytes(anim + "TEXT.FLC", "Dies ist keine Animation, sondern ein Text.\r\n");
        WriteFileBytes(anim + "HUGE.FLC", flc_writer::Header(4096, 1025, 1, 100, 128));
        WriteFileBytes(anim + "BROKEN.FLC", flc_writer::CutInFrame(flc_writer::GradientFlc(16, 8, 2, 100), 1));
        WriteFileBytes(anim + "CUT.FLC", flc_writer::CutInFrame(flc_writer::GradientFlc(16, 8, 5, 100), 3));
        WriteFileBytes(anim + "BIG.FLC", flc_writer::GradientFlc(640, 400, 2, 100));
        WriteFileBytes(anim + "GIMP.FLI", ReadFileBytes("K:\\anim\\gimp-320x200.fli"));
        WriteFileBytes(anim + "ODD.FLC", ReadFileBytes("K:\\anim\\gimp-101x67.flc"));
        WriteFileBytes(anim + "STILL.FLC", flc_writer::GradientFlc(64, 48, 1, 100));
        WriteFileBytes(anim + "ROOMY.FLC", flc_writer::GradientFlc(2048, 1536, 1, 100));
        MainWindowFixture::SetUp();
    }

    void TearDown() override
    {
        MainWindowFixture::TearDown();
        // Every reading thread ends once its preview is gone.
        EXPECT_TRUE(WaitFor([] { return PreviewPlayer::LiveThreads() == 0; }, kPatience));
    }

    HWND List() const { return GetDlgItem(window_, ID_LIST); }

    // A row's place on the screen.
    RECT RowOnScreen(int row) const
    {
        RECT rect;
        SendMessageA(List(), LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
        MapWindowPoints(List(), nullptr, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    void Select(int row)
    {
        SendMessageA(List(), LB_SETCURSEL, row, 0);
        SendMessageA(window_, WM_COMMAND, MAKEWPARAM(ID_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(List()));
    }

    // F3 on `row`; the popup once it shows, null when it does not.
    HWND ShowRow(int row)
    {
        Select(row);
        Command(ID_PREVIEW);
        return Shown();
    }

    static HWND Shown()
    {
        WaitFor([] { return PreviewWindow() != nullptr && IsWindowVisible(PreviewWindow()); }, kPatience);
        HWND popup = PreviewWindow();
        return popup != nullptr && IsWindowVisible(popup) ? popup : nullptr;
    }

    std::string folder_;
};

std::string Text(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

RECT Client(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    return client;
}

// What the popup shows, as it paints itself into a picture.
void Capture(HWND popup, Canvas& canvas)
{
    SendMessageA(popup, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
}

// The source pixels a nearest-pixel stretch from `from` to `to` pixels may
// take for pixel `at`: counted from the pixels' left edges or from their middles.
std::vector<int> Nearest(int at, int from, int to)
{
    return {at * from / to, (2 * at + 1) * from / (2 * to)};
}

COLORREF RampColour(int index)
{
    return RGB(index, 255 - index, index / 2);
}

// Which gradient frame (from 0) the picture at (left, top) of `width` x
// `height` shows pixel for pixel; -1 when it is none of them.
int GradientFrameShown(const Canvas& canvas, int left, int top, int width, int height, int frames)
{
    for (int n = 0; n < frames; ++n) {
        bool same = true;
        for (int y = 0; y < height && same; ++y)
            for (int x = 0; x < width && same; ++x)
                same = canvas.At(left + x, top + y) == RampColour((x + y + 16 * n) & 0xFF);
        if (same)
            return n;
    }
    return -1;
}

TEST_F(Preview, NothingOfThePreviewIsMadeBeforeItIsAskedFor)
{
    EXPECT_EQ(PreviewWindow(), nullptr);
    EXPECT_EQ(FindWindowA("KorvalPreview", nullptr), nullptr);
    EXPECT_EQ(PreviewPlayer::LiveThreads(), 0);
}

TEST_F(Preview, LineForEachKindOfFile)
{
    struct Case { int row; const char* line; };
    const Case cases[] = {
        {kReal, "320 \xD7 200, 4 Bilder, 0,4 s"},
        {kMissing, "Keine Vorschau: Datei nicht gefunden"},
        {kText, "Keine Vorschau: keine FLC- oder FLI-Datei"},
        {kHuge, "Keine Vorschau: Bild zu gro\xDF"},
        {kBroken, "Keine Vorschau: Datei besch\xE4\x64igt"},
        {kCut, "16 \xD7 8, 5 Bilder, 0,5 s, besch\xE4\x64igt ab Bild 3"},
        {kBig, "640 \xD7 400, 2 Bilder, 0,2 s"},
        {kGimp, "320 \xD7 200, 7 Bilder, 0,2 s"},
        {kOdd, "101 \xD7 67, 5 Bilder, 0,2 s"},
        {kDevice, "Keine Vorschau: keine gew\xF6hnliche Datei (ein Ger\xE4t oder eine Pipe)"},
        {kRoomy, "2048 \xD7 1536, 1 Bild, 0,1 s"},
    };
    for (const Case& c : cases) {
        HWND popup = ShowRow(c.row);
        ASSERT_NE(popup, nullptr) << kRows[c.row].file;
        // A damaged frame is found while playing: the line grows then.
        WaitFor([&] { return Text(popup) == c.line; }, kPatience);
        EXPECT_EQ(Text(popup), c.line) << kRows[c.row].file;
        Command(ID_PREVIEW);
        EXPECT_EQ(PreviewWindow(), nullptr) << kRows[c.row].file;
    }
}

// A machine without room for a picture says so; it is not the file's fault.
TEST_F(Preview, NoRoomForThePictureIsSaidSo)
{
    FailNothrowArraysFrom(2048 * 1536);
    HWND popup = ShowRow(kRoomy);
    ASSERT_NE(popup, nullptr);
    WaitFor([&] { return Text(popup) != ""; }, kPatience);
    EXPECT_EQ(Text(popup), "Keine Vorschau: nicht genug Speicher f\xFCr das Bild");
    Command(ID_PREVIEW);
    ServeEveryArray();
}

TEST_F(Preview, F3IsTheAcceleratorAndTogglesThePreview)
{
    HACCEL accelerators = LoadAcceleratorsA(ModuleInstance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    ASSERT_NE(accelerators, nullptr);
    Select(kReal);
    MSG key = {List(), WM_KEYDOWN, VK_F3, 0x003D0001, 0, {0, 0}};
    EXPECT_NE(TranslateAcceleratorA(window_, accelerators, &key), 0);
    ASSERT_NE(Shown(), nullptr);
    EXPECT_NE(TranslateAcceleratorA(window_, accelerators, &key), 0);
    EXPECT_EQ(PreviewWindow(), nullptr);
    // Held down, F3 repeats (the key was down before): the message loop
    // drops the repeats, so the preview neither flickers nor goes.
    MSG held = key;
    held.lParam |= 1 << 30;
    ASSERT_TRUE(TranslateMainWindowKeys(window_, accelerators, &key));
    ASSERT_NE(Shown(), nullptr);
    for (int repeat = 0; repeat < 3; ++repeat) {
        EXPECT_TRUE(TranslateMainWindowKeys(window_, accelerators, &held));
        EXPECT_NE(PreviewWindow(), nullptr) << repeat;
    }
    EXPECT_TRUE(TranslateMainWindowKeys(window_, accelerators, &key));
    EXPECT_EQ(PreviewWindow(), nullptr);
    // Other keys, held or not, go on to the window.
    MSG other = {List(), WM_KEYDOWN, 'A', 0x401E0001, 0, {0, 0}};
    EXPECT_FALSE(TranslateMainWindowKeys(window_, accelerators, &other));
    // F3 is also "Vorschau" in "Ansicht", enabled.
    EXPECT_EQ(GetMenuState(GetMenu(window_), ID_PREVIEW, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED), 0u);
}

TEST_F(Preview, ShowsTheFirstFramePixelForPixelBesideItsRow)
{
    HWND popup = ShowRow(kReal);
    ASSERT_NE(popup, nullptr);
    RECT client = Client(popup);
    Canvas canvas(client.right, client.bottom, kUntouched);
    Capture(popup, canvas);
    const int margin = 4;
    EXPECT_NE(GradientFrameShown(canvas, margin, margin, 320, 200, kRealFrames), -1);
    EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_INFOBK));
    EXPECT_EQ(canvas.Count(RECT{0, 0, client.right, client.bottom}, kUntouched), 0);

    // Beside the selected row, inside the work area, owned by the main window.
    RECT row;
    SendMessageA(List(), LB_GETITEMRECT, kReal, reinterpret_cast<LPARAM>(&row));
    MapWindowPoints(List(), nullptr, reinterpret_cast<POINT*>(&row), 2);
    RECT shown;
    GetWindowRect(popup, &shown);
    RECT overlap;
    EXPECT_FALSE(IntersectRect(&overlap, &shown, &row));
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_GE(shown.left, monitor.rcWork.left);
    EXPECT_GE(shown.top, monitor.rcWork.top);
    EXPECT_LE(shown.right, monitor.rcWork.right);
    EXPECT_LE(shown.bottom, monitor.rcWork.bottom);
    EXPECT_EQ(GetWindow(popup, GW_OWNER), window_);
}

// A file no one here wrote: the popup shows one of its frames exactly as the
// reader decodes it, every pixel in the palette's colour.
TEST_F(Preview, AnEditorsFilesShowAsTheReaderDecodesThem)
{
    for (int row : {kGimp, kOdd}) {
        const std::string bytes = ReadFileBytes(folder_ + "ANIM\\" + kRows[row].file);
        ASSERT_FALSE(bytes.empty());
        HWND popup = ShowRow(row);
        ASSERT_NE(popup, nullptr) << kRows[row].file;
        RECT client = Client(popup);
        Canvas canvas(client.right, client.bottom, kUntouched);
        Capture(popup, canvas);
        FlcMemorySource source(bytes.data(), bytes.size());
        FlcReader reader;
        ASSERT_EQ(reader.Open(source), FlcStatus::Frame);
        const FlcInfo info = reader.Info();
        bool found = false;
        while (!found && reader.NextFrame() == FlcStatus::Frame) {
            found = true;
            for (int y = 0; y < info.height && found; ++y)
                for (int x = 0; x < info.width && found; ++x) {
                    const std::uint8_t* rgb = reader.Palette() + 3 * reader.Indices()[y * info.width + x];
                    found = canvas.At(4 + x, 4 + y) == RGB(rgb[0], rgb[1], rgb[2]);
                }
        }
        EXPECT_TRUE(found) << kRows[row].file;
        EXPECT_EQ(canvas.At(4 + info.width, 4), GetSysColor(COLOR_INFOBK)) << kRows[row].file;
        Command(ID_PREVIEW);
    }
}

TEST_F(Preview, ALargerPictureIsShrunkToFit)
{
    HWND popup = ShowRow(kBig);
    ASSERT_NE(popup, nullptr);
    RECT client = Client(popup);
    Canvas canvas(client.right, client.bottom, kUntouched);
    Capture(popup, canvas);
    // Every second pixel of every second row of a 640 x 400 frame.
    bool same = true;
    for (int n = 0; n < 2; ++n) {
        same = true;
        for (int y = 0; y < 200 && same; ++y)
            for (int x = 0; x < 320 && same; ++x)
                same = canvas.At(4 + x, 4 + y) == RampColour((2 * x + 2 * y + 16 * n) & 0xFF);
        if (same)
            break;
    }
    EXPECT_TRUE(same);
    EXPECT_EQ(canvas.At(4 + 320, 4), GetSysColor(COLOR_INFOBK));    // no wider than 320
}

TEST_F(Preview, PlaysAndLoops)
{
    HWND popup = ShowRow(kReal);
    ASSERT_NE(popup, nullptr);
    RECT client = Client(popup);
    Canvas canvas(client.right, client.bottom, kUntouched);
    // Watched until it has played a round and more, however slowly a busy
    // machine lets it play: the frames in order, round again after the last.
    // The picture is looked at after every message, each of which shows at
    // most one frame: looked at only between pumps, a slow look missed one.
    std::vector<int> seen;
    const std::size_t enough = kRealFrames + 2;
    const DWORD start = GetTickCount();
    while (seen.size() < enough && GetTickCount() - start < kPatience) {
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else {
            Sleep(5);
        }
        Capture(popup, canvas);
        int frame = GradientFrameShown(canvas, 4, 4, 320, 200, kRealFrames);
        if (seen.empty() || seen.back() != frame)
            seen.push_back(frame);
    }
    ASSERT_GE(seen.size(), enough);
    for (std::size_t n = 1; n < seen.size(); ++n)
        EXPECT_EQ(seen[n], (seen[n - 1] + 1) % kRealFrames) << n;
}

TEST_F(Preview, PaintPreviewDrawsPixelForPixelAndScalesWithTheDpi)
{
    auto frame = std::make_unique<PreviewFrame>();
    frame->width = 5;               // rows padded to 8 bytes
    frame->height = 3;
    frame->stride = PreviewRowStride(5);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            frame->indices[y * frame->stride + x] = static_cast<std::uint8_t>(10 * y + x);
    const auto palette = flc_writer::RampPalette();
    std::copy(palette.begin(), palette.end(), frame->palette);
    struct Case { int dpi; int margin; int width; int height; };
    for (Case c : {Case{96, 4, 5, 3}, Case{192, 8, 10, 6}, Case{144, 6, 8, 5}}) {
        Canvas canvas(40, 40, kUntouched);
        PaintPreview(canvas.Dc(), RECT{0, 0, 40, 40}, frame.get(), PreviewPictureSize(5, 3, c.dpi), "", c.dpi);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                COLORREF shown = canvas.At(c.margin + x, c.margin + y);
                bool matches = false;
                for (int sy : Nearest(y, 3, c.height))
                    for (int sx : Nearest(x, 5, c.width))
                        matches = matches || shown == RampColour(10 * sy + sx);
                EXPECT_TRUE(matches) << c.dpi << " DPI at " << x << "," << y;
            }
        EXPECT_EQ(canvas.At(c.margin + c.width, c.margin), GetSysColor(COLOR_INFOBK)) << c.dpi;
        EXPECT_EQ(canvas.At(c.margin, c.margin + c.height), GetSysColor(COLOR_INFOBK)) << c.dpi;
        EXPECT_EQ(canvas.Count(RECT{0, 0, 40, 40}, kUntouched), 0) << c.dpi;
    }
}

TEST_F(Preview, TakesNeitherTheFocusNorTheActivation)
{
    SetForegroundWindow(window_);
    Pump();
    HWND foreground = GetForegroundWindow();
    HWND active = GetActiveWindow();
    HWND focus = GetFocus();
    HWND popup = ShowRow(kReal);
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(GetWindowLongA(popup, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
    EXPECT_EQ(SendMessageA(popup, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(window_), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              MA_NOACTIVATE);
    Pump();
    EXPECT_EQ(GetForegroundWindow(), foreground);
    EXPECT_EQ(GetActiveWindow(), active);
    EXPECT_EQ(GetFocus(), focus);
}

// The pointer put on a row and left there: the platform's hover notice comes
// after the system's hover time and shows that row's preview.
TEST_F(Preview, ThePointerRestingOnARowShowsItsPreview)
{
    SetForegroundWindow(window_);
    RECT row;
    SendMessageA(List(), LB_GETITEMRECT, kMissing, reinterpret_cast<LPARAM>(&row));
    POINT at = {row.left + 60, row.top + 20};
    POINT screen = at;
    ClientToScreen(List(), &screen);
    SetCursorPos(screen.x, screen.y);
    Pump();
    if (WindowFromPoint(screen) != List())
        GTEST_SKIP() << "the pointer is not over the list on this display";
    SendMessageA(List(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    UINT hoverTime = 0;
    SystemParametersInfoA(SPI_GETMOUSEHOVERTIME, 0, &hoverTime, 0);
    DWORD start = GetTickCount();
    HWND popup = Shown();
    ASSERT_NE(popup, nullptr);
    EXPECT_GE(GetTickCount() - start + 20, hoverTime);     // not before the hover time
    EXPECT_EQ(Text(popup), "Keine Vorschau: Datei nicht gefunden");
    // The pointer going elsewhere: the list hears that it left, and the preview goes.
    RECT outer;
    GetWindowRect(window_, &outer);
    SetCursorPos(outer.right + 40, outer.bottom + 40);
    EXPECT_TRUE(WaitFor([] { return PreviewWindow() == nullptr; }, kPatience));
}

// The pointer resting on a row: the list hears of it as a hover at a point.
TEST_F(Preview, HoverShowsTheRowUnderThePointerAndFollowsIt)
{
    RECT row;
    SendMessageA(List(), LB_GETITEMRECT, kText, reinterpret_cast<LPARAM>(&row));
    SendMessageA(List(), WM_MOUSEHOVER, 0, MAKELPARAM(row.left + 50, row.top + 10));
    HWND popup = Shown();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(Text(popup), "Keine Vorschau: keine FLC- oder FLI-Datei");
    // On to the next row: its preview follows at once.
    SendMessageA(List(), WM_MOUSEMOVE, 0, MAKELPARAM(row.left + 50, row.bottom + 10));
    EXPECT_TRUE(WaitFor([&] { return PreviewWindow() != nullptr && Text(PreviewWindow()) == "Keine Vorschau: Bild zu gro\xDF"; },
                        kPatience));
    // Below the last row: gone.
    SendMessageA(List(), LB_SETTOPINDEX, kStill, 0);
    SendMessageA(List(), WM_MOUSEMOVE, 0, MAKELPARAM(row.left + 50, Client(List()).bottom - 2));
    EXPECT_EQ(PreviewWindow(), nullptr);
}

TEST_F(Preview, EachTriggerHidesIt)
{
    struct Case {
        const char* name;
        std::function<void(HWND window, HWND list)> act;
    };
    const Case cases[] = {
        {"pointer leaves the list", [](HWND, HWND list) { SendMessageA(list, WM_MOUSELEAVE, 0, 0); }},
        {"click", [](HWND, HWND list) { SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
                                        SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)); }},
        {"right click", [](HWND, HWND list) { SendMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5)); }},
        {"key", [](HWND, HWND list) { SendMessageA(list, WM_KEYDOWN, VK_DOWN, 0); }},
        {"scroll bar", [](HWND, HWND list) { SendMessageA(list, WM_VSCROLL, SB_LINEDOWN, 0); }},
        {"wheel", [](HWND, HWND list) { SendMessageA(list, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0); }},
        {"main window deactivated", [](HWND window, HWND) {
             SendMessageA(window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0); }},
        {"click on the toolbar strip", [](HWND window, HWND) {
             SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 10));
             SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(200, 10)); }},
        {"click on the status bar", [](HWND window, HWND) {
             SendMessageA(window, WM_PARENTNOTIFY, WM_LBUTTONDOWN, MAKELPARAM(200, 500)); }},
        {"list sorted", [](HWND window, HWND) { SendMessageA(window, WM_COMMAND, ID_SORT_TITLE, 0); }},
        {"window moved", [](HWND window, HWND) { SendMessageA(window, WM_ENTERSIZEMOVE, 0, 0); }},
        {"click on the popup", [](HWND, HWND) {
             SendMessageA(PreviewWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2)); }},
        {"companion started", [](HWND window, HWND) {
             BoxWatcher boxes([](const SeenBox&, int) { return IDOK; });
             SendMessageA(window, WM_COMMAND, ID_COPY, 0); }},
    };
    for (const Case& c : cases) {
        ASSERT_NE(ShowRow(kReal), nullptr) << c.name;
        c.act(window_, List());
        EXPECT_EQ(PreviewWindow(), nullptr) << c.name;
        Pump();
        EXPECT_EQ(FindWindowA("KorvalPreview", nullptr), nullptr) << c.name;
    }
    // F3 itself, reaching the list as a key, leaves the preview.
    ASSERT_NE(ShowRow(kReal), nullptr);
    SendMessageA(List(), WM_KEYDOWN, VK_F3, 0);
    EXPECT_NE(PreviewWindow(), nullptr);
}

// "Vorschau" in "Ansicht" is checked while a preview shows; the menu keeps
// one that F3 showed, so that the item can turn it off, and takes one that
// the pointer showed. F3 keeps a preview the pointer showed.
TEST_F(Preview, TheMenuShowsThePreviewsStateAndF3KeepsIt)
{
    auto checked = [this] {
        SendMessageA(window_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(GetMenu(window_), 1)),
                     MAKELPARAM(1, FALSE));
        return (GetMenuState(GetMenu(window_), ID_PREVIEW, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    auto hover = [this](int row) {
        RECT rect;
        SendMessageA(List(), LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
        SendMessageA(List(), WM_MOUSEHOVER, 0, MAKELPARAM(rect.left + 50, rect.top + 5));
        return Shown();
    };
    // The ways into the menu: Alt in the list, a click on the menu bar, the menu loop.
    const std::function<void(HWND, HWND)> menu[] = {
        [](HWND, HWND list) { SendMessageA(list, WM_SYSKEYDOWN, VK_MENU, 0x20000000); },
        [](HWND window, HWND) { SendMessageA(window, WM_NCLBUTTONDOWN, HTMENU, 0); },
        [](HWND window, HWND) { SendMessageA(window, WM_ENTERMENULOOP, FALSE, 0); },
    };
    EXPECT_FALSE(checked());
    for (const auto& open : menu) {
        HWND popup = ShowRow(kReal);
        ASSERT_NE(popup, nullptr);
        open(window_, List());
        EXPECT_EQ(PreviewWindow(), popup);
        EXPECT_TRUE(checked());
        Command(ID_PREVIEW);        // chosen there: off
        EXPECT_EQ(PreviewWindow(), nullptr);
        EXPECT_FALSE(checked());

        ASSERT_NE(hover(kMissing), nullptr);
        open(window_, List());
        EXPECT_EQ(PreviewWindow(), nullptr);
    }
    // F3 while the pointer's preview shows: it stays, on its row, and is F3's now.
    Select(kReal);
    HWND popup = hover(kMissing);
    ASSERT_NE(popup, nullptr);
    Command(ID_PREVIEW);
    EXPECT_EQ(PreviewWindow(), popup);
    EXPECT_EQ(Text(popup), "Keine Vorschau: Datei nicht gefunden");
    SendMessageA(window_, WM_ENTERMENULOOP, FALSE, 0);
    EXPECT_EQ(PreviewWindow(), popup);
    EXPECT_TRUE(checked());
    Command(ID_PREVIEW);
    EXPECT_EQ(PreviewWindow(), nullptr);
}

// The window activated for real: another window of the program comes forward.
TEST_F(Preview, AnotherWindowActivatedHidesIt)
{
    SetForegroundWindow(window_);
    ASSERT_NE(ShowRow(kReal), nullptr);
    HWND other = CreateWindowExA(0, "STATIC", "anderes Fenster", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    SetActiveWindow(other);
    Pump();
    EXPECT_EQ(PreviewWindow(), nullptr);
    DestroyWindow(other);
}

TEST_F(Preview, OpenedAndClosedAgainAndAgainLeavesNothingBehindAndStaysResponsive)
{
    // One round first, so that what stays for the program's life (the
    // class, the string table, the thread library) is there before the count.
    ASSERT_NE(ShowRow(kReal), nullptr);
    Command(ID_PREVIEW);
    WaitFor([] { return PreviewPlayer::LiveThreads() == 0; }, kPatience);
    SIZE_T before = CommittedBytes();
    GdiTally tally;
    // At 144 DPI the line has a font of its own, made and freed with each paint.
    for (int round = 0; round < 40; ++round) {
        HWND popup = ShowRow(round % 2 == 0 ? kReal : kBig);
        ASSERT_NE(popup, nullptr) << round;
        if (round % 4 >= 2)
            SendMessageA(popup, WM_DPICHANGED, MAKEWPARAM(144, 144), 0);
        Command(ID_PREVIEW);
    }
    EXPECT_GT(tally.Made(), 0);
    // Quicker than any file can be read: the preview asked for and gone at once.
    for (int round = 0; round < 200; ++round) {
        Command(ID_PREVIEW);
        Command(ID_PREVIEW);
        DWORD_PTR answer = 0;
        ASSERT_NE(SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer), 0) << round;
    }
    Pump();
    EXPECT_EQ(PreviewWindow(), nullptr);
    EXPECT_TRUE(WaitFor([] { return PreviewPlayer::LiveThreads() == 0; }, kPatience));
    EXPECT_EQ(tally.Live(), 0);
    EXPECT_LE(tally.GuiObjectsGained(), 0);
    // Memory back to its level, give or take what the heap and the ended
    // threads' stacks keep for a while (up to 3 MB seen): one picture buffer
    // (75 KB) kept per preview would be 18 MB after these 240.
    Sleep(100);
    EXPECT_LT(CommittedBytes(), before + 4 * 1024 * 1024);
}

// Readings left behind on a medium that hangs (a network share gone) wait
// in a read that does not come back. Players whose pictures are never taken
// keep their threads waiting just as long.
TEST_F(Preview, ReadingsAreBoundedAndAPreviewWaitsForRoom)
{
    const std::string file = folder_ + "ANIM\\REAL.FLC";
    std::vector<std::unique_ptr<PreviewPlayer>> waiting;
    for (int n = 0; n < PreviewPlayer::kMostThreads; ++n) {
        waiting.emplace_back(new PreviewPlayer(file.c_str(), window_, WM_NULL, 0));
        ASSERT_TRUE(waiting.back()->Started()) << n;
    }
    std::unique_ptr<PreviewPlayer> beyond(new PreviewPlayer(file.c_str(), window_, WM_NULL, 0));
    EXPECT_FALSE(beyond->Started());

    // F3 now: no further thread, nothing shown, the window answers.
    Select(kReal);
    Command(ID_PREVIEW);
    WaitFor([] { return false; }, 700);     // the preview tries again meanwhile
    EXPECT_EQ(PreviewPlayer::LiveThreads(), PreviewPlayer::kMostThreads);
    ASSERT_NE(PreviewWindow(), nullptr);
    EXPECT_FALSE(IsWindowVisible(PreviewWindow()));

    // The other readings end: the preview that waited starts and shows.
    waiting.clear();
    HWND popup = Shown();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(Text(popup).substr(0, 9), "320 \xD7 200");
    Command(ID_PREVIEW);
}

// The popup is sized at its own monitor's DPI (the test display's 96 here) and
// follows a change of it; the main window's DPI changing hides it.
TEST_F(Preview, AtItsMonitorsDpiAndFollowsADpiChange)
{
    HWND popup = ShowRow(kReal);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(Client(popup).right, 4 + 320 + 4);
    // The platform tells a window moved to a monitor of 144 DPI.
    SendMessageA(popup, WM_DPICHANGED, MAKEWPARAM(144, 144), 0);
    ASSERT_EQ(PreviewWindow(), popup);
    RECT client = Client(popup);
    EXPECT_GE(client.right, 6 + 480 + 6);
    Canvas canvas(client.right, client.bottom, kUntouched);
    Capture(popup, canvas);
    // Every source pixel 1.5 pixels wide and high.
    bool scaled = false;
    for (int n = 0; n < kRealFrames && !scaled; ++n) {
        scaled = true;
        for (int y = 0; y < 300 && scaled; y += 7)
            for (int x = 0; x < 480 && scaled; ++x) {
                bool matches = false;
                for (int sy : Nearest(y, 200, 300))
                    for (int sx : Nearest(x, 320, 480))
                        matches = matches || canvas.At(6 + x, 6 + y) == RampColour((sx + sy + 16 * n) & 0xFF);
                scaled = matches;
            }
    }
    EXPECT_TRUE(scaled);
    EXPECT_EQ(canvas.At(6 + 480, 6), GetSysColor(COLOR_INFOBK));
    RECT row = RowOnScreen(kReal);
    RECT shown;
    GetWindowRect(popup, &shown);
    RECT overlap;
    EXPECT_FALSE(IntersectRect(&overlap, &shown, &row));
    SetPreviewDpi(144);
    EXPECT_EQ(PreviewWindow(), nullptr);    // the main window's DPI change hides it
    SetPreviewDpi(96);
}

// Counts the popup's appearances and disappearances as a user sees them.
class PopupFlicker {
public:
    PopupFlicker() { hook_ = SetWindowsHookExA(WH_CALLWNDPROC, Watch, nullptr, GetCurrentThreadId()); }
    ~PopupFlicker() { UnhookWindowsHookEx(hook_); }
    PopupFlicker(const PopupFlicker&) = delete;
    PopupFlicker& operator=(const PopupFlicker&) = delete;
    static int shown;
    static int hidden;

private:
    static LRESULT CALLBACK Watch(int code, WPARAM wordParam, LPARAM longParam)
    {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(longParam);
        char name[32] = "";
        if (code == HC_ACTION && GetClassNameA(message->hwnd, name, sizeof name) > 0
            && std::string(name) == "KorvalPreview") {
            if (message->message == WM_WINDOWPOSCHANGED) {
                const auto* pos = reinterpret_cast<const WINDOWPOS*>(message->lParam);
                shown += (pos->flags & SWP_SHOWWINDOW) != 0;
                hidden += (pos->flags & SWP_HIDEWINDOW) != 0;
            } else if (message->message == WM_DESTROY && IsWindowVisible(message->hwnd)) {
                ++hidden;
            }
        }
        return CallNextHookEx(nullptr, code, wordParam, longParam);
    }
    HHOOK hook_ = nullptr;
};
int PopupFlicker::shown = 0;
int PopupFlicker::hidden = 0;

class PreviewBesideTheList : public Preview {
protected:
    // The pointer comes to rest on rows 1, 2 and 3 in turn, as a user moves
    // it down the list: each row shows its own line, the popup never covers
    // the row under the pointer nor takes the pointer from the list, and it
    // stays on the screen throughout.
    void RestOnTheFirstThreeRows(const char* where, int dpi)
    {
        SCOPED_TRACE(where);
        SetForegroundWindow(window_);
        SendMessageA(List(), LB_SETTOPINDEX, 0, 0);
        Pump();
        const char* lines[] = {"320 \xD7 200, 4 Bilder, 0,4 s", "Keine Vorschau: Datei nicht gefunden",
                               "Keine Vorschau: keine FLC- oder FLI-Datei"};
        PopupFlicker::shown = 0;
        PopupFlicker::hidden = 0;
        PopupFlicker flicker;
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoA(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
        for (int row = 0; row < 3; ++row) {
            RECT rect;
            SendMessageA(List(), LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
            const LPARAM point = MAKELPARAM(rect.left + 60, rect.top + 10);
            // The pointer itself goes there too: the list asks where it is
            // to tell whether it has left.
            POINT screen = {rect.left + 60, rect.top + 10};
            ClientToScreen(List(), &screen);
            SetCursorPos(screen.x, screen.y);
            SendMessageA(List(), WM_MOUSEMOVE, 0, point);
            if (row == 0)
                SendMessageA(List(), WM_MOUSEHOVER, 0, point);
            ASSERT_TRUE(WaitFor([&] { return PreviewWindow() != nullptr && Text(PreviewWindow()) == lines[row]; },
                                kPatience)) << "row " << row << " popup " << PreviewWindow() << " foreground "
                                       << (GetForegroundWindow() == window_) << " text "
                                       << (PreviewWindow() ? Text(PreviewWindow()) : "");
            Pump();
            HWND popup = PreviewWindow();
            ASSERT_TRUE(IsWindowVisible(popup)) << "row " << row;
            if (row == 0) {
                // Laid out at the display's DPI: the picture starts after the scaled margin.
                const int margin = ScaleToDpi(kPreviewMargin, dpi);
                RECT client = Client(popup);
                Canvas canvas(client.right, client.bottom, kUntouched);
                Capture(popup, canvas);
                EXPECT_EQ(canvas.At(margin - 1, margin), GetSysColor(COLOR_INFOBK));
                EXPECT_EQ(canvas.At(margin, margin - 1), GetSysColor(COLOR_INFOBK));
                EXPECT_NE(canvas.At(margin, margin), GetSysColor(COLOR_INFOBK));
            }
            RECT shown;
            GetWindowRect(popup, &shown);
            const RECT onScreen = RowOnScreen(row);
            RECT overlap;
            EXPECT_FALSE(IntersectRect(&overlap, &shown, &onScreen)) << "row " << row;
            EXPECT_GE(shown.left, monitor.rcWork.left) << "row " << row;
            EXPECT_GE(shown.top, monitor.rcWork.top) << "row " << row;
            EXPECT_LE(shown.right, monitor.rcWork.right) << "row " << row;
            EXPECT_LE(shown.bottom, monitor.rcWork.bottom) << "row " << row;
            // Where the popup lies over the list, the pointer there reaches the list.
            EXPECT_EQ(SendMessageA(popup, WM_NCHITTEST, 0, MAKELPARAM(shown.left + 5, shown.top + 5)), HTTRANSPARENT);
            RECT listOnScreen;
            GetWindowRect(List(), &listOnScreen);
            RECT covered;
            if (IntersectRect(&covered, &shown, &listOnScreen)) {
                POINT middle = {(covered.left + covered.right) / 2, (covered.top + covered.bottom) / 2};
                EXPECT_EQ(WindowFromPoint(middle), List()) << "row " << row;
            }
        }
        EXPECT_EQ(PopupFlicker::shown, 1);
        EXPECT_EQ(PopupFlicker::hidden, 0);
        SendMessageA(List(), WM_MOUSELEAVE, 0, 0);
        EXPECT_EQ(PreviewWindow(), nullptr);
    }
};

TEST_F(PreviewBesideTheList, MaximisedAndAtTheScreensRightEdge)
{
    ShowWindow(window_, SW_MAXIMIZE);
    Pump();
    RestOnTheFirstThreeRows("maximised", 96);

    ShowWindow(window_, SW_RESTORE);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT outer;
    GetWindowRect(window_, &outer);
    SetWindowPos(window_, nullptr, monitor.rcWork.right - (outer.right - outer.left), outer.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    Pump();
    RestOnTheFirstThreeRows("at the right edge", 96);
}

// The same in a program that starts on a 144-DPI display: this test program
// again, with the display's DPI set before it starts.
TEST_F(PreviewBesideTheList, MaximisedAt144Dpi)
{
    char asked[8] = "";
    if (GetEnvironmentVariableA("KORVAL_PREVIEW_DPI", asked, sizeof asked) == 0) {
        char self[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, self, sizeof self);
        DisplayDpi display(144);
        SetEnvironmentVariableA("KORVAL_PREVIEW_DPI", "144");
        HANDLE child = StartProgram(std::string("\"") + self + "\" --gtest_filter=PreviewBesideTheList.MaximisedAt144Dpi");
        SetEnvironmentVariableA("KORVAL_PREVIEW_DPI", nullptr);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(WaitExitCode(child, kPatience), 0);
        CloseHandle(child);
        return;
    }
    ASSERT_EQ(WindowDpi(window_), 144);
    EXPECT_EQ(MonitorDpi(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST)), 144);
    ShowWindow(window_, SW_MAXIMIZE);
    Pump();
    RestOnTheFirstThreeRows("maximised at 144 DPI", 144);
}

// Only while KORVAL is in front: with another program's window (a companion
// it started) in front, the pointer resting on a row shows nothing.
TEST_F(Preview, OnlyWhileTheWindowIsInFront)
{
    RECT row;
    SendMessageA(List(), LB_GETITEMRECT, kMissing, reinterpret_cast<LPARAM>(&row));
    const LPARAM point = MAKELPARAM(row.left + 50, row.top + 10);
    HWND other = CreateWindowExA(0, "STATIC", "Begleitprogramm", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    Pump();
    ASSERT_EQ(GetForegroundWindow(), other);
    SendMessageA(List(), WM_MOUSEMOVE, 0, point);
    SendMessageA(List(), WM_MOUSEHOVER, 0, point);
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(PreviewWindow(), nullptr);
    EXPECT_EQ(FindWindowA("KorvalPreview", nullptr), nullptr);
    DestroyWindow(other);
    SetForegroundWindow(window_);
    Pump();
    SendMessageA(List(), WM_MOUSEHOVER, 0, point);
    HWND popup = Shown();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(Text(popup), "Keine Vorschau: Datei nicht gefunden");
}

// A one-frame file is read and decoded once: its reading ends after the
// picture, no timer runs, and the picture stays.
TEST_F(Preview, AStillIsDecodedOnce)
{
    HWND popup = ShowRow(kStill);
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(WaitFor([] { return PreviewPlayer::LiveThreads() == 0; }, kPatience));
    WaitFor([] { return false; }, 300);
    ASSERT_EQ(PreviewWindow(), popup);
    EXPECT_EQ(PreviewPlayer::LiveThreads(), 0);
    RECT client = Client(popup);
    Canvas canvas(client.right, client.bottom, kUntouched);
    Capture(popup, canvas);
    EXPECT_EQ(GradientFrameShown(canvas, 4, 4, 64, 48, 1), 0);
    EXPECT_EQ(Text(popup), "64 \xD7 48, 1 Bild, 0,1 s");
    EXPECT_FALSE(KillTimer(popup, 1));      // no frame timer
}

// A device or a pipe is never read: a read from a pipe nobody writes would
// never come back.
TEST_F(Preview, OnlyFilesOnADiskAreRead)
{
    const char* pipeName = "\\\\.\\pipe\\korval-preview-test";
    HANDLE server = CreateNamedPipeA(pipeName, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 0, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    const std::string device = folder_ + "ANIM\\NUL";
    for (const char* path : {pipeName, device.c_str(), "COM1"}) {
        std::unique_ptr<PreviewPlayer> player(new PreviewPlayer(path, window_, WM_NULL, 0));
        ASSERT_TRUE(player->Started()) << path;
        EXPECT_TRUE(WaitFor([&] { return player->Facts().answer != PreviewAnswer::Pending; }, kPatience)) << path;
        EXPECT_EQ(player->Facts().answer, PreviewAnswer::NotAFile) << path;
        EXPECT_TRUE(WaitFor([] { return PreviewPlayer::LiveThreads() == 0; }, kPatience)) << path;
    }
    CloseHandle(server);
}

// A reading that waits in a read for ever (here a pipe nobody writes; a
// network share gone does the same) is cancelled when its player ends, and
// its reading slot is free again.
TEST_F(Preview, AReadThatHangsIsCancelledWhenThePreviewEnds)
{
    const char* pipeName = "\\\\.\\pipe\\korval-preview-hang";
    HANDLE server = CreateNamedPipeA(pipeName, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 0, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    HANDLE client = CreateFileA(pipeName, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(client, INVALID_HANDLE_VALUE);
    std::unique_ptr<PreviewPlayer> player(new PreviewPlayer(client, window_, WM_NULL, 0));
    ASSERT_TRUE(player->Started());
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(PreviewPlayer::LiveThreads(), 1);
    EXPECT_EQ(player->Facts().answer, PreviewAnswer::Pending);  // still in its first read
    player.reset();
    EXPECT_TRUE(WaitFor([] { return PreviewPlayer::LiveThreads() == 0; }, kPatience));
    CloseHandle(server);
}

} // namespace
