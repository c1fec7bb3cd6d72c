// KORVAL's own drawing with the high-contrast setting on: the rows, the
// toolbar, the status bar and the preview in the system's colours, and the
// window following the setting while it runs. Wine 8 cannot switch the
// setting on, but takes a black and yellow scheme through SetSysColors; the
// drawing is tested with "on" handed in, the reading of the setting through
// this program's own import of the question, which answers for the system.
#include "app/main_window.h"
#include "app/picture_button.h"
#include "base/instance.h"
#include "base/system_colours.h"
#include "base/text.h"
#include "catalogue/store.h"
#include "res/resource.h"
#include "statusbar/status_bar.h"
#include "view/row_drawing.h"
#include "watch/preview_popup.h"

#include "gdi_tally.h"
#include "main_window_fixture.h"
#include "pixels.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A black and yellow scheme, every role that KORVAL draws in a colour of its
// own so that the pixels tell the roles apart; the frame, caption, menu and
// scroll bar colours only for the screenshot.
struct SchemeColour { int index; COLORREF colour; };
const SchemeColour kBlackAndYellow[] = {
    {COLOR_WINDOW, RGB(0, 0, 0)},
    {COLOR_WINDOWTEXT, RGB(255, 255, 0)},
    {COLOR_HIGHLIGHT, RGB(0, 0, 255)},
    {COLOR_HIGHLIGHTTEXT, RGB(255, 255, 255)},
    {COLOR_BTNFACE, RGB(24, 24, 24)},
    {COLOR_BTNTEXT, RGB(255, 224, 0)},
    {COLOR_3DHIGHLIGHT, RGB(250, 250, 250)},
    {COLOR_3DSHADOW, RGB(128, 128, 0)},
    {COLOR_3DLIGHT, RGB(96, 96, 96)},
    {COLOR_3DDKSHADOW, RGB(255, 255, 0)},
    {COLOR_INFOBK, RGB(0, 0, 64)},
    {COLOR_INFOTEXT, RGB(0, 255, 0)},
    {COLOR_WINDOWFRAME, RGB(255, 255, 0)},
    {COLOR_ACTIVECAPTION, RGB(0, 0, 0)},
    {COLOR_GRADIENTACTIVECAPTION, RGB(0, 0, 0)},
    {COLOR_CAPTIONTEXT, RGB(255, 255, 0)},
    {COLOR_ACTIVEBORDER, RGB(24, 24, 24)},
    {COLOR_MENU, RGB(0, 0, 0)},
    {COLOR_MENUTEXT, RGB(255, 255, 0)},
    {COLOR_MENUBAR, RGB(0, 0, 0)},
    {COLOR_MENUHILIGHT, RGB(0, 0, 255)},
    {COLOR_SCROLLBAR, RGB(0, 0, 0)},
};
constexpr int kSchemeSize = sizeof kBlackAndYellow / sizeof kBlackAndYellow[0];

COLORREF SchemeColourOf(int index)
{
    for (const SchemeColour& c : kBlackAndYellow)
        if (c.index == index)
            return c.colour;
    return CLR_INVALID;
}

// The scheme set into the test prefix while it lives; the colours before put
// back after.
class BlackAndYellow {
public:
    BlackAndYellow()
    {
        COLORREF colours[kSchemeSize];
        for (int n = 0; n < kSchemeSize; ++n) {
            indices_[n] = kBlackAndYellow[n].index;
            saved_[n] = GetSysColor(indices_[n]);
            colours[n] = kBlackAndYellow[n].colour;
        }
        set_ = SetSysColors(kSchemeSize, indices_, colours) != FALSE;
        // The new colours are read back once the change has gone round.
        Pump();
        WaitFor([] { return GetSysColor(COLOR_WINDOW) == SchemeColourOf(COLOR_WINDOW); }, kPatience);
    }
    ~BlackAndYellow()
    {
        SetSysColors(kSchemeSize, indices_, saved_);
        Pump();
    }
    BlackAndYellow(const BlackAndYellow&) = delete;
    BlackAndYellow& operator=(const BlackAndYellow&) = delete;

