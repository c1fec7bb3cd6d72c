// The animation list and its rows as the user sees them: rendered into a DIB
// section and read back pixel by pixel.
#include "base/text.h"
#include "view/row_drawing.h"

#include "base/instance.h"
#include "catalogue/catalogue_file.h"
#include "catalogue/store.h"
#include "gdi_tally.h"
#include "pixels.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>

namespace {

constexpr int kWidth = 540;
constexpr int kTop = 84;            // the row under test is the list's second row

HFONT MakeFont(int weight)
{
    return CreateFontA(16, 0, 0, 0, weight, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FF_SWISS, "MS Sans Serif");
}

AnimationRecord Sonne()
{
    AnimationRecord record{};
    record.iconIndex = 0;
    record.authorIndex = 1;
    CopyText(record.title, "Sonne");
    CopyText(record.file, "CLIPS\\SONNE.FLI");
    CopyText(record.date, "24.12.99");
    CopyText(record.sizeText, "850 KB");
    record.keywordCount = 2;
    record.keywordIndices[0] = 1;
    record.keywordIndices[1] = 0;
    return record;
}

class RowDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetModuleInstance(GetModuleHandleA(nullptr));
        ClearCatalogue();
        CopyText(AuthorTable[0], "Unbekannt");
        CopyText(AuthorTable[1], "Erika Muster");
        AuthorCount = 2;
        CopyText(KeywordTable[0], "Natur");
        CopyText(KeywordTable[1], "Raumfahrt");
        KeywordCount = 2;
        LoadRowLabels();
        // Without a parent no list can be made; its drawing tools are made all the same.
        EXPECT_EQ(CreateAnimationList(nullptr, ID_LIST), 0);
    }
    void TearDown() override
    {
        ReleaseListResources();
        ClearCatalogue();
    }

    static int Draw(Canvas& canvas, const AnimationRecord* record, bool selected, int itemId = 1)
    {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_LISTBOX;
        item.CtlID = ID_LIST;
        item.itemID = static_cast<UINT>(itemId);
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = selected ? ODS_SELECTED : 0;
        item.hDC = canvas.Dc();
        item.rcItem = RECT{0, kTop, kWidth, kTop + 84};
        item.itemData = reinterpret_cast<ULONG_PTR>(record);
        return DrawAnimationItem(&item);
    }
};

TEST_F(RowDrawing, PanelIsRaisedAndSinksWhenSelected)
{
    struct Case { bool selected; COLORREF light; COLORREF dark; COLORREF fill; };
    const Case cases[] = {
        {false, kWhite, kGray, kLightGray},
        {true, kGray, kLightGray, kTeal},
    };
    for (const Case& c : cases) {
        Canvas canvas(kWidth + 10, 3 * 84, kUntouched);
        EXPECT_EQ(Draw(canvas, nullptr, c.selected), 0);    // no record: the bare panel

        const int last = kTop + 83;
        for (int x : {0, 1, 270, kWidth - 1}) {
            EXPECT_EQ(canvas.At(x, kTop), c.light) << "top line, x " << x;
            EXPECT_EQ(canvas.At(x, last - 1), c.dark) << "second-to-last line, x " << x;
            EXPECT_EQ(canvas.At(x, last), kBlack) << "last line, x " << x;
        }
        for (int y : {kTop + 1, kTop + 40, last - 2})
            EXPECT_EQ(canvas.At(0, y), c.light) << "left column, y " << y;
        // The fill reaches the right edge (no line there) and covers the icon's place.
        for (POINT p : {POINT{1, kTop + 1}, POINT{kWidth - 1, kTop + 1}, POINT{kWidth - 1, last - 2},
                        POINT{20, kTop + 20}, POINT{300, kTop + 50}})
            EXPECT_EQ(canvas.At(p.x, p.y), c.fill) << "fill at " << p.x << ',' << p.y;
        EXPECT_EQ(canvas.Count(RECT{0, kTop, kWidth, last - 1}, c.fill), (kWidth - 1) * 81);
        // Nothing outside the row.
        EXPECT_EQ(canvas.Count(RECT{0, 0, kWidth + 10, kTop}, kUntouched), (kWidth + 10) * kTop);
        EXPECT_EQ(canvas.Count(RECT{kWidth, kTop, kWidth + 10, kTop + 84}, kUntouched), 10 * 84);
        EXPECT_EQ(canvas.Count(RECT{0, kTop + 84, kWidth + 10, 3 * 84}, kUntouched), (kWidth + 10) * 84);
    }
}

