// What a list row shows: the keyword text, the file's name, the author, and
// the bounded loading of the row icons.
#include "base/text.h"
#include "view/row_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

AnimationRecord WithKeywords(std::vector<int> indices)
{
    AnimationRecord record{};
    record.keywordCount = static_cast<int>(indices.size());
    for (std::size_t k = 0; k < indices.size() && k < kEntryKeywords; ++k)
        record.keywordIndices[k] = indices[k];
    return record;
}

std::string Keywords(const AnimationRecord& record, bool* whole = nullptr)
{
    char text[kKeywordTextSize];
    std::memset(text, '#', sizeof text);
    bool fitted = BuildKeywordText(record, text);
    if (whole)
        *whole = fitted;
    return text;
}

class RowText : public ::testing::Test {
protected:
    void SetUp() override { ClearCatalogue(); }
    void TearDown() override { ClearCatalogue(); }
    static void SetKeyword(int slot, const std::string& name)
    {
        CopyText(KeywordTable[slot], name.c_str());
        KeywordCount = slot + 1 > KeywordCount ? slot + 1 : KeywordCount;
    }
};

TEST_F(RowText, KeywordTextJoinsTheNamesInTheirOrder)
{
    SetKeyword(0, "Natur");
    SetKeyword(1, "Raumfahrt");
    SetKeyword(2, "Wasser");
    struct Case { std::vector<int> indices; const char* expected; };
    const Case cases[] = {
        {{0, 1}, "Natur, Raumfahrt"},
        {{2}, "Wasser"},
        {{}, ""},
        {{1, 1, 0}, "Raumfahrt, Raumfahrt, Natur"},     // repeats stay
        {{-1, 2, 50, 0}, "Wasser, Natur"},              // indices outside the table are passed over
    };
    for (const Case& c : cases) {
        bool whole = false;
        EXPECT_EQ(Keywords(WithKeywords(c.indices), &whole), c.expected);
        EXPECT_TRUE(whole);
    }

    AnimationRecord wild = WithKeywords({0, 1});
    wild.keywordCount = -3;
    EXPECT_EQ(Keywords(wild), "");
    wild.keywordCount = 1000;       // never read past the record's ten indices
    EXPECT_EQ(Keywords(wild), "Natur, Raumfahrt, Natur, Natur, Natur, Natur, Natur, Natur, Natur, Natur");
}

TEST_F(RowText, KeywordTextKeepsWholeNamesWhenTheJoinIsTooLong)
{
    std::vector<int> ten;
    for (int slot = 0; slot < 10; ++slot) {
        SetKeyword(slot, std::string(31, static_cast<char>('A' + slot)));
        ten.push_back(slot);
    }
    std::string nine;
    for (int slot = 0; slot < 9; ++slot)
        nine += (slot ? ", " : "") + std::string(31, static_cast<char>('A' + slot));

    // Ten names of 31 characters and nine separators: 328 characters.
    bool whole = true;
    std::string text = Keywords(WithKeywords(ten), &whole);
    EXPECT_FALSE(whole);
    EXPECT_EQ(text, nine + ", ...");

    // A join of exactly 319 characters still fits whole; one more does not.
    SetKeyword(9, std::string(22, 'J'));
    EXPECT_EQ(Keywords(WithKeywords(ten), &whole), nine + ", " + std::string(22, 'J'));
    EXPECT_TRUE(whole);
    SetKeyword(9, std::string(23, 'J'));
    EXPECT_EQ(Keywords(WithKeywords(ten), &whole), nine + ", ...");
    EXPECT_FALSE(whole);

    // A keyword slot filled to its last byte is read no further than the slot.
    std::memset(KeywordTable[0], 'Q', kKeywordNameSize);
    EXPECT_EQ(Keywords(WithKeywords({0, 1})), std::string(32, 'Q') + ", " + std::string(31, 'B'));
}

