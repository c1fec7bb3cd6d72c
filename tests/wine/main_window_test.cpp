// The real main window, in this process, on a fixture catalogue.
#include "app/layout.h"
#include "app/main_window.h"
#include "app/picture_button.h"
#include "app/startup.h"
#include "base/instance.h"
#include "base/text.h"
#include "catalogue/catalogue_file.h"
#include "catalogue/store.h"
#include "gdi_tally.h"
#include "harness.h"
#include "main_window_fixture.h"
#include "res/resource.h"
#include "view/keyword_filter.h"
#include "view/row_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

HWND List(HWND window)
{
    return GetDlgItem(window, ID_LIST);
}

// The list's texts, top to bottom: in title order the titles, in the other
// orders the author, the file or the date key that places each row.
std::vector<std::string> ListTexts(HWND window)
{
    std::vector<std::string> texts;
    int count = static_cast<int>(SendMessageA(List(window), LB_GETCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        char text[128] = "";
        if (SendMessageA(List(window), LB_GETTEXTLEN, row, 0) < static_cast<LRESULT>(sizeof text))
            SendMessageA(List(window), LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
        texts.push_back(text);
    }
    return texts;
}

// What the status bar reads, as a screen reader gets it.
std::string StatusLine(HWND window)
{
    char text[256] = "";
    GetWindowTextA(GetDlgItem(window, ID_STATUSBAR), text, sizeof text);
    return text;
}

std::vector<int> CheckedOrders(HWND window)
{
    std::vector<int> checked;
    for (int id = ID_SORT_TITLE; id <= ID_SORT_DATE; ++id)
        if (GetMenuState(GetMenu(window), id, MF_BYCOMMAND) & MF_CHECKED)
            checked.push_back(id);
    return checked;
}

RECT ChildRect(HWND window, int id)
{
    RECT rect;
    GetWindowRect(GetDlgItem(window, id), &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Selects the named keywords in the "Selektieren" dialog, chooses the link
// and presses `button`.
DialogWatcher::Act ChooseKeywords(std::vector<std::string> names, int link, int button)
{
    return [=](HWND dialog, int) {
        HWND list = GetDlgItem(dialog, ID_KEYWORD_LIST);
        for (const std::string& name : names) {
            LRESULT position = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(name.c_str()));
            SendMessageA(list, LB_SETSEL, TRUE, position);
        }
        if (link != 0)
            SendMessageA(GetDlgItem(dialog, link), BM_CLICK, 0, 0);
        PostMessageA(dialog, WM_COMMAND, button, 0);
    };
}

class MainWindow : public MainWindowFixture {
protected:
    // The filter in force as "Selektieren" shows it when opened: the selected
    // keywords, then "Und" or "Oder". The dialog is cancelled again.
    std::string ShownFilter()
    {
        std::string shown;
        DialogWatcher dialog("Selektieren", [&](HWND d, int) {
            HWND list = GetDlgItem(d, ID_KEYWORD_LIST);
            int positions[8];
            int count = static_cast<int>(SendMessageA(list, LB_GETSELITEMS, 8, reinterpret_cast<LPARAM>(positions)));
            for (int i = 0; i < count; ++i) {
                char name[32];
                SendMessageA(list, LB_GETTEXT, positions[i], reinterpret_cast<LPARAM>(name));
                shown += std::string(name) + ";";
            }
            shown += IsDlgButtonChecked(d, ID_MATCH_ALL) == BST_CHECKED ? " Und" : " Oder";
            PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
        });
        Command(ID_SELECT);
        return dialog.Count() == 1 ? shown : "(no dialog)";
    }
};

TEST_F(MainWindow, OpensCentredInTitleOrderWithTheFirstRowReported)
{
    RECT client;
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right, 520);
    EXPECT_EQ(client.bottom, GetSystemMetrics(SM_CYVSCROLL) + 473);
    RECT outer;
    GetWindowRect(window_, &outer);
    EXPECT_EQ(outer.left, std::max<LONG>(0, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2));
    EXPECT_EQ(outer.top, std::max<LONG>(0, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2));

    EXPECT_EQ(ListTexts(window_), (std::vector<std::string>{"Alpha", "Bravo", "Charlie", "Delta"}));
    EXPECT_EQ(CheckedOrders(window_), std::vector<int>{ID_SORT_TITLE});
    EXPECT_EQ(SendMessageA(List(window_), LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(StatusLine(window_), "Animation: 1 von 4 K:\\WINDOW\\ANIM\\ZZZ.FLC");
    EXPECT_EQ(GetFocus(), List(window_));
}

TEST_F(MainWindow, EveryOrderCommandChecksOneItemAndSelectsTheFirstRow)
{
    struct Case { int command; const char* first; const char* path; };
    const Case cases[] = {
        {ID_SORT_AUTHOR, "Anton Amsel", "K:\\WINDOW\\ANIM\\ZZZ.FLC"},  // Alpha
        {ID_SORT_FILE, "AAA.FLC", "K:\\WINDOW\\ANIM\\AAA.FLC"},        // Delta
        {ID_SORT_DATE, "000305", "K:\\WINDOW\\ANIM\\BBB.FLC"},         // Bravo: 5.3.99 sorts as year 0
        {ID_SORT_TITLE, "Alpha", "K:\\WINDOW\\ANIM\\ZZZ.FLC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        SendMessageA(List(window_), LB_SETCURSEL, 2, 0);
        Command(c.command);
        EXPECT_EQ(CheckedOrders(window_), std::vector<int>{c.command});
        ASSERT_EQ(ListTexts(window_).size(), 4u);
        EXPECT_EQ(ListTexts(window_)[0], c.first);
        EXPECT_EQ(SendMessageA(List(window_), LB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(StatusLine(window_), std::string("Animation: 1 von 4 ") + c.path);
    }
    EXPECT_EQ(ListTexts(window_), (std::vector<std::string>{"Alpha", "Bravo", "Charlie", "Delta"}));
}

TEST_F(MainWindow, SelectionChangesAreReported)
{
    SendMessageA(List(window_), LB_SETCURSEL, 2, 0);
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(ID_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(List(window_)));
    EXPECT_EQ(StatusLine(window_), "Animation: 3 von 4 K:\\WINDOW\\ANIM\\SUB\\MMM.FLC");
}

TEST_F(MainWindow, KeywordDialogNarrowsWidensAndReportsNoMatch)
{
    Command(ID_SORT_DATE);
    {
        DialogWatcher dialog("Selektieren", ChooseKeywords({"Sport", "Natur"}, ID_MATCH_ALL, IDOK));
        Command(ID_SELECT);
        EXPECT_EQ(dialog.Count(), 1);
    }
    // Only Alpha (24.12.1999) carries both.
    EXPECT_EQ(ListTexts(window_), std::vector<std::string>{"191224"});
    EXPECT_EQ(CheckedOrders(window_), std::vector<int>{ID_SORT_DATE});
    EXPECT_EQ(StatusLine(window_), "Animation: 1 von 1 K:\\WINDOW\\ANIM\\ZZZ.FLC");
    // The dialog opens with the filter in force; "Oder" widens it.
    EXPECT_EQ(ShownFilter(), "Natur;Sport; Und");
    {
        DialogWatcher dialog("Selektieren", ChooseKeywords({}, ID_MATCH_ANY, IDOK));
        Command(ID_SELECT);
    }
    // Alpha, Charlie and Delta in date order.
    EXPECT_EQ(ListTexts(window_), (std::vector<std::string>{"191224", "200101", "980305"}));
    EXPECT_EQ(ShownFilter(), "Natur;Sport; Oder");

    // A keyword that no animation carries: message, then every animation again.
    {
        BoxWatcher box([](const SeenBox&, int) { return IDOK; }, "Fehler");
        DialogWatcher dialog("Selektieren", [](HWND d, int) {
            HWND list = GetDlgItem(d, ID_KEYWORD_LIST);
            SendMessageA(list, LB_SETSEL, FALSE, -1);
            ChooseKeywords({"Wasser"}, ID_MATCH_ALL, IDOK)(d, 0);
        });
        Command(ID_SELECT);
        std::vector<SeenBox> boxes = box.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Es wurden keine Animationen gefunden die dem Auswahlkriterium entsprechen!");
        EXPECT_EQ(boxes[0].caption, "Fehler");
    }
    EXPECT_EQ(ListTexts(window_).size(), 4u);
    EXPECT_EQ(ShownFilter(), " Und");        // no keyword left; the link stays as chosen
    EXPECT_EQ(StatusLine(window_), "Animation: 1 von 4 K:\\WINDOW\\ANIM\\BBB.FLC");
}

TEST_F(MainWindow, AlleDropsTheFilterAndCancelChangesNothing)
{
    {
        DialogWatcher dialog("Selektieren", ChooseKeywords({"Technik"}, 0, IDOK));
        Command(ID_SELECT);
    }
    EXPECT_EQ(ListTexts(window_), std::vector<std::string>{"Bravo"});
    {
        DialogWatcher dialog("Selektieren", ChooseKeywords({"Sport"}, ID_MATCH_ALL, IDCANCEL));
        Command(ID_SELECT);
    }
    EXPECT_EQ(ListTexts(window_), std::vector<std::string>{"Bravo"});
    {
        // The close box sends the same command as Escape.
        DialogWatcher dialog("Selektieren", [](HWND d, int) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); });
        Command(ID_SELECT);
    }
    EXPECT_EQ(ListTexts(window_), std::vector<std::string>{"Bravo"});
    {
        DialogWatcher dialog("Selektieren", ChooseKeywords({}, 0, ID_ALL));
        Command(ID_SELECT);
    }
    EXPECT_EQ(ListTexts(window_).size(), 4u);
    EXPECT_EQ(ShownFilter(), " Oder");
}

TEST_F(MainWindow, LayoutFollowsEverySize)
{
    struct Case { int width, height; };
    for (Case c : {Case{700, 400}, Case{300, 120}, Case{200, 40}}) {
        RECT outer = {0, 0, c.width, c.height};
        AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, TRUE);
        SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOZORDER | SWP_NOMOVE);
        RECT client;
        GetClientRect(window_, &client);
        SCOPED_TRACE(testing::Message() << client.right << " x " << client.bottom);
        RECT list = ChildRect(window_, ID_LIST);
        RECT bar = ChildRect(window_, ID_STATUSBAR);
        RECT play = ChildRect(window_, ID_PLAY);
        EXPECT_EQ(list.top, 32);
        EXPECT_EQ(list.right, client.right);
        EXPECT_EQ(list.bottom, client.bottom >= 52 ? client.bottom - 20 : 32);
        EXPECT_EQ(bar.top, client.bottom >= 20 ? client.bottom - 20 : 0);
        EXPECT_EQ(bar.bottom - bar.top, 20);
        EXPECT_EQ(bar.right, client.right);
        EXPECT_EQ(play.left, 0);
        EXPECT_EQ(play.top, 2);
    }
}

TEST_F(MainWindow, FocusReturnsToTheList)
{
    SetFocus(GetDlgItem(window_, ID_PLAY));
    SendMessageA(window_, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(GetFocus(), List(window_));
}

TEST_F(MainWindow, CopyrightDialogEndsWithOkEscapeOrItsCloseBox)
{
    for (UINT how : {0u, 1u, 2u}) {
        DialogWatcher dialog("Copyright Information", [how](HWND d, int) {
            if (how == 0)
                PostMessageA(d, WM_COMMAND, IDOK, 0);
            else if (how == 1)
                PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
            else
                PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0);
        });
        Command(ID_COPYRIGHT);
        EXPECT_EQ(dialog.Count(), 1);
    }
}

TEST_F(MainWindow, ExitEndsWithQuitCodeZero)
{
    Command(ID_EXIT);
    EXPECT_FALSE(IsWindow(window_));
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}


// The fixture catalogue with the stand-in programs in its program folder, and
// their log: every start leaves one line.
class MainWindowStarts : public MainWindow {
protected:
    void SetUp() override
    {
        folder_ = ScratchFolder("window_starts");
        WriteFileBytes(folder_ + "KORVAL.INI", ReadFileBytes("K:\\window\\KORVAL.INI"));
        CreateDirectoryA((folder_ + "PROG").c_str(), nullptr);
        for (const char* program : {"VANSHOW.EXE", "VANEDIT.EXE", "VANCOPY.EXE"})
            CopyFileA((std::string(KORVAL_BUILD_DIR) + "tools\\" + program).c_str(),
                      (folder_ + "PROG\\" + program).c_str(), FALSE);
        CreateDirectoryA((folder_ + "ANIM").c_str(), nullptr);
        CreateDirectoryA((folder_ + "ANIM\\SUB").c_str(), nullptr);
        log_ = folder_ + "log.txt";
        SetEnvironmentVariableA("VANTRY_STANDIN_LOG", log_.c_str());
        GetCurrentDirectoryA(sizeof startFolder_, startFolder_);

        ClearCatalogue();
        Filter = KeywordFilter{};
        CopyText(CataloguePath, (folder_ + "KORVAL.INI").c_str());
        window_ = CreateMainWindow(ModuleInstance);
        ASSERT_NE(window_, nullptr);
        ShowWindow(window_, SW_SHOW);
        Pump();
    }

    void TearDown() override
    {
        SetShift(0);
        SetCurrentDirectoryA(startFolder_);
        SetEnvironmentVariableA("VANTRY_STANDIN_LOG", nullptr);
        MainWindow::TearDown();
    }

    static void SetShift(BYTE state)
    {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = state;
        SetKeyboardState(keys);
    }

    // The line the last start left, with the folder part dropped. The
    // program runs on its own, so its line may still be on its way.
    std::string LastStart()
    {
        std::string text;
        WaitFor([&] {
            text = ReadFileBytes(log_);
            return text.find('\n') != std::string::npos;
        }, kPatience);
        RemoveFile(log_);
        return text.substr(0, text.find('\t'));
    }

    void DoubleClickRow(int row)
    {
        SendMessageA(List(window_), LB_SETCURSEL, row, 0);
        SendMessageA(window_, WM_COMMAND, MAKEWPARAM(ID_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(List(window_)));
    }

    std::string folder_;
    std::string log_;
    char startFolder_[MAX_PATH] = "";
};

TEST_F(MainWindowStarts, DoubleClickPlaysAndShiftDoubleClickEdits)
{
    const std::string prog = "T:\\WINDOW_STARTS\\PROG\\";
    const std::string anim = "T:\\WINDOW_STARTS\\ANIM\\";
    DoubleClickRow(1);                                      // Bravo
    EXPECT_EQ(LastStart(), prog + "VANSHOW.EXE " + anim + "BBB.FLC");

    SetShift(0x01);                                         // toggled, not held: still Play
    DoubleClickRow(0);
    EXPECT_EQ(LastStart(), prog + "VANSHOW.EXE " + anim + "ZZZ.FLC");

    SetShift(0x80);
    DoubleClickRow(2);                                      // Charlie, in a sub-folder
    EXPECT_EQ(LastStart(), prog + "VANEDIT.EXE " + anim + "SUB\\MMM.FLC");
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof current, current);
    EXPECT_STRCASEEQ(current, (anim + "SUB").c_str());      // the folder change stays
}

TEST_F(MainWindowStarts, EnterAndTheButtonsStartTheirPrograms)
{
    const std::string prog = "T:\\WINDOW_STARTS\\PROG\\";
    HACCEL accelerators = LoadAcceleratorsA(ModuleInstance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    ASSERT_NE(accelerators, nullptr);
    SendMessageA(List(window_), LB_SETCURSEL, 3, 0);        // Delta
    MSG enter = {List(window_), WM_KEYDOWN, VK_RETURN, 0x001C0001, 0, {0, 0}};
    EXPECT_NE(TranslateAcceleratorA(window_, accelerators, &enter), 0);
    EXPECT_EQ(LastStart(), prog + "VANSHOW.EXE T:\\WINDOW_STARTS\\ANIM\\AAA.FLC");

    // A double-click on the real button: its first click starts the copy
    // tool, its second (BN_DBLCLK) starts nothing more.
    HWND copyButton = GetDlgItem(window_, ID_COPY);
    const LPARAM inside = MAKELPARAM(5, 5);
    for (UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        SendMessageA(copyButton, mouse, mouse == WM_LBUTTONUP ? 0 : MK_LBUTTON, inside);
    // The first start's line, then room for a second start to show.
    WaitFor([&] { return ReadFileBytes(log_).find('\n') != std::string::npos; }, kPatience);
    WaitFor([] { return false; }, 500);
    std::string log = ReadFileBytes(log_);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_EQ(LastStart(), prog + "VANCOPY.EXE T:\\WINDOW_STARTS\\ANIM\\AAA.FLC");
}

TEST(MainWindowResources, NoGdiObjectOutlivesTheWindow)
{
    SetModuleInstance(GetModuleHandleA(nullptr));
    RegisterWindowClasses(ModuleInstance);
    ClearCatalogue();
    CopyText(CataloguePath, "K:\\window\\KORVAL.INI");
    GdiTally tally;
    HWND window = CreateMainWindow(ModuleInstance);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    Pump();
    // The picture context, three pictures, two fonts, two row icons and the
    // window's two icons (everything is filled in the device context's own
    // brush and pen).
    EXPECT_EQ(tally.Live(), 10);
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    Pump();
    EXPECT_EQ(tally.Live(), 10);            // painting keeps nothing
    EndMainWindow(window);
    EXPECT_EQ(tally.Live(), 0);
    EXPECT_LE(tally.GuiObjectsGained(), 0);
}

// The window moved to a monitor of another DPI: the platform sends
// WM_DPICHANGED with the new DPI and a suggested rectangle.
void ChangeDpi(HWND window, int dpi, int clientWidth, int clientHeight)
{
    RECT outer;
    GetWindowRect(window, &outer);
    RECT suggested = {0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&suggested, WS_OVERLAPPEDWINDOW, TRUE);
    OffsetRect(&suggested, outer.left - suggested.left, outer.top - suggested.top);
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    Pump();
}

TEST(MainWindowDpi, ChangeRemakesEverythingKeepsTheRowAndLeavesNothingBehind)
{
    SetModuleInstance(GetModuleHandleA(nullptr));
    RegisterWindowClasses(ModuleInstance);
    ClearCatalogue();
    Filter = KeywordFilter{};
    CopyText(CataloguePath, "K:\\window\\KORVAL.INI");
    GdiTally tally;
    HWND window = CreateMainWindow(ModuleInstance);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    Pump();
    HWND list = List(window);
    // A list low enough to scroll: row 2 selected, row 1 at the top.
    RECT outer = {0, 0, 520, 32 + 2 * 84 + 20};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, TRUE);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top, SWP_NOZORDER | SWP_NOMOVE);
    SendMessageA(list, LB_SETCURSEL, 2, 0);
    SendMessageA(list, LB_SETTOPINDEX, 1, 0);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(ID_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    const int live = tally.Live();
    const std::string status = StatusLine(window);

    // Sizes that fit the test display (1024 x 768), which caps larger windows.
    struct Step { int dpi; int clientWidth; int clientHeight; };
    for (Step step : {Step{144, 780, 48 + 2 * 126 + 30}, Step{192, 900, 64 + 2 * 168 + 40},
                      Step{288, 960, 96 + 2 * 255 + 60}, Step{96, 520, 220}}) {
        SCOPED_TRACE(testing::Message() << step.dpi << " DPI");
        ChangeDpi(window, step.dpi, step.clientWidth, step.clientHeight);
        RECT client;
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, step.clientWidth);
        EXPECT_EQ(client.bottom, step.clientHeight);
        const RowGeometry row = RowGeometryAt(step.dpi);
        const ToolbarGeometry toolbar = ToolbarGeometryAt(step.dpi);
        const MainLayout layout = ComputeMainLayout(client.right, client.bottom, step.dpi);
        EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), row.height);
        EXPECT_EQ(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0), row.extent);
        RECT listPlace = ChildRect(window, ID_LIST);
        RECT barPlace = ChildRect(window, ID_STATUSBAR);
        EXPECT_EQ(listPlace.top, layout.list.y);
        EXPECT_EQ(listPlace.bottom - listPlace.top, layout.list.height);
        EXPECT_EQ(barPlace.top, layout.statusBar.y);
        EXPECT_EQ(barPlace.bottom - barPlace.top, layout.statusBar.height);
        for (int n = 0; n < 3; ++n) {
            RECT button = ChildRect(window, ID_PLAY + n);
            EXPECT_EQ(button.left, n * toolbar.buttonStep);
            EXPECT_EQ(button.top, toolbar.buttonTop);
            EXPECT_EQ(button.right - button.left, toolbar.buttonSize);
            EXPECT_EQ(button.bottom - button.top, toolbar.buttonSize);
        }
        // The user's place in the list stays.
        EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
        EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 1);
        EXPECT_EQ(StatusLine(window), status);
        // What was made for the old DPI is gone; the window paints with the new.
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
        Pump();
        EXPECT_EQ(tally.Live(), live);
    }
    EndMainWindow(window);
    EXPECT_EQ(tally.Live(), 0);
    EXPECT_LE(tally.GuiObjectsGained(), 0);
}