TEST_F(RowDrawing, EmptyListRequestPaintsNothing)
{
    Canvas canvas(kWidth, 3 * 84, kUntouched);
    AnimationRecord record = Sonne();
    EXPECT_EQ(Draw(canvas, &record, true, -1), 1);
    EXPECT_EQ(canvas.Count(RECT{0, 0, kWidth, 3 * 84}, kUntouched), kWidth * 3 * 84);
}

TEST_F(RowDrawing, IconIndexChoosesTheRowIconAndFallsBackToTheFirst)
{
    auto iconAlone = [](int id) {
        auto canvas = std::make_unique<Canvas>(40, 40, kLightGray);
        DrawIcon(canvas->Dc(), 4, 4, LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)));
        return canvas;
    };
    auto film = iconAlone(IDI_ROW_FILM);
    auto sequence = iconAlone(IDI_ROW_SEQUENCE);
    const RECT iconBox = {4, 4, 36, 36};
    ASSERT_FALSE(SamePoints(film->Ink(iconBox, kLightGray), sequence->Ink(iconBox, kLightGray)));

    struct Case { int iconIndex; const Canvas* expected; };
    const Case cases[] = {
        {0, film.get()},
        {1, sequence.get()},
        {2, film.get()},        // 112 does not exist: two icons were loaded
        {5, film.get()},
        {99, film.get()},
    };
    for (const Case& c : cases) {
        Canvas canvas(kWidth, 3 * 84, kUntouched);
        AnimationRecord record = Sonne();
        record.iconIndex = c.iconIndex;
        EXPECT_EQ(Draw(canvas, &record, false), 1);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                ASSERT_EQ(canvas.At(4 + x, kTop + 4 + y), c.expected->At(4 + x, 4 + y))
                    << "icon index " << c.iconIndex << " at " << x << ',' << y;
    }
}

// The values a row should show, in the order title, author, file, date,
// size, keywords.
struct Shown {
    const char* values[6];
};

const POINT kLabelAt[6] = {{42, 6}, {42, 24}, {42, 42}, {208, 42}, {336, 42}, {42, 60}};
const POINT kValueAt[6] = {{92, 6}, {92, 24}, {92, 42}, {262, 42}, {442, 42}, {132, 60}};
const char* const kLabels[6] = {"Titel:", "Autor:", "Datei:", "Datum:", "Gesamtgr\xF6\xDF\x65:", "Stichw\xF6rter:"};