    bool Set() const { return set_ && GetSysColor(COLOR_BTNTEXT) == SchemeColourOf(COLOR_BTNTEXT); }

private:
    int indices_[kSchemeSize];
    COLORREF saved_[kSchemeSize];
    bool set_ = false;
};

// What the system answers this program for the high-contrast setting: its
// import of SystemParametersInfoA is routed here, and only the question for
// that setting gets another answer. Windows (and Wine) answer it only for a
// structure of the right size.
namespace answer {

using QuestionFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT);
QuestionFn Real;
bool Given = false;
bool Answered = true;
DWORD Flags = 0;
int Asked = 0;

BOOL WINAPI Question(UINT action, UINT size, PVOID data, UINT update)
{
    if (!Given || action != SPI_GETHIGHCONTRAST)
        return Real(action, size, data, update);
    ++Asked;
    auto* setting = static_cast<HIGHCONTRASTA*>(data);
    if (!Answered || setting == nullptr || setting->cbSize != sizeof(HIGHCONTRASTA))
        return FALSE;
    setting->dwFlags = Flags;
    setting->lpszDefaultScheme = nullptr;
    return TRUE;
}

void Route()
{
    if (Real != nullptr)
        return;
    auto* base = reinterpret_cast<unsigned char*>(GetModuleHandleA(nullptr));
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name != 0; ++d) {
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const char* name = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name;
            if (std::strcmp(name, "SystemParametersInfoA") != 0)
                continue;
            void** slot = reinterpret_cast<void**>(&slots->u1.Function);
            Real = reinterpret_cast<QuestionFn>(*slot);
            DWORD protection;
            VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
            *slot = reinterpret_cast<void*>(&Question);
            VirtualProtect(slot, sizeof *slot, protection, &protection);
        }
    }
}

} // namespace answer

// While it lives, the system says the setting is on (or what it is told).
class SystemAnswers {
public:
    explicit SystemAnswers(DWORD flags, bool answered = true)
    {
        answer::Route();
        Say(flags, answered);
    }
    ~SystemAnswers() { answer::Given = false; }
    SystemAnswers(const SystemAnswers&) = delete;
    SystemAnswers& operator=(const SystemAnswers&) = delete;

    void Say(DWORD flags, bool answered = true)
    {
        answer::Given = true;
        answer::Flags = flags;
        answer::Answered = answered;
        answer::Asked = 0;
    }
    int Asked() const { return answer::Asked; }
};

constexpr DWORD kOn = HCF_HIGHCONTRASTON | HCF_AVAILABLE;

bool SameColours(const ColourScheme& a, const ColourScheme& b)
{
    return a.highContrast == b.highContrast && std::memcmp(&a.row, &b.row, sizeof a.row) == 0
           && std::memcmp(&a.selectedRow, &b.selectedRow, sizeof a.selectedRow) == 0 && a.face == b.face
           && a.faceText == b.faceText && a.frame == b.frame && a.edgeLight == b.edgeLight
           && a.edgeShadow == b.edgeShadow && a.edgeSoft == b.edgeSoft && a.background == b.background;
}

TEST(HighContrastSetting, WineAnswersOffAndTheClassicLookStaysWhateverTheColours)
{
    BlackAndYellow scheme;
    ASSERT_TRUE(scheme.Set());
    HIGHCONTRASTA setting = {};
    setting.cbSize = sizeof setting;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0));
    EXPECT_EQ(setting.dwFlags & HCF_HIGHCONTRASTON, 0u);
    ReadColourScheme();
    EXPECT_TRUE(SameColours(Colours, kClassicColours));
}