TEST(MainWindowWithoutCatalogue, OpensWithoutAListAndCommandsDoNothing)
{
    SetModuleInstance(GetModuleHandleA(nullptr));
    RegisterWindowClasses(ModuleInstance);
    ClearCatalogue();
    std::string folder = ScratchFolder("nolist");
    WriteFileBytes(folder + "KORVAL.INI", "[Authors]\r\nAuthor2=Bert\r\n");
    CopyText(CataloguePath, (folder + "KORVAL.INI").c_str());
    HWND window = CreateMainWindow(ModuleInstance);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetDlgItem(window, ID_LIST), nullptr);
    EXPECT_NE(GetDlgItem(window, ID_STATUSBAR), nullptr);
    EXPECT_NE(GetDlgItem(window, ID_PLAY), nullptr);
    EXPECT_EQ(StatusLine(window), "Animation: 0 von 0");
    BoxWatcher boxes([](const SeenBox&, int) { return IDOK; });
    for (int id : {ID_PLAY, ID_EDIT, ID_COPY, ID_SORT_AUTHOR, ID_SELECT})
        SendMessageA(window, WM_COMMAND, id, 0);
    Pump();
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(StatusLine(window), "Animation: 0 von 0");
    // A DPI change without a list lays out what there is and makes no row tools.
    {
        GdiTally tally;
        ChangeDpi(window, 144, 600, 400);
        EXPECT_EQ(GetDlgItem(window, ID_LIST), nullptr);
        RECT bar = ChildRect(window, ID_STATUSBAR);
        EXPECT_EQ(bar.bottom - bar.top, 30);
        EXPECT_EQ(bar.bottom, 400);
        EXPECT_EQ(StatusLine(window), "Animation: 0 von 0");
        // Three pictures and two window icons for the new DPI; no fonts, brush or row icons.
        EXPECT_EQ(tally.Made(), 5);
        EXPECT_EQ(tally.Live(), 5);
    }
    EndMainWindow(window);
}

} // namespace
