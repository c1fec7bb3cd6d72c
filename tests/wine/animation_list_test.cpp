// The animation list in a real sorted list box: the four orders, the keyword
// filter and the path of a row.
#include "base/text.h"
#include "catalogue/store.h"
#include "harness.h"
#include "res/resource.h"
#include "view/animation_list.h"
#include "view/keyword_filter.h"
#include "view/list_order.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::string>;

void AddRecord(int author, const char* title, const char* file, const char* date, std::initializer_list<int> keywords)
{
    AnimationRecord& record = AnimationTable[AnimationCount++];
    record.authorIndex = author;
    CopyText(record.title, title);
    CopyText(record.file, file);
    CopyText(record.date, date);
    for (int keyword : keywords)
        record.keywordIndices[record.keywordCount++] = keyword;
}

class AnimationList : public ::testing::Test {
protected:
    static constexpr int kSport = 0, kNatur = 1;

    void SetUp() override
    {
        ClearCatalogue();
        Filter = {};
        SortMode = kSortByTitle;
        CopyText(AuthorTable[0], "Unbekannt");
        CopyText(AuthorTable[1], "Carla");
        CopyText(AuthorTable[2], "Anna");
        CopyText(AuthorTable[3], "Bert");
        AuthorCount = 4;
        CopyText(KeywordTable[kSport], "Sport");
        CopyText(KeywordTable[kNatur], "Natur");
        KeywordCount = 2;
        // Titles, names and files whose order is the same in every locale.
        AddRecord(1, "Delta", "D.FLC", "5.3.98", {kSport});
        AddRecord(3, "Alpha", "CLIPS\\Z.FLC", "24.12.1999", {kSport, kNatur});
        AddRecord(2, "Charlie", "B.FLC", "1.1.2000", {kNatur});
        AddRecord(0, "Bravo", "A.FLC", "5.3.99", {});
        CopyText(BasePath, "E:\\MEDIA\\ANIM\\");

        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;       // owner-draw messages need no answer here
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "AnimationListTestParent";
        RegisterClassA(&windowClass);
        parent_ = CreateWindowA("AnimationListTestParent", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(parent_, nullptr);
        HWND list = CreateWindowA("LISTBOX", "",
                                  WS_CHILD | LBS_SORT | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED | LBS_NOTIFY, 0, 0, 300,
                                  200, parent_, reinterpret_cast<HMENU>(ID_LIST), GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(list, nullptr);
    }

    void TearDown() override
    {
        DestroyWindow(parent_);
        Filter = {};
        SortMode = kSortByTitle;
    }

    // The rows as the list holds them: each row's text, and the file whose
    // path the row gives to the status bar and the launcher.
    Rows Shown()
    {
        Rows rows;
        int count = static_cast<int>(SendDlgItemMessageA(parent_, ID_LIST, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[kAnimationPathSize] = "";
            SendDlgItemMessageA(parent_, ID_LIST, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            std::string path = SelectedAnimationPath(parent_, ID_LIST, i);
            const std::string base = "E:\\MEDIA\\ANIM\\";
            rows.push_back(std::string(text) + " " + (path.rfind(base, 0) == 0 ? path.substr(base.size()) : path));
        }
        return rows;
    }

    int Fill(int sortMode) { return FillAnimationList(parent_, ID_LIST, sortMode); }

    HWND parent_ = nullptr;
};

TEST_F(AnimationList, FourOrders)
{
    struct Case { int mode; Rows rows; };
    const Case cases[] = {
        {kSortByTitle, {"Alpha CLIPS\\Z.FLC", "Bravo A.FLC", "Charlie B.FLC", "Delta D.FLC"}},
        {kSortByAuthor, {"Anna B.FLC", "Bert CLIPS\\Z.FLC", "Carla D.FLC", "Unbekannt A.FLC"}},
        {kSortByFile, {"A.FLC A.FLC", "B.FLC B.FLC", "CLIPS\\Z.FLC CLIPS\\Z.FLC", "D.FLC D.FLC"}},
        // 5.3.99, 24.12.1999, 1.1.2000, 5.3.98
        {kSortByDate, {"000305 A.FLC", "191224 CLIPS\\Z.FLC", "200101 B.FLC", "980305 D.FLC"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Fill(c.mode), 4) << c.mode;
        EXPECT_EQ(Shown(), c.rows) << c.mode;
    }
}

TEST_F(AnimationList, MinusOneKeepsTheOrder)
{
    Fill(kSortByFile);
    EXPECT_EQ(Fill(-1), 4);
    EXPECT_EQ(SortMode, kSortByFile);
    EXPECT_EQ(Shown(), (Rows{"A.FLC A.FLC", "B.FLC B.FLC", "CLIPS\\Z.FLC CLIPS\\Z.FLC", "D.FLC D.FLC"}));
}

TEST_F(AnimationList, FilterNarrowsAndWidens)
{
    Fill(kSortByTitle);
    Filter.selectedKeywords[0] = kSport;
    Filter.selectedKeywords[1] = kNatur;
    Filter.selectedCount = 2;
    Filter.matchAll = 1;
    EXPECT_EQ(Fill(-1), 1);
    EXPECT_EQ(Shown(), (Rows{"Alpha CLIPS\\Z.FLC"}));

    Filter.matchAll = 0;
    EXPECT_EQ(Fill(-1), 3);
    EXPECT_EQ(Shown(), (Rows{"Alpha CLIPS\\Z.FLC", "Charlie B.FLC", "Delta D.FLC"}));

    Filter = {};
    EXPECT_EQ(Fill(-1), 4);
    EXPECT_EQ(Shown(), (Rows{"Alpha CLIPS\\Z.FLC", "Bravo A.FLC", "Charlie B.FLC", "Delta D.FLC"}));
}

TEST_F(AnimationList, SelectedPathIsBasePathAndTheRowsFile)
{
    Fill(kSortByTitle);
    EXPECT_STREQ(SelectedAnimationPath(parent_, ID_LIST, 0), "E:\\MEDIA\\ANIM\\CLIPS\\Z.FLC");
    EXPECT_STREQ(SelectedAnimationPath(parent_, ID_LIST, 3), "E:\\MEDIA\\ANIM\\D.FLC");
    EXPECT_STREQ(SelectedAnimationPath(parent_, ID_LIST, -1), "");
    EXPECT_STREQ(SelectedAnimationPath(parent_, ID_LIST, 4), "");

    // The longest path Windows allows, 259 characters, is handed over whole;
    // one longer, or no BasePath: no path rather than another one.
    const std::string deep = "E:\\" + std::string(216, 'A') + "\\";
    CopyText(BasePath, deep.c_str());
    CopyText(AnimationTable[1].file, std::string(39, 'F').c_str());      // row 0, Alpha
    EXPECT_EQ(std::string(SelectedAnimationPath(parent_, ID_LIST, 0)), deep + std::string(39, 'F'));
    CopyText(BasePath, (deep + "G").c_str());
    EXPECT_STREQ(SelectedAnimationPath(parent_, ID_LIST, 0), "");
    BasePath[0] = '\0';
    EXPECT_STREQ(SelectedAnimationPath(parent_, ID_LIST, 0), "");
}

// A list box that refuses one text, as a full list answers LB_ERRSPACE.
WNDPROC ListProcedure;

LRESULT CALLBACK RefusingListProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == LB_ADDSTRING && std::strcmp(reinterpret_cast<const char*>(lParam), "Charlie") == 0)
        return LB_ERRSPACE;
    return CallWindowProcA(ListProcedure, window, message, wParam, lParam);
}

TEST_F(AnimationList, ARefusedRowIsLeftOutAndTheOthersKeepTheirRecords)
{
    HWND list = GetDlgItem(parent_, ID_LIST);
    ListProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RefusingListProcedure)));
    EXPECT_EQ(Fill(kSortByTitle), 3);
    EXPECT_EQ(Shown(), (Rows{"Alpha CLIPS\\Z.FLC", "Bravo A.FLC", "Delta D.FLC"}));
    SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProcedure));
}

} // namespace