// The row's text lines must show exactly as the same texts drawn alone, in
// the same fonts and colours at the same places: that proves the places, the
// contents and the colours. A wide stand-in font may make a label run into
// its value; the comparison holds all the same.
void ExpectTexts(const Canvas& row, const Shown& shown, bool selected)
{
    COLORREF fill = selected ? kTeal : kLightGray;
    Canvas alone(kWidth, 3 * 84, fill);
    HFONT normal = MakeFont(FW_NORMAL);
    HFONT bold = MakeFont(FW_BOLD);
    HGDIOBJ previous = SelectObject(alone.Dc(), bold);
    SetBkMode(alone.Dc(), TRANSPARENT);
    for (int n = 0; n < 6; ++n)
        TextOutA(alone.Dc(), kLabelAt[n].x, kTop + kLabelAt[n].y, kLabels[n],
                 static_cast<int>(std::strlen(kLabels[n])));
    SelectObject(alone.Dc(), normal);
    SetTextColor(alone.Dc(), selected ? kWhite : kBlack);
    for (int n = 0; n < 6; ++n)
        TextOutA(alone.Dc(), kValueAt[n].x, kTop + kValueAt[n].y, shown.values[n],
                 static_cast<int>(std::strlen(shown.values[n])));
    SelectObject(alone.Dc(), previous);
    DeleteObject(normal);
    DeleteObject(bold);

    for (int line : {6, 24, 42, 60}) {
        RECT band = {40, kTop + line, kWidth, kTop + line + 16};
        EXPECT_TRUE(SamePoints(row.Ink(band, fill), alone.Ink(band, fill))) << "text line at y+" << line;
    }
    // Labels always black; values white on a selected row.
    RECT titleLabel = {42, kTop + 6, 92, kTop + 22};
    RECT titleValue = {92, kTop + 6, kWidth, kTop + 22};
    EXPECT_GT(row.Count(titleLabel, kBlack), 0);
    EXPECT_EQ(row.Count(titleLabel, kWhite), 0);
    EXPECT_GT(row.Count(titleValue, selected ? kWhite : kBlack), 0);
    EXPECT_EQ(row.Count(titleValue, selected ? kBlack : kWhite), 0);
}

TEST_F(RowDrawing, LabelsAndValuesStandAtTheirPlaces)
{
    // Only the file's part after its last backslash is shown.
    const Shown sonne = {{"Sonne", "Erika Muster", "SONNE.FLI", "24.12.99", "850 KB", "Raumfahrt, Natur"}};
    for (bool selected : {false, true}) {
        Canvas canvas(kWidth, 3 * 84, kUntouched);
        AnimationRecord record = Sonne();
        EXPECT_EQ(Draw(canvas, &record, selected), 1);
        ExpectTexts(canvas, sonne, selected);
    }
}

TEST_F(RowDrawing, UnknownAuthorAndNoKeywords)
{
    Canvas canvas(kWidth, 3 * 84, kUntouched);
    AnimationRecord record = Sonne();
    record.authorIndex = 0;
    record.keywordCount = 0;
    CopyText(record.file, "MOND.FLC");
    EXPECT_EQ(Draw(canvas, &record, true), 1);
    ExpectTexts(canvas, Shown{{"Sonne", "Unbekannt", "MOND.FLC", "24.12.99", "850 KB", ""}}, true);
}

