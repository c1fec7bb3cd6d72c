// The native profile reader: what it makes of the Windows profile layout. The
// Wine test profile_reader_test holds it against the platform's own reader.
#include "catalogue/profile_reader.h"
#include "catalogue/store.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

std::string ReadValue(const std::string& file, const char* section, const char* key, std::size_t capacity = 256)
{
    ProfileReader reader;
    reader.Parse(file.data(), file.size());
    char value[1024];
    int length = reader.Read(section, key, value, capacity);
    EXPECT_EQ(static_cast<std::size_t>(length), capacity == 0 ? 0 : std::string(value).size());
    return capacity == 0 ? std::string() : std::string(value);
}

std::string Utf16(const std::u16string& text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text) {
        char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

struct Case {
    const char* name;
    std::string file;
    const char* section;
    const char* key;
    std::string expected;
};

TEST(ProfileReader, ReadsValuesAsThePlatformDoes)
{
    const Case cases[] = {
        {"blanks around key, = and value", "[S]\r\n  Key  =  two words  \r\n", "S", "Key", "two words"},
        {"tab and Ctrl-Z are blanks", "[S]\nk=\x1a\tv\t\x1a\n", "S", "k", "v"},
        {"no-break space is not", "[S]\nk=v\xA0\n", "S", "k", "v\xA0"},
        {"double quotes", "[S]\nk=\"q\"\n", "S", "k", "q"},
        {"single quotes", "[S]\nk='q'\n", "S", "k", "q"},
        {"blanks inside quotes stay", "[S]\nk= \" in \" \n", "S", "k", " in "},
        {"quotes that do not match stay", "[S]\nk=\"q'\n", "S", "k", "\"q'"},
        {"an opening quote alone stays", "[S]\nk=\"q\n", "S", "k", "\"q"},
        {"a single quote character stays", "[S]\nk=\"\n", "S", "k", "\""},
        {"empty quotes are empty", "[S]\nk=\"\"\n", "S", "k", ""},
        {"only the outer quotes go", "[S]\nk=\"a\"b\"\n", "S", "k", "a\"b"},
        {"= inside the value", "[S]\nk=a=b\n", "S", "k", "a=b"},
        {"blanks inside the key name count", "[S]\nAuthor 1=v\n", "S", "Author1", ""},
        {"empty value", "[S]\nk=\n", "S", "k", ""},
        {"line without =", "[S]\nk\n", "S", "k", ""},
        {"letter case of names", "[SeCtIoN]\nKeY=v\n", "section", "KEY", "v"},
        {"blanks inside the brackets", "[ S ]\nk=v\n", "S", "k", "v"},
        {"blanks around the asked section", "[S]\nk=v\n", " S ", "k", "v"},
        {"only ASCII letters ignore case", "[S]\n\xC4k=v\n", "S", "\xE4k", ""},
        {"first key of a name wins", "[S]\nk=1\nK=2\n", "S", "k", "1"},
        {"a first key without = hides a later one", "[S]\nk\nk=2\n", "S", "k", ""},
        {"an empty first key hides a later one", "[S]\nk=\nk=2\n", "S", "k", ""},
        {"a repeated section is not read", "[S]\nk=1\n[T]\n[S]\nj=2\n", "S", "j", ""},
        {"comment lines", "[S]\n;k=c\n  ; k=d\nk=v\n", "S", "k", "v"},
        {"a comment is no header", "[S]\n;[T]\nk=v\n", "S", "k", "v"},
        {"# is no comment", "[S]\n#k=v\n", "S", "#k", "v"},
        {"header without ] is no header", "[S]\n[T\nk=v\n", "T", "k", ""},
        {"text after ] does not count", "[T]junk\nk=v\n", "T", "k", "v"},
        {"the name runs to the last ]", "[a]b]\nk=v\n", "a]b", "k", "v"},
        {"keys before the first header", "k=v\n[S]\n", "", "k", "v"},
        {"CR only", "[S]\rk=v\rj=w", "S", "j", "w"},
        {"LF only", "[S]\nk=v\nj=w\n", "S", "j", "w"},
        {"CRLF and blank lines", "\r\n[S]\r\n\r\n\r\nk=v\r\n", "S", "k", "v"},
        {"no final newline", "[S]\nk=v", "S", "k", "v"},
        {"NUL ends a value", std::string("[S]\nk=ab\0cd\n", 12), "S", "k", "ab"},
        {"NUL ends a key name", std::string("[S]\nk\0x=v\n", 10), "S", "k", "v"},
        {"NUL ends a section name", std::string("[S\0x]\nk=v\n", 10), "S", "k", "v"},
        {"NUL inside quotes", std::string("[S]\nk=\"ab\0c\"\n", 14), "S", "k", "\"ab"},
        {"empty file", "", "S", "k", ""},
        {"missing section", "[S]\nk=v\n", "T", "k", ""},
        {"UTF-16 LE", Utf16(u"[S]\r\nk=w\u00E4rt \u20AC\r\n", false), "S", "k", "w\xE4rt \x80"},
        {"UTF-16 BE", Utf16(u"[S]\r\nk=w\u00E4rt\r\n", true), "S", "k", "w\xE4rt"},
        {"UTF-16 beyond the code page", Utf16(u"[S]\nk=\u0416\U0001F600.\n", false), "S", "k", "??."},
        {"UTF-8 with mark", "\xEF\xBB\xBF[S]\r\nk=w\xC3\xA4rt \xE2\x82\xAC\r\n", "S", "k", "w\xE4rt \x80"},
        {"UTF-8 without mark is taken byte for byte", "[S]\nk=\xC3\xA4\n", "S", "k", "\xC3\xA4"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadValue(c.file, c.section, c.key), c.expected) << c.name;
}

TEST(ProfileReader, CutsLongValuesAtTheBuffer)
{
    const std::string v300(300, 'v');
    EXPECT_EQ(ReadValue("[S]\nk=" + std::string(255, 'v') + "\n", "S", "k"), std::string(255, 'v'));
    EXPECT_EQ(ReadValue("[S]\nk=" + v300 + "\n", "S", "k"), std::string(255, 'v'));
    EXPECT_EQ(ReadValue("[S]\nk=\"" + v300 + "\"\n", "S", "k"), std::string(255, 'v'));
    EXPECT_EQ(ReadValue("[S]\nk=\"" + std::string(255, 'v') + "\"\n", "S", "k"), std::string(255, 'v'));
    EXPECT_EQ(ReadValue("[S]\nk=" + std::string(100000, 'v') + "\nj=after\n", "S", "j"), "after");
    EXPECT_EQ(ReadValue("[S]\n" + std::string(100000, 'k') + "=v\nj=after\n", "S", "j"), "after");
    EXPECT_EQ(ReadValue("[S]\nk=value\n", "S", "k", 4), "val");
    EXPECT_EQ(ReadValue("[S]\nk=value\n", "S", "k", 1), "");
    EXPECT_EQ(ReadValue("[S]\nk=value\n", "S", "k", 0), "");
}

TEST(ProfileReader, RemembersLinesAndHiddenSections)
{
    const std::string file = "; head\r\n[Authors]\r\nAuthor1=A\r\rAuthor2=B\nAuthor2=again\n[Keywords]\n[authors]\nAuthor3=C";
    ProfileReader reader;
    reader.Parse(file.data(), file.size());
    ASSERT_NE(reader.Find("AUTHORS", "author1"), nullptr);
    EXPECT_EQ(reader.Find("Authors", "Author1")->line, 3);
    EXPECT_EQ(reader.Find("Authors", "Author2")->line, 5);
    EXPECT_EQ(reader.Find("Authors", "Author2")->value, "B");
    EXPECT_EQ(reader.Find("Authors", "Author3"), nullptr);

    ASSERT_EQ(reader.Sections().size(), 3u);
    EXPECT_FALSE(reader.Sections()[0].hidden);
    EXPECT_EQ(reader.Sections()[1].keys.size(), 0u);
    const ProfileSection& again = reader.Sections()[2];
    EXPECT_TRUE(again.hidden);
    EXPECT_EQ(again.line, 8);
    ASSERT_EQ(again.keys.size(), 1u);
    EXPECT_EQ(again.keys[0].line, 9);
}

TEST(ProfileReader, LoadsFilesAndRefusesMissingOnes)
{
    ProfileReader reader;
    EXPECT_FALSE(reader.Load("/nonexistent/KORVAL.INI"));
    EXPECT_TRUE(reader.Sections().empty());
}

TEST(ProfileReader, FeedsTheLoader)
{
    const std::string file = "[Authors]\nAuthor1=Anna\nauthor2 = \"Bert\"\n"
                             "[Keywords]\nKeyword1=Sport\n"
                             "[Animations]\nAnimation1=3;2; Sonne ;CLIPS\\SONNE;24.12.99;850;1\n"
                             "Animation2=0;1;Zwei;Z.FLC;1.1.99\nAnimation3=0;1;Drei;D.FLC;1.1.99;3\n";
    ProfileReader reader;
    reader.Parse(file.data(), file.size());
    ProfileCatalogueSource source(reader);
    ClearCatalogue();
    ASSERT_NE(LoadCatalogueFrom(source, "Unbekannt"), 0);
    EXPECT_EQ(AuthorCount, 3);
    EXPECT_STREQ(AuthorTable[2], "Bert");
    EXPECT_EQ(KeywordCount, 1);
    ASSERT_EQ(AnimationCount, 2);
    EXPECT_STREQ(AnimationTable[0].title, " Sonne ");
    EXPECT_STREQ(AnimationTable[1].title, "Drei");
    EXPECT_EQ(source.LastKey(), nullptr);                 // the last read was Animation4, missing

    char value[kProfileValueSize];
    EXPECT_EQ(source.Read(IDS_UNKNOWN_AUTHOR, IDS_AUTHOR_KEY, 1, value), 0);   // not a section name
}

// Reading key after key must not search the file each time: 100 000 keys are
// looked up in well under the seconds that a search per key would take.
TEST(ProfileReader, LooksUpManyKeysInOnePass)
{
    std::string file = "[Animations]\n";
    for (int n = 1; n <= 100000; ++n)
        file += "Animation" + std::to_string(n) + "=x\n";
    auto start = std::chrono::steady_clock::now();
    ProfileReader reader;
    reader.Parse(file.data(), file.size());
    char value[kProfileValueSize];
    for (int n = 1; n <= 100000; ++n)
        ASSERT_EQ(reader.Read("Animations", ("Animation" + std::to_string(n)).c_str(), value, sizeof value), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

} // namespace