TEST(HighContrastSetting, OnlyAnAnswerWithTheFlagTakesTheSystemColours)
{
    BlackAndYellow scheme;
    ASSERT_TRUE(scheme.Set());
    struct Case { DWORD flags; bool answered; bool on; };
    const Case cases[] = {
        {kOn, true, true},
        {HCF_HIGHCONTRASTON, true, true},
        {HCF_AVAILABLE, true, false},
        {kOn, false, false},            // the question failed
    };
    for (const Case& c : cases) {
        SystemAnswers system(c.flags, c.answered);
        ReadColourScheme();
        EXPECT_EQ(system.Asked(), 1) << "asked once, with the structure's size";
        EXPECT_EQ(Colours.highContrast, c.on) << c.flags << ' ' << c.answered;
        if (c.on) {
            EXPECT_EQ(Colours.row.fill, SchemeColourOf(COLOR_WINDOW));
            EXPECT_EQ(Colours.selectedRow.fill, SchemeColourOf(COLOR_HIGHLIGHT));
            EXPECT_EQ(Colours.selectedRow.value, SchemeColourOf(COLOR_HIGHLIGHTTEXT));
            EXPECT_EQ(Colours.face, SchemeColourOf(COLOR_BTNFACE));
            EXPECT_EQ(Colours.faceText, SchemeColourOf(COLOR_BTNTEXT));
        } else {
            EXPECT_TRUE(SameColours(Colours, kClassicColours));
        }
    }
    Colours = kClassicColours;
}

// The drawing functions with the setting handed in.
class HighContrastDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scheme_.Set());
        on_ = ColourSchemeFor(true, ReadSystemColours());
    }
    BlackAndYellow scheme_;
    ColourScheme on_ = {};
};

AnimationRecord Sonne()
{
    AnimationRecord record{};
    record.authorIndex = 0;
    CopyText(record.title, "Sonne");
    CopyText(record.file, "CLIPS\\SONNE.FLI");
    CopyText(record.date, "24.12.99");
    CopyText(record.sizeText, "850 KB");
    return record;
}