TEST_F(RowDrawing, DrawsTheValuesItIsHandedAndNothingFromTheTables)
{
    const Shown mond = {{"Mond", "Jemand Anders", "MOND.FLC", "1.1.01", "7 KB", "Meer, Nacht"}};
    RowValues values;
    for (int n = 0; n < 6; ++n)
        values.text[n] = mond.values[n];
    Canvas canvas(kWidth, 3 * 84, kUntouched);
    AnimationRecord record = Sonne();
    DrawAnimationRow(canvas.Dc(), RECT{0, kTop, kWidth, kTop + 84}, false, record, values);
    ExpectTexts(canvas, mond, false);
}

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM && wParam == ID_LIST) {
        DrawAnimationItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeParent()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = ParentProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        windowClass.lpszClassName = "RowDrawingParent";
        registered = RegisterClassA(&windowClass) != 0;
    }
    return CreateWindowExA(0, "RowDrawingParent", "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 600, 500,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TEST(AnimationList, ControlDrawsItsRowsThroughTheParent)
{
    SetModuleInstance(GetModuleHandleA(nullptr));
    ClearCatalogue();
    CopyText(AuthorTable[1], "Erika Muster");
    AuthorCount = 2;
    HWND parent = MakeParent();
    ASSERT_NE(parent, nullptr);
    LoadRowLabels();
    ASSERT_EQ(CreateAnimationList(parent, ID_LIST), 1);
    HWND list = GetDlgItem(parent, ID_LIST);
    ASSERT_NE(list, nullptr);

    char className[16] = "";
    GetClassNameA(list, className, sizeof className);
    EXPECT_STRCASEEQ(className, "LISTBOX");
    // The control sets and clears the scroll bar bits as it shows and hides its bars.
    const DWORD scrollBars = WS_VSCROLL | WS_HSCROLL;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(list, GWL_STYLE)) & ~scrollBars, 0x50B00153u & ~scrollBars);
    EXPECT_EQ(GetWindowLongA(list, GWL_EXSTYLE) & ~WS_EX_NOPARENTNOTIFY, 0);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 84);
    EXPECT_EQ(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0), 540);

    AnimationRecord records[5] = {Sonne(), Sonne(), Sonne(), Sonne(), Sonne()};
    records[1].iconIndex = 1;
    for (int n = 0; n < 5; ++n) {
        char key[8] = {static_cast<char>('A' + n), '\0'};
        LRESULT row = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(key));
        SendMessageA(list, LB_SETITEMDATA, row, reinterpret_cast<LPARAM>(&records[n]));
    }
    SetWindowPos(list, nullptr, 0, 32, 520, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    // Five rows are higher than the list, and the 540-pixel rows wider: both bars show.
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(list, GWL_STYLE)), 0x50B00153u);

    RECT client;
    GetClientRect(list, &client);
    Canvas canvas(client.right, client.bottom, kUntouched);
    SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    EXPECT_EQ(canvas.At(0, 0), kWhite);             // first row: raised
    EXPECT_EQ(canvas.At(300, 10), kLightGray);      // beside the title, clear of any text
    EXPECT_EQ(canvas.At(0, 83), kBlack);
    EXPECT_EQ(canvas.At(0, 84), kGray);             // second row: selected
    EXPECT_EQ(canvas.At(300, 84 + 10), kTeal);
    EXPECT_EQ(canvas.At(300, 84 + 82), kLightGray);
    EXPECT_GT(canvas.Count(RECT{4, 88, 36, 120}, kTeal), 0);
    EXPECT_LT(canvas.Count(RECT{4, 88, 36, 120}, kTeal), 32 * 32);     // its icon covers part of it

    DestroyWindow(parent);
    ReleaseListResources();
    ClearCatalogue();
}

// A list box takes no item above 255 pixels: from 292 DPI on the rows are
// laid out for 255, and a list that refuses a height anyway keeps its rows'
// texts inside the rows it has.
WNDPROC ListProcedure;
LRESULT CALLBACK RefusingHeights(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == LB_SETITEMHEIGHT)
        return LB_ERR;
    return CallWindowProcA(ListProcedure, list, message, wParam, lParam);
}

TEST(AnimationList, RowsFitTheListAtAnyDpi)
{
    SetModuleInstance(GetModuleHandleA(nullptr));
    ClearCatalogue();
    HWND parent = MakeParent();
    LoadRowLabels();
    ASSERT_EQ(CreateAnimationList(parent, ID_LIST), 1);
    HWND list = GetDlgItem(parent, ID_LIST);
    struct Case { int dpi, height; };
    for (Case c : {Case{192, 168}, Case{288, 252}, Case{336, 255}, Case{480, 255}, Case{96, 84}}) {
        SetAnimationListDpi(parent, ID_LIST, c.dpi);
        EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), c.height) << c.dpi;
        EXPECT_EQ(RowGeometryAt(c.dpi).height, c.height) << c.dpi;
    }

    ListProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RefusingHeights)));
    SetAnimationListDpi(parent, ID_LIST, 144);
    ASSERT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 84);
    // The 84-pixel row holds everything it shows: nothing below or beside it.
    AnimationRecord record = Sonne();
    Canvas canvas(kWidth + 300, 3 * 84, kUntouched);
    DRAWITEMSTRUCT item = {};
    item.itemState = ODS_SELECTED;
    item.hDC = canvas.Dc();
    item.rcItem = RECT{0, 0, kWidth, 84};
    item.itemData = reinterpret_cast<ULONG_PTR>(&record);
    EXPECT_EQ(DrawAnimationItem(&item), 1);
    EXPECT_EQ(canvas.Count(RECT{0, 84, kWidth + 300, 3 * 84}, kUntouched), (kWidth + 300) * 2 * 84);
    // The keywords' label still shows, above the panel's bottom edges.
    EXPECT_GT(canvas.Count(RECT{40, 60, kWidth, 82}, kBlack), 0);
    SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProcedure));

    DestroyWindow(parent);
    ReleaseListResources();
    ClearCatalogue();
}

