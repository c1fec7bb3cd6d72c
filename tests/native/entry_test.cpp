#include "catalogue/entry.h"
#include "catalogue/numbers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(ReadNumber, FollowsAtoi)
{
    struct Case { const char* text; int expected; };
    const Case cases[] = {
        {"850", 850}, {"  42", 42}, {"\t\n\v\f\r7", 7}, {"+5", 5}, {"-3", -3}, {"12k", 12},
        {"1.5", 1}, {"", 0}, {"x", 0}, {"- 4", 0}, {"+-4", 0}, {"007", 7},
        {"2147483647", 2147483647}, {"-2147483648", INT32_MIN},
        {"2147483648", 2147483647}, {"99999999999999999999", 2147483647},
        {"-99999999999999999999", INT32_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadNumber(c.text), c.expected) << '"' << c.text << '"';
}

std::vector<std::string> CutAll(const char* text, char separator)
{
    std::vector<char> buffer(text, text + std::strlen(text) + 1);
    char* cursor = buffer.data();
    std::vector<std::string> fields;
    while (char* field = NextField(cursor, separator))
        fields.push_back(field);
    return fields;
}

TEST(NextField, CutsAtEverySeparatorAndKeepsEmptyFields)
{
    using Fields = std::vector<std::string>;
    EXPECT_EQ(CutAll("a;b;c", ';'), (Fields{"a", "b", "c"}));
    EXPECT_EQ(CutAll("a;;c", ';'), (Fields{"a", "", "c"}));
    EXPECT_EQ(CutAll("a;", ';'), (Fields{"a", ""}));
    EXPECT_EQ(CutAll("", ';'), (Fields{""}));
    EXPECT_EQ(CutAll(" a ; b ", ';'), (Fields{" a ", " b "}));
    char* none = nullptr;
    EXPECT_EQ(NextField(none, ';'), nullptr);
}

struct Parsed {
    bool accepted;
    AnimationRecord record;
};

Parsed Parse(const char* entry, int authorCount = 3, int keywordCount = 5)
{
    std::vector<char> value(entry, entry + std::strlen(entry) + 1);
    Parsed parsed{};
    parsed.accepted = ParseEntry(value.data(), parsed.record, authorCount, keywordCount);
    return parsed;
}

std::vector<int> Keywords(const AnimationRecord& record)
{
    return std::vector<int>(record.keywordIndices, record.keywordIndices + record.keywordCount);
}

TEST(ParseEntry, StoresEveryField)
{
    Parsed p = Parse("3;2;Sonne;CLIPS\\SONNE;24.12.99;850;5,1,9");
    ASSERT_TRUE(p.accepted);
    EXPECT_EQ(p.record.iconIndex, 3);
    EXPECT_EQ(p.record.authorIndex, 2);
    EXPECT_STREQ(p.record.title, "Sonne");
    EXPECT_STREQ(p.record.file, "CLIPS\\SONNE");
    EXPECT_STREQ(p.record.date, "24.12.99");
    EXPECT_STREQ(p.record.sizeText, "850 KB");
    EXPECT_EQ(Keywords(p.record), (std::vector<int>{4, 0}));
}

TEST(ParseEntry, Cases)
{
    struct Case {
        const char* name;
        const char* entry;
        bool accepted;
        int icon, author;
        const char* title;
        const char* size;
        std::vector<int> keywords;
    };
    const Case cases[] = {
        {"five fields are rejected", "0;1;T;F;D", false, 0, 0, "", "", {}},
        {"four fields are rejected", "0;1;T;F", false, 0, 0, "", "", {}},
        {"six fields, no keywords", "0;1;T;F;D;10", true, 0, 1, "T", "10 KB", {}},
        {"empty keyword list", "0;1;T;F;D;10;", true, 0, 1, "T", "10 KB", {}},
        {"negative icon becomes 0", "-2;1;T;F;D;1", true, 0, 1, "T", "1 KB", {}},
        {"large icon kept", "99;1;T;F;D;1", true, 99, 1, "T", "1 KB", {}},
        {"author 0", "0;0;T;F;D;1", true, 0, 0, "T", "1 KB", {}},
        {"author -1", "0;-1;T;F;D;1", true, 0, 0, "T", "1 KB", {}},
        {"author equal to count", "0;3;T;F;D;1", true, 0, 0, "T", "1 KB", {}},
        {"empty size", "0;1;T;F;D;", true, 0, 1, "T", "0 KB", {}},
        {"size 1.5", "0;1;T;F;D;1.5", true, 0, 1, "T", "1 KB", {}},
        {"size -3", "0;1;T;F;D;-3", true, 0, 1, "T", "-3 KB", {}},
        {"size beyond 32 bits holds", "0;1;T;F;D;99999999999", true, 0, 1, "T", "2147483647 KB", {}},
        {"repeated keyword kept twice", "0;1;T;F;D;1;3,3", true, 0, 1, "T", "1 KB", {2, 2}},
        {"invalid pieces skipped", "0;1;T;F;D;1;0,5,x,2", true, 0, 1, "T", "1 KB", {4, 1}},
        {"twelve valid keep ten", "0;1;T;F;D;1;1,2,3,4,5,1,2,3,4,5,1,2", true, 0, 1, "T", "1 KB",
         {0, 1, 2, 3, 4, 0, 1, 2, 3, 4}},
        {"semicolon inside the keyword list", "0;1;T;F;D;1;4;9", true, 0, 1, "T", "1 KB", {3}},
        {"blanks kept in text, skipped in numbers", " 1; 2; Titel ;F;D; 5", true, 1, 2, " Titel ", "5 KB", {}},
        {"title with comma", "0;1;A, B;F;D;1", true, 0, 1, "A, B", "1 KB", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Parsed p = Parse(c.entry);
        ASSERT_EQ(p.accepted, c.accepted);
        if (!c.accepted)
            continue;
        EXPECT_EQ(p.record.iconIndex, c.icon);
        EXPECT_EQ(p.record.authorIndex, c.author);
        EXPECT_STREQ(p.record.title, c.title);
        EXPECT_STREQ(p.record.sizeText, c.size);
        EXPECT_EQ(Keywords(p.record), c.keywords);
    }
}

TEST(ParseEntry, TextsAtTheirCapacity)
{
    std::string title63(63, 'T'), title70(70, 'T'), file39(39, 'F'), file40(40, 'F'), date25(25, '1');

    Parsed p = Parse(("0;1;" + title63 + ";" + file39 + ";" + date25 + ";1").c_str());
    ASSERT_TRUE(p.accepted);
    EXPECT_EQ(std::string(p.record.title), title63);
    EXPECT_EQ(std::string(p.record.file), file39);
    EXPECT_EQ(std::string(p.record.date), std::string(19, '1'));   // a shown text is cut

    p = Parse(("0;1;" + title70 + ";F;D;1").c_str());
    ASSERT_TRUE(p.accepted);
    EXPECT_EQ(std::string(p.record.title), title63);

    // A file name cut to fit would name another file: the entry is refused.
    EXPECT_FALSE(Parse(("0;1;T;" + file40 + ";D;1").c_str()).accepted);
}

} // namespace