TEST_F(HighContrastDrawing, RowsInTheWindowAndSelectionColoursWithTheSameTexts)
{
    SetModuleInstance(GetModuleHandleA(nullptr));
    ClearCatalogue();
    CopyText(AuthorTable[0], "Erika Muster");
    AuthorCount = 1;
    LoadRowLabels();
    CreateRowResources();
    const AnimationRecord record = Sonne();
    constexpr int kWidth = 540;
    const RECT row = {0, 0, kWidth, 84};
    const RECT texts = {40, 4, kWidth, 78};     // right of the icon, inside the edges
    for (bool selected : {false, true}) {
        SCOPED_TRACE(selected ? "selected" : "not selected");
        const RowColours& want = selected ? on_.selectedRow : on_.row;
        Canvas classic(kWidth, 84, kUntouched);
        Canvas contrast(kWidth, 84, kUntouched);
        char keywords[kKeywordTextSize];
        DrawAnimationRow(classic.Dc(), row, selected, record, RowValuesOf(record, keywords));
        DrawAnimationRow(contrast.Dc(), row, selected, record, RowValuesOf(record, keywords), on_);

        EXPECT_EQ(contrast.Count(RECT{0, 0, kWidth, 1}, want.light), kWidth);
        EXPECT_EQ(contrast.Count(RECT{0, 82, kWidth, 83}, want.shadow), kWidth);
        EXPECT_EQ(contrast.Count(RECT{0, 83, kWidth, 84}, want.last), kWidth);
        EXPECT_EQ(contrast.At(kWidth - 1, 40), want.fill);
        EXPECT_EQ(want.fill, SchemeColourOf(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        // The same letters at the same places, every one of them in the text colour.
        const COLORREF classicFill = selected ? kTeal : kLightGray;
        std::vector<POINT> ink = contrast.Ink(texts, want.fill);
        ASSERT_FALSE(ink.empty());
        EXPECT_TRUE(SamePoints(ink, classic.Ink(texts, classicFill)));
        EXPECT_EQ(contrast.Count(texts, want.value), static_cast<int>(ink.size()));
        EXPECT_EQ(want.value, SchemeColourOf(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    }
    ReleaseListResources();
    ClearCatalogue();
}

// A square picture in the classic face colour with a red dot in its middle.
HBITMAP SilverPicture(HDC reference)
{
    HBITMAP picture = CreateCompatibleBitmap(reference, 24, 24);
    HDC dc = CreateCompatibleDC(reference);
    HGDIOBJ previous = SelectObject(dc, picture);
    FillWithColour(dc, 0, 0, 24, 24, kLightGray);
    FillWithColour(dc, 10, 10, 4, 4, RGB(255, 0, 0));
    SelectObject(dc, previous);
    DeleteDC(dc);
    return picture;
}

TEST_F(HighContrastDrawing, ButtonsStripAndStatusBarInTheFaceColours)
{
    const COLORREF face = SchemeColourOf(COLOR_BTNFACE), text = SchemeColourOf(COLOR_BTNTEXT),
                   light = SchemeColourOf(COLOR_3DHIGHLIGHT), shadow = SchemeColourOf(COLOR_3DSHADOW),
                   soft = SchemeColourOf(COLOR_3DLIGHT);
    struct Press { bool pressed; COLORREF light, dark; };
    for (Press p : {Press{false, light, shadow}, Press{true, shadow, soft}}) {
        SCOPED_TRACE(p.pressed ? "pressed" : "raised");
        Canvas canvas(30, 30, kUntouched);
        HDC memory = CreateCompatibleDC(canvas.Dc());
        HBITMAP picture = SilverPicture(canvas.Dc());
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.itemState = p.pressed ? ODS_SELECTED : 0;
        item.hDC = canvas.Dc();
        item.rcItem = {0, 0, 30, 30};
        DrawPictureButton(&item, memory, picture, 24, 24, kBaseDpi, on_);
        DeleteObject(picture);
        DeleteDC(memory);
        EXPECT_EQ(canvas.Count(RECT{0, 0, 1, 30}, text), 30);
        EXPECT_EQ(canvas.Count(RECT{29, 0, 30, 30}, text), 30);
        EXPECT_EQ(canvas.At(15, 0), p.light);
        EXPECT_EQ(canvas.At(1, 15), p.light);
        EXPECT_EQ(canvas.At(15, 29), p.dark);
        EXPECT_EQ(canvas.At(28, 15), p.dark);
        EXPECT_EQ(canvas.At(2, 2), face);
        EXPECT_EQ(canvas.Count(RECT{0, 0, 30, 30}, kGray) + canvas.Count(RECT{0, 0, 30, 30}, kWhite)
                      + canvas.Count(RECT{0, 0, 30, 30}, kBlack), 0) << "no classic edge left";
    }

    Canvas strip(200, 40, kUntouched);
    PaintToolbarStrip(strip.Dc(), 200, kBaseDpi, on_);
    EXPECT_EQ(strip.Count(RECT{0, 0, 200, 1}, light), 198);     // the two right columns cross it
    EXPECT_EQ(strip.Count(RECT{0, 1, 198, 2}, text), 198);
    EXPECT_EQ(strip.Count(RECT{199, 0, 200, 32}, text), 32);
    EXPECT_EQ(strip.Count(RECT{198, 0, 199, 32}, soft), 32);
    EXPECT_EQ(strip.Count(RECT{0, 32, 200, 40}, kUntouched), 200 * 8);

    constexpr int kBarWidth = 520, kBarHeight = 20;
    Canvas bar(kBarWidth, kBarHeight, face);        // the window's background
    PaintStatusBar(bar.Dc(), RECT{0, 0, kBarWidth, kBarHeight}, StatusTexts{"Animation:", "1 von 3", "K:\\A.FLC"},
                   true, kBaseDpi, on_);
    EXPECT_EQ(bar.Count(RECT{0, 0, kBarWidth, 1}, shadow), kBarWidth);
    EXPECT_EQ(bar.Count(RECT{0, 1, kBarWidth, 2}, light), kBarWidth);
    // Everything below the top lines is face, an edge, or text; the texts are there.
    const RECT below = {0, 2, kBarWidth, kBarHeight};
    const int all = kBarWidth * (kBarHeight - 2);
    EXPECT_EQ(bar.Count(below, face) + bar.Count(below, shadow) + bar.Count(below, light) + bar.Count(below, text),
              all);
    EXPECT_GT(bar.Count(below, text), 60);
}

TEST_F(HighContrastDrawing, PreviewInTheTooltipColours)
{
    Canvas canvas(200, 60, kUntouched);
    PaintPreview(canvas.Dc(), RECT{0, 0, 200, 60}, nullptr, PreviewSize{0, 0}, "320 x 200, 8 Bilder", kBaseDpi);
    const COLORREF back = SchemeColourOf(COLOR_INFOBK), text = SchemeColourOf(COLOR_INFOTEXT);
    const RECT all = {0, 0, 200, 60};
    EXPECT_GT(canvas.Count(all, text), 40);
    EXPECT_EQ(canvas.Count(all, back) + canvas.Count(all, text), 200 * 60);
}

// What a window shows in its client area: its background and painting, then
// every child (frame, scroll bars and all) at its place. Wine's PrintWindow
// leaves the children out, and its buttons clip to their client rectangle in
// device units: each child prints into a picture of its own.
void PrintClient(HWND window, Canvas& canvas, POINT origin = {0, 0})
{
    canvas.Clear(kUntouched);
    HDC dc = canvas.Dc();
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        RECT place;
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
        Canvas piece(place.right - place.left, place.bottom - place.top, kUntouched);
        SendMessageA(child, WM_PRINT, reinterpret_cast<WPARAM>(piece.Dc()),
                     PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
        BitBlt(dc, origin.x + place.left, origin.y + place.top, piece.Width(), piece.Height(), piece.Dc(), 0, 0,
               SRCCOPY);
    }
}

// The real window, asked for the setting by the system's change messages.
class HighContrastWindow : public MainWindowFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scheme_.Set());
        MainWindowFixture::SetUp();
    }
    void TearDown() override
    {
        MainWindowFixture::TearDown();
        Colours = kClassicColours;
    }

    // The window's client area with its children, as it paints them.
    void Capture(Canvas& canvas) { PrintClient(window_, canvas); }

    BlackAndYellow scheme_;
    SystemAnswers system_{0};
};

// Saves a canvas as a 24-bit BMP file.
void SaveBitmap(const Canvas& canvas, const std::string& path)
{
    const int width = canvas.Width(), height = canvas.Height();
    const int stride = (width * 3 + 3) & ~3;
    std::string bytes(54 + static_cast<std::size_t>(stride) * height, '\0');
    auto put = [&bytes](std::size_t at, std::uint32_t value, int size) {
        for (int n = 0; n < size; ++n)
            bytes[at + n] = static_cast<char>(value >> (8 * n));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(2, static_cast<std::uint32_t>(bytes.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(width), 4);
    put(22, static_cast<std::uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            COLORREF c = canvas.At(x, y);
            std::size_t at = 54 + static_cast<std::size_t>(height - 1 - y) * stride + 3 * x;
            bytes[at] = static_cast<char>(GetBValue(c));
            bytes[at + 1] = static_cast<char>(GetGValue(c));
            bytes[at + 2] = static_cast<char>(GetRValue(c));
        }
    WriteFileBytes(path, bytes);
}

TEST_F(HighContrastWindow, FollowsTheSettingWhileRunningAndComesBackPixelForPixel)
{
    RECT client;
    GetClientRect(window_, &client);
    Canvas before(client.right, client.bottom, kUntouched);
    Canvas on(client.right, client.bottom, kUntouched);
    Canvas after(client.right, client.bottom, kUntouched);
    Capture(before);

    // Places of the strip, a button's face, a picture's background, a row, the status bar.
    RECT bar;
    GetWindowRect(GetDlgItem(window_, ID_STATUSBAR), &bar);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&bar), 2);
    RECT list;
    GetWindowRect(GetDlgItem(window_, ID_LIST), &list);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&list), 2);
    const POINT strip = {client.right - 10, 20};
    const POINT buttonFace = {2, 20};
    const POINT pictureCorner = {3, 5};        // the 24-pixel picture's corner in its 30-pixel button at y 2
    const POINT firstRow = {list.right - 30, list.top + 40};
    const POINT barFace = {bar.left + 3, bar.top + 10};
    struct Place { POINT at; COLORREF classic; int system; };
    const Place places[] = {
        {strip, kGray, COLOR_BTNFACE},
        {buttonFace, kLightGray, COLOR_BTNFACE},
        {pictureCorner, kLightGray, COLOR_BTNFACE},
        {firstRow, kTeal, COLOR_HIGHLIGHT},        // the first row is selected
        {barFace, kLightGray, COLOR_BTNFACE},
    };
    for (const Place& p : places)
        EXPECT_EQ(before.At(p.at.x, p.at.y), p.classic) << p.at.x << ',' << p.at.y;

    GdiTally tally;
    int madeByChanges = 0;
    struct Change { UINT message; WPARAM wordParam; };
    for (Change change : {Change{WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST}, Change{WM_SYSCOLORCHANGE, 0}}) {
        SCOPED_TRACE(change.message == WM_SYSCOLORCHANGE ? "WM_SYSCOLORCHANGE" : "WM_SETTINGCHANGE");
        system_.Say(kOn);
        int made = tally.Made();
        SendMessageA(window_, change.message, change.wordParam, 0);
        // Everything is to be drawn again, the children too.
        for (HWND part : {window_, GetDlgItem(window_, ID_LIST), GetDlgItem(window_, ID_STATUSBAR),
                          GetDlgItem(window_, ID_PLAY)})
            EXPECT_TRUE(GetUpdateRect(part, nullptr, FALSE)) << GetDlgCtrlID(part);
        Pump();
        madeByChanges += tally.Made() - made;
        EXPECT_EQ(system_.Asked(), 1);
        Capture(on);
        for (const Place& p : places)
            EXPECT_EQ(on.At(p.at.x, p.at.y), SchemeColourOf(p.system)) << p.at.x << ',' << p.at.y;

        system_.Say(0);
        made = tally.Made();
        SendMessageA(window_, change.message, change.wordParam, 0);
        Pump();
        madeByChanges += tally.Made() - made;
        Capture(after);
        const RECT all = {0, 0, client.right, client.bottom};
        EXPECT_TRUE(SamePoints(after.Pixels(all, kUntouched), before.Pixels(all, kUntouched)));
        int differing = 0;
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x)
                differing += after.At(x, y) != before.At(x, y) ? 1 : 0;
        EXPECT_EQ(differing, 0) << "off again: the classic look, pixel for pixel";
    }
    // Every change loads the three button pictures anew and frees the ones before.
    EXPECT_EQ(madeByChanges, 4 * 3);
    EXPECT_EQ(tally.Live(), 3);
    // Another setting's change asks nothing.
    system_.Say(0);
    SendMessageA(window_, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    EXPECT_EQ(system_.Asked(), 0);

    // The window with the setting on, for the developer notes' screenshot:
    // scripts/highcontrast-shot.sh runs this test on a virtual X display and
    // the window is copied from the screen, frame, caption and menu with it.
    if (const char* shot = std::getenv("KORVAL_HIGH_CONTRAST_SHOT")) {
        system_.Say(kOn);
        SendMessageA(window_, WM_SYSCOLORCHANGE, 0, 0);
        SetForegroundWindow(window_);
        RedrawWindow(window_, nullptr, nullptr,
                     RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        Sleep(500);
        Pump();
        RECT outer;
        GetWindowRect(window_, &outer);
        Canvas whole(outer.right - outer.left, outer.bottom - outer.top, kUntouched);
        HDC screen = GetDC(nullptr);
        BitBlt(whole.Dc(), 0, 0, whole.Width(), whole.Height(), screen, outer.left, outer.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
        SaveBitmap(whole, shot);
    }
}

} // namespace