TEST(AnimationList, DrawingToolsAreMadeOnceAndAllReleased)
{
    SetModuleInstance(GetModuleHandleA(nullptr));
    HWND parent = MakeParent();
    AnimationRecord record = Sonne();
    GdiTally tally;
    LoadRowLabels();
    CreateAnimationList(parent, ID_LIST);
    // Two fonts and the two row icons (the fills take the device context's brush).
    EXPECT_EQ(tally.Made(), 4);
    {
        Canvas canvas(kWidth, 3 * 84, kUntouched);
        int madeBefore = tally.Made();
        for (int n = 0; n < 20; ++n) {
            DRAWITEMSTRUCT item = {};
            item.itemID = 0;
            item.itemState = n % 2 ? ODS_SELECTED : 0;
            item.hDC = canvas.Dc();
            item.rcItem = RECT{0, 0, kWidth, 84};
            item.itemData = reinterpret_cast<ULONG_PTR>(&record);
            DrawAnimationItem(&item);
        }
        EXPECT_EQ(tally.Made(), madeBefore) << "drawing rows makes nothing";
    }
    DestroyWindow(parent);
    ReleaseListResources();
    EXPECT_EQ(tally.Live(), 0);
    EXPECT_EQ(tally.GuiObjectsGained(), 0);
    ReleaseListResources();         // a second release finds nothing left to free
    EXPECT_EQ(tally.Live(), 0);
}

// The rows at other DPIs, drawn from the demo medium's catalogue with the
// tools made for that DPI.
class RowDrawingAtDpi : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetModuleInstance(GetModuleHandleA(nullptr));
        ClearCatalogue();
        CopyText(CataloguePath, KORVAL_SOURCE_DIR "examples\\medium\\KORVAL.INI");
        ASSERT_NE(LoadCatalogue(), 0);
        ASSERT_GT(AnimationCount, 10);
        LoadRowLabels();
    }
    void TearDown() override
    {
        ReleaseListResources();
        ClearCatalogue();
    }
};

// Each text of a row: where it starts, where the next text on its line begins
// (a label must end before its value, a value before the next label, the
// last value inside the row's extent), and how far to look for its ink.
struct Slot {
    bool label;
    int n;
    int x;
    int y;
    int nextX;
    int searchTo;
};

std::vector<Slot> SlotsOf(const RowGeometry& row, int width)
{
    auto nextLabel = [&](int y, int x) {
        int next = -1;
        for (int m = 0; m < kRowLabelCount; ++m)
            if (row.labelAt[m].y == y && row.labelAt[m].x > x && (next < 0 || row.labelAt[m].x < next))
                next = row.labelAt[m].x;
        return next;
    };
    std::vector<Slot> slots;
    for (int n = 0; n < kRowLabelCount; ++n) {
        const RowPoint label = row.labelAt[n];
        const RowPoint value = row.valueAt[n];
        int afterLabel = nextLabel(label.y, label.x);
        slots.push_back({true, n, label.x, label.y, value.x, afterLabel < 0 ? width : afterLabel});
        int afterValue = nextLabel(value.y, value.x);
        slots.push_back({false, n, value.x, value.y, afterValue < 0 ? row.extent : afterValue, width});
    }
    return slots;
}