TEST(RowTextFile, ShowsTheNameAfterTheLastBackslash)
{
    struct Case { const char* file; const char* shown; };
    const Case cases[] = {
        {"CLIPS\\SONNE.FLI", "SONNE.FLI"},
        {"SONNE.FLI", "SONNE.FLI"},
        {"A\\B\\MOND.FLC", "MOND.FLC"},
        {"CLIPS\\", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(FileDisplayName(c.file), c.shown) << c.file;
}

TEST_F(RowText, AuthorOutsideTheTableIsUnknown)
{
    CopyText(AuthorTable[0], "Unbekannt");
    CopyText(AuthorTable[2], "Erika Muster");
    EXPECT_STREQ(AuthorName(2), "Erika Muster");
    for (int index : {0, -1, kAuthorSlots, 100000})
        EXPECT_STREQ(AuthorName(index), "Unbekannt") << index;
}

TEST_F(RowText, RowNameIsTheTitleThenEachLabelledValue)
{
    const char labels[kRowLabelCount][kRowLabelSize] = {"Titel:", "Autor:", "Datei:", "Datum:",
                                                         "Gesamtgr\xF6\xDF\x65:", "Stichw\xF6rter:"};
    CopyText(AuthorTable[0], "Unbekannt");
    SetKeyword(0, "Trickfilm");
    SetKeyword(1, "Sport");
    AnimationRecord record = WithKeywords({0, 1});
    CopyText(record.title, "Der Jongleur");
    CopyText(record.file, "ZIRKUS\\JONGLEUR.FLC");
    CopyText(record.date, "14.02.1996");
    CopyText(record.sizeText, "512 KB");
    char keywords[kKeywordTextSize];
    char name[kRowNameSize];
    BuildRowName(name, labels, RowValuesOf(record, keywords));
    EXPECT_STREQ(name, "Der Jongleur, Autor: Unbekannt, Datei: JONGLEUR.FLC, Datum: 14.02.1996, "
                       "Gesamtgr\xF6\xDF" "e: 512 KB, Stichw\xF6rter: Trickfilm, Sport");

    // No keywords: no keyword part. The longest values all fit.
    record.keywordCount = 0;
    BuildRowName(name, labels, RowValuesOf(record, keywords));
    EXPECT_STREQ(name, "Der Jongleur, Autor: Unbekannt, Datei: JONGLEUR.FLC, Datum: 14.02.1996, "
                       "Gesamtgr\xF6\xDF" "e: 512 KB");
    AnimationRecord longest = WithKeywords({2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    for (int k = 2; k < 12; ++k)
        SetKeyword(k, std::string(kKeywordNameSize - 1, static_cast<char>('a' + k)));
    std::memset(longest.title, 'T', sizeof longest.title - 1);
    std::memset(longest.file, 'F', sizeof longest.file - 1);
    std::memset(longest.date, 'D', sizeof longest.date - 1);
    std::memset(longest.sizeText, 'S', sizeof longest.sizeText - 1);
    longest.authorIndex = 1;
    CopyText(AuthorTable[1], std::string(kAuthorNameSize - 1, 'A').c_str());
    BuildRowName(name, labels, RowValuesOf(longest, keywords));
    std::string whole = name;
    EXPECT_EQ(whole.rfind(", ...") + 5, whole.size()) << "ends with the keyword text's own mark";
    EXPECT_NE(whole.find(std::string(kAuthorNameSize - 1, 'A')), std::string::npos);
}

TEST(RowIconLoading, StopsAtTheFirstMissingIconOrWhenTheSlotsAreFull)
{
    static int icon[8];
    struct Case { int available; int loaded; };
    const Case cases[] = {{0, 0}, {2, 2}, {4, 4}, {5, 5}, {8, 5}};
    for (const Case& c : cases) {
        int* slots[kRowIconSlots];
        std::vector<int> asked;
        int loaded = LoadUntilMissing(slots, [&](int n) -> int* {
            asked.push_back(n);
            return n < c.available ? &icon[n] : nullptr;
        });
        EXPECT_EQ(loaded, c.loaded) << c.available;
        for (int n = 0; n < loaded; ++n)
            EXPECT_EQ(slots[n], &icon[n]);
        for (int n = loaded; n < kRowIconSlots; ++n)
            EXPECT_EQ(slots[n], nullptr);
        // Nothing is asked for beyond the slots, nor past the first missing one.
        EXPECT_EQ(static_cast<int>(asked.size()), c.available < kRowIconSlots ? c.available + 1 : kRowIconSlots);
    }
}


// Where the texts of a row start once measured. Labels: title, author, file,
// date, size, keywords at 42/6, 42/24, 42/42, 208/42, 336/42, 42/60 (96 DPI);
// values at 92, 92, 92, 262, 442, 132 on the same lines.
TEST(RowTextPlaces, ValuesAndLabelsKeepClearOfTheTextBefore)
{
    struct Case {
        const char* name;
        int dpi;
        RowTextWidths widths;
        RowTextColumns expected;
    };
    // Widths of the named face at 96 DPI: everything at its place.
    const RowTextWidths fitting = {{31, 38, 36, 42, 86, 80}, {40, 60, 60, 56, 40, 200}};
    const RowTextColumns places = {{42, 42, 42, 208, 336, 42}, {92, 92, 92, 262, 442, 132}};
    const Case cases[] = {
        {"named face", 96, fitting, places},
        {"nothing to draw", 96, {{0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}}, places},
        // A wider face: "Gesamtgroesse:" 113 pixels from 336 ends 7 past its value's place.
        {"wide size label", 96, {{31, 38, 36, 42, 113, 80}, {40, 60, 60, 56, 40, 200}},
         {{42, 42, 42, 208, 336, 42}, {92, 92, 92, 262, 453, 132}}},
        // Up to the gap before the place nothing moves; one pixel more moves by one.
        {"label ends a gap before its value", 96, {{46, 38, 36, 42, 86, 80}, {40, 60, 60, 56, 40, 200}}, places},
        {"label one pixel further", 96, {{47, 38, 36, 42, 86, 80}, {40, 60, 60, 56, 40, 200}},
         {{42, 42, 42, 208, 336, 42}, {93, 92, 92, 262, 442, 132}}},
        // A long value pushes the label after it, and that label its value.
        {"date value pushes the size label", 96, {{31, 38, 36, 42, 86, 80}, {40, 60, 60, 80, 40, 200}},
         {{42, 42, 42, 208, 346, 42}, {92, 92, 92, 262, 442, 132}}},
        {"a wide file label moves its whole line", 96, {{31, 38, 200, 42, 86, 80}, {40, 60, 60, 56, 40, 200}},
         {{42, 42, 42, 310, 416, 42}, {92, 92, 246, 356, 506, 132}}},
        // Texts on other lines never move each other: a wide title label
        // moves the title alone, a wide author value nothing.
        {"lines are apart", 96, {{300, 38, 36, 42, 86, 80}, {40, 900, 60, 56, 40, 200}},
         {{42, 42, 42, 208, 336, 42}, {346, 92, 92, 262, 442, 132}}},
        // At 144 DPI places and the gap (6) are scaled.
        {"144 DPI, wide size label", 144, {{46, 57, 54, 63, 166, 120}, {60, 90, 90, 84, 60, 300}},
         {{63, 63, 63, 312, 504, 63}, {138, 138, 138, 393, 676, 198}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RowTextColumns columns = PlaceRowTexts(RowGeometryAt(c.dpi), c.widths);
        for (int n = 0; n < kRowLabelCount; ++n) {
            EXPECT_EQ(columns.label[n], c.expected.label[n]) << "label " << n;
            EXPECT_EQ(columns.value[n], c.expected.value[n]) << "value " << n;
        }
    }
}

} // namespace
