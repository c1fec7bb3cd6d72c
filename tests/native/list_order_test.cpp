// The list's order keys, the keyword filter and the selected animation's path.
#include "base/text.h"
#include "view/date_key.h"
#include "view/keyword_filter.h"
#include "view/list_order.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>

namespace {

std::string DateKey(const char* date)
{
    struct Guarded {
        char key[kDateKeySize];
        char guard[4];
    } buffer;
    std::memset(&buffer, '#', sizeof buffer);
    BuildDateKey(buffer.key, date);
    // Nothing may be written past the 12-byte key.
    EXPECT_EQ(std::string(buffer.guard, sizeof buffer.guard), "####") << date;
    return buffer.key;
}

TEST(DateKey, YearMonthDayWithYearsModulo99)
{
    struct Case { const char* date; const char* key; };
    const Case cases[] = {
        {"24.12.1999", "191224"}, {"1.1.2000", "200101"}, {"5.3.98", "980305"}, {"5.3.99", "000305"},
        {"1.1.1980", "000101"}, {"31.12.2078", "981231"},
        {"1999", "00001999"}, {"12.1999", "00199912"}, {"", "000000"},
        {" 7. 8. 2001", "210807"}, {"7.8.01abc", "010807"}, {"7..2001", "210007"}, {"x.y.z", "000000"},
        // Out-of-range parts order no longer, but stay within the key.
        {"-1.-2.-3", "-3-2-1"},
        {"-2147483648.-2147483648.-2147483648", "-2-21474836"},
        {"99999999999.99999999999.99999999999", "01214748364"},
        {"1.1.-99999999999", "-20101"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DateKey(c.date), c.key) << c.date;
}

TEST(DateKey, KeysOrderAcrossTheTurnOfTheCentury)
{
    // In date order: 5.3.99, 24.12.1999, 1.1.2000, 5.3.98.
    EXPECT_LT(DateKey("5.3.99"), DateKey("24.12.1999"));
    EXPECT_LT(DateKey("24.12.1999"), DateKey("1.1.2000"));
    EXPECT_LT(DateKey("1.1.2000"), DateKey("5.3.98"));
}

class ListOrder : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearCatalogue();
        CopyText(AuthorTable[0], "Unbekannt");
        CopyText(AuthorTable[2], "Bert");
        AuthorCount = 3;
        record_ = {};
        record_.authorIndex = 2;
        CopyText(record_.title, "Sonne");
        CopyText(record_.file, "CLIPS\\SONNE.FLC");
        CopyText(record_.date, "24.12.1999");
    }
    AnimationRecord record_;
};

TEST_F(ListOrder, KeyTextOfEachOrder)
{
    struct Case { std::int32_t mode; const char* key; };
    const Case cases[] = {
        {kSortByTitle, "Sonne"}, {kSortByAuthor, "Bert"}, {kSortByFile, "CLIPS\\SONNE.FLC"},
        {kSortByDate, "191224"}, {7, "Sonne"}, {-1, "Sonne"},
    };
    for (const Case& c : cases) {
        char dateKey[kDateKeySize];
        EXPECT_STREQ(RowKeyText(record_, c.mode, dateKey), c.key) << c.mode;
    }
    record_.authorIndex = 0;
    char dateKey[kDateKeySize];
    EXPECT_STREQ(RowKeyText(record_, kSortByAuthor, dateKey), "Unbekannt");
    record_.authorIndex = kAuthorSlots;        // never from the loader; must not read past the table
    EXPECT_STREQ(RowKeyText(record_, kSortByAuthor, dateKey), "Unbekannt");
}

TEST(AnimationPath, BasePathAndFileWholeOrNothing)
{
    const std::string base = "E:\\MEDIA\\ANIM\\";
    // A BasePath that leaves room for the longest file, 39 characters, in 259.
    const std::string deep = "E:\\" + std::string(216, 'D') + "\\";
    struct Case { const char* name; std::string basePath; std::string file; bool ok; std::string path; };
    const Case cases[] = {
        {"plain", base, "CLIPS\\Ball.flc", true, base + "CLIPS\\Ball.flc"},
        {"no separator added", "E:\\ANIM", "BALL.FLC", true, "E:\\ANIMBALL.FLC"},
        {"259 characters", deep, std::string(39, 'F'), true, deep + std::string(39, 'F')},
        {"260 characters", deep + "G", std::string(39, 'F'), false, ""},
        {"longest folder and file", "E:\\" + std::string(255, 'A') + "\\", std::string(39, 'F'), false, ""},
        {"no BasePath", "", "BALL.FLC", false, ""},
    };
    for (const Case& c : cases) {
        char path[kAnimationPathSize];
        std::memset(path, 'X', sizeof path);
        EXPECT_EQ(ComposeAnimationPath(path, c.basePath.c_str(), c.file.c_str()), c.ok) << c.name;
        EXPECT_EQ(std::string(path), c.path) << c.name;
    }
}

AnimationRecord WithKeywords(std::initializer_list<int> keywords)
{
    AnimationRecord record{};
    for (int keyword : keywords)
        record.keywordIndices[record.keywordCount++] = keyword;
    return record;
}

void SetFilter(std::initializer_list<int> keywords, int matchAll)
{
    Filter = {};
    for (int keyword : keywords)
        Filter.selectedKeywords[Filter.selectedCount++] = keyword;
    Filter.matchAll = matchAll;
}

TEST(KeywordFilter, AnyAllAndNone)
{
    const int A = 0, B = 1, C = 2;
    struct Case {
        const char* name;
        std::initializer_list<int> selected;
        int matchAll;
        std::initializer_list<int> carried;
        int passes;
    };
    const Case cases[] = {
        {"no filter, no keywords", {}, 0, {}, 1},
        {"no filter under Und", {}, 1, {}, 1},
        {"Oder: B alone", {A, B}, 0, {B}, 1},
        {"Und: B alone", {A, B}, 1, {B}, 0},
        {"Oder: A, B and C", {A, B}, 0, {C, B, A}, 1},
        {"Und: A, B and C", {A, B}, 1, {C, B, A}, 1},
        {"Oder: none selected carried", {A, B}, 0, {C}, 0},
        {"Oder: no keywords", {A}, 0, {}, 0},
        {"Und: no keywords", {A}, 1, {}, 0},
        {"Und: a repeated keyword stands for one", {A, B}, 1, {A, A}, 0},
        {"Und: a repeated keyword with the other", {A, B}, 1, {B, A, A}, 1},
        {"Und: one selected, carried twice", {C}, 1, {C, C}, 1},
        {"Oder: a repeated keyword", {A, B}, 0, {B, B}, 1},
    };
    for (const Case& c : cases) {
        SetFilter(c.selected, c.matchAll);
        EXPECT_EQ(PassesKeywordFilter(WithKeywords(c.carried)), c.passes) << c.name;
    }
    Filter = {};
}

} // namespace