TEST_F(RowDrawingAtDpi, NoTextIsCutOrTouchesTheNextAtEveryDpi)
{
    for (int dpi : {96, 120, 144, 192, 288, 336, 480}) {
        SCOPED_TRACE(testing::Message() << dpi << " DPI");
        ReleaseListResources();
        CreateRowResources(dpi);
        const RowGeometry row = RowGeometryAt(dpi);
        // Wider than the row's extent, so that a text running past it shows.
        const int width = row.extent + 60;
        const RECT whole = {0, 0, width, row.height};
        // The text must keep clear of the panel's edges.
        const int top = row.line;
        const int bottom = row.height - 2 * row.line;

        for (int i = 0; i < AnimationCount; ++i) {
            const AnimationRecord& record = AnimationTable[i];
            SCOPED_TRACE(record.title);
            char keywords[kKeywordTextSize];
            const RowValues values = RowValuesOf(record, keywords);
            for (const Slot& slot : SlotsOf(row, width)) {
                // On a selected row labels are black and values white: each
                // value is drawn with no other value beside it.
                RowValues alone;
                if (!slot.label)
                    alone.text[slot.n] = values.text[slot.n];
                Canvas canvas(width, row.height, kUntouched);
                DrawAnimationRow(canvas.Dc(), whole, true, record, alone);
                // A label's line only: the other labels stand above, below or beyond.
                const RECT band = slot.label ? RECT{slot.x, slot.y, slot.searchTo, slot.y + row.fontHeight}
                                             : RECT{slot.x, 0, slot.searchTo, row.height};
                std::vector<POINT> ink = canvas.Pixels(band, slot.label ? kBlack : kWhite);
                const char* what = slot.label ? "label " : "value ";
                if (slot.label || !values.text[slot.n].empty()) {
                    ASSERT_FALSE(ink.empty()) << what << slot.n;
                }
                if (ink.empty())
                    continue;
                RECT box = Bounds(ink);
                EXPECT_LT(box.right, slot.nextX) << what << slot.n << " runs into what follows it";
                EXPECT_GE(box.top, top) << what << slot.n;
                EXPECT_LE(box.bottom, bottom) << what << slot.n;
            }
        }
    }
}

// Which texts have ink in one column of a text line.
enum Ink { kNoInk = 0, kLabelInk = 1, kValueInk = 2 };

// The ink of each column across a text line: on a selected row labels are
// dark on the teal fill and values light (whether or not the face's edges
// are smoothed); on other rows every text is dark and counts as a label's.
// The columns left of `left` (the icon's) are left out.
std::vector<int> InkColumns(const Canvas& canvas, int left, int top, int bottom, COLORREF fill)
{
    auto brightness = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
    std::vector<int> columns(static_cast<std::size_t>(canvas.Width()), kNoInk);
    for (int x = left; x < canvas.Width(); ++x)
        for (int y = top; y < bottom; ++y) {
            COLORREF pixel = canvas.At(x, y);
            if (pixel != fill)
                columns[static_cast<std::size_t>(x)] |= brightness(pixel) < brightness(fill) ? kLabelInk : kValueInk;
        }
    return columns;
}

// A text's ink across its line: its first and last column.
struct InkRun {
    int kind;
    int first;
    int last;
};

// The labels' and values' ink in the order they stand; a column holding
// both ends up a run of its own (kind 3).
std::vector<InkRun> RunsOf(const std::vector<int>& columns)
{
    std::vector<InkRun> runs;
    for (int x = 0; x < static_cast<int>(columns.size()); ++x) {
        int kind = columns[static_cast<std::size_t>(x)];
        if (kind == kNoInk)
            continue;
        if (!runs.empty() && runs.back().kind == kind)
            runs.back().last = x;
        else
            runs.push_back(InkRun{kind, x, x});
    }
    return runs;
}

// With the named face at 96 DPI every text of a selected row stands at its
// place as it always did, as the same texts drawn alone there.
void ExpectTextsAtTheirPlaces(const Canvas& row, const RowValues& values)
{
    Canvas alone(row.Width(), row.Height(), kTeal);
    HFONT normal = MakeFont(FW_NORMAL);
    HFONT bold = MakeFont(FW_BOLD);
    HGDIOBJ previous = SelectObject(alone.Dc(), bold);
    SetBkMode(alone.Dc(), TRANSPARENT);
    for (int n = 0; n < 6; ++n)
        TextOutA(alone.Dc(), kLabelAt[n].x, kLabelAt[n].y, kLabels[n], static_cast<int>(std::strlen(kLabels[n])));
    SelectObject(alone.Dc(), normal);
    SetTextColor(alone.Dc(), kWhite);
    for (int n = 0; n < 6; ++n)
        TextOutA(alone.Dc(), kValueAt[n].x, kValueAt[n].y, values.text[n].data(),
                 static_cast<int>(values.text[n].size()));
    SelectObject(alone.Dc(), previous);
    DeleteObject(normal);
    DeleteObject(bold);
    const RECT texts = {40, 6, row.Width(), 76};
    EXPECT_TRUE(SamePoints(row.Ink(texts, kTeal), alone.Ink(texts, kTeal)));
}

// Whatever face the platform draws for the named ones (in the test prefix
// Wine's own; in the bare-fonts prefix, as in a prefix a user makes, a wider
// stand-in), every label keeps a column of background before its value, and
// every value before the label after it, on selected and other rows alike.
TEST_F(RowDrawingAtDpi, LabelsNeverTouchTheirValuesInAnyFace)
{
    const bool bareFonts = GetEnvironmentVariableA("KORVAL_BARE_FONTS", nullptr, 0) > 0;
    for (int dpi : {96, 144}) {
        SCOPED_TRACE(testing::Message() << dpi << " DPI");
        ReleaseListResources();
        CreateRowResources(dpi);
        const RowGeometry row = RowGeometryAt(dpi);
        // Room for texts pushed past the row's extent.
        const int width = 2 * row.extent;
        const RECT whole = {0, 0, width, row.height};
        int moved = 0;

        for (int i = 0; i < AnimationCount; ++i) {
            const AnimationRecord& record = AnimationTable[i];
            SCOPED_TRACE(record.title);
            char keywords[kKeywordTextSize];
            const RowValues values = RowValuesOf(record, keywords);
            Canvas selected(width, row.height, kUntouched);
            Canvas plain(width, row.height, kUntouched);
            DrawAnimationRow(selected.Dc(), whole, true, record, values);
            DrawAnimationRow(plain.Dc(), whole, false, record, values);

            if (!bareFonts && dpi == 96)
                ExpectTextsAtTheirPlaces(selected, values);
            for (int y : {row.labelAt[0].y, row.labelAt[1].y, row.labelAt[2].y, row.labelAt[5].y}) {
                SCOPED_TRACE(testing::Message() << "line at y " << y);
                // What should stand on the line, across: each label, and its
                // value where it has one.
                struct Text { int x; int kind; int n; };
                std::vector<Text> texts;
                for (int n = 0; n < kRowLabelCount; ++n) {
                    if (row.labelAt[n].y == y)
                        texts.push_back({row.labelAt[n].x, kLabelInk, n});
                    if (row.valueAt[n].y == y && !values.text[n].empty())
                        texts.push_back({row.valueAt[n].x, kValueInk, n});
                }
                std::sort(texts.begin(), texts.end(), [](const Text& a, const Text& b) { return a.x < b.x; });

                const std::vector<int> columns = InkColumns(selected, row.labelAt[0].x, y, y + row.fontHeight, kTeal);
                const std::vector<InkRun> runs = RunsOf(columns);
                ASSERT_EQ(runs.size(), texts.size()) << "a label and a value share columns";
                for (std::size_t t = 0; t < texts.size(); ++t) {
                    EXPECT_EQ(runs[t].kind, texts[t].kind) << "text " << t;
                    if (t > 0) {
                        EXPECT_GE(runs[t].first - runs[t - 1].last, 2)
                            << (texts[t].kind == kValueInk ? "value " : "label ") << texts[t].n
                            << " touches the text before it";
                    }
                    if (texts[t].kind == kValueInk && runs[t].first >= row.valueAt[texts[t].n].x + row.gap)
                        ++moved;
                }
                // The other rows show the same texts in the same places, in black.
                std::vector<int> plainColumns = InkColumns(plain, row.labelAt[0].x, y, y + row.fontHeight, kLightGray);
                for (int x = 0; x < width; ++x)
                    EXPECT_EQ(plainColumns[static_cast<std::size_t>(x)] != kNoInk,
                              columns[static_cast<std::size_t>(x)] != kNoInk)
                        << "column " << x << " of a row not selected";
            }
        }
        // In a wider face some value must have made room for its label, or
        // this test would not show what it is meant to.
        if (bareFonts) {
            EXPECT_GT(moved, 0);
        }
    }
}

TEST_F(RowDrawingAtDpi, IconFillsItsCellAndEdgesKeepTheirPlaces)
{
    for (int dpi : {96, 120, 144, 192, 288, 336, 480}) {
        SCOPED_TRACE(testing::Message() << dpi << " DPI");
        ReleaseListResources();
        CreateRowResources(dpi);
        const RowGeometry row = RowGeometryAt(dpi);
        for (int iconIndex : {0, 1}) {
            AnimationRecord record = AnimationTable[0];
            record.iconIndex = iconIndex;
            Canvas canvas(row.extent, row.height, kUntouched);
            DrawAnimationRow(canvas.Dc(), RECT{0, 0, row.extent, row.height}, false, record, RowValues{});

            // The icon made for this size, drawn alone at the cell.
            const int size = row.iconSize;
            Canvas alone(row.extent, row.height, kLightGray);
            HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr),
                                                       MAKEINTRESOURCEA(IDI_ROW_FIRST + iconIndex), IMAGE_ICON,
                                                       size, size, 0));
            ASSERT_NE(icon, nullptr);
            DrawIconEx(alone.Dc(), row.iconAt.x, row.iconAt.y, icon, size, size, 0, nullptr, DI_NORMAL);
            DestroyIcon(icon);

            // Left of the labels, inside the panel's edges, only the icon shows.
            const RECT left = {row.line, row.line, row.labelAt[0].x, row.height - 2 * row.line};
            std::vector<POINT> ink = canvas.Ink(left, kLightGray);
            EXPECT_TRUE(SamePoints(ink, alone.Ink(left, kLightGray))) << "icon " << iconIndex;
            RECT box = Bounds(ink);
            EXPECT_GE(box.left, row.iconAt.x);
            EXPECT_GE(box.top, row.iconAt.y);
            EXPECT_LE(box.right, row.iconAt.x + size);
            EXPECT_LE(box.bottom, row.iconAt.y + size);
            // Drawn at the cell's size, not the 32 pixels of 96 DPI.
            EXPECT_GT(box.bottom - box.top, size * 3 / 4) << "icon " << iconIndex;

            // The panel's edges, a line wide: light top and left, gray and black at the bottom.
            for (int n = 0; n < row.line; ++n) {
                EXPECT_EQ(canvas.At(row.extent / 2, n), kWhite);
                EXPECT_EQ(canvas.At(n, row.height / 2), kWhite);
                EXPECT_EQ(canvas.At(row.extent / 2, row.height - 1 - n), kBlack);
                EXPECT_EQ(canvas.At(row.extent / 2, row.height - 1 - row.line - n), kGray);
            }
            EXPECT_EQ(canvas.At(row.line, row.line), kLightGray);
            EXPECT_EQ(canvas.At(row.extent / 2, row.height - 1 - 2 * row.line), kLightGray);
        }
    }
}

} // namespace
