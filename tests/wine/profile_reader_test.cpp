// The native profile reader and the loader's section reads against the
// platform's own key reads: the same files, the same questions, the same
// answers. The files are the fixtures in K:\profile\ and a few written here.
#include "base/instance.h"
#include "base/text.h"
#include "catalogue/catalogue_file.h"
#include "catalogue/profile_reader.h"
#include "harness.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

const std::string kFixtures = "K:\\profile\\";

const char* const kFixtureFiles[] = {"BLANKS.INI", "QUOTES.INI", "CASE.INI", "REPEATED.INI", "COMMENTS.INI",
                                     "CRLF.INI", "LF.INI", "CR.INI", "NOFINAL.INI", "MIXED.INI", "LONG.INI",
                                     "EMPTY.INI", "UTF16LE.INI", "UTF16BE.INI", "UTF8BOM.INI", "UTF8.INI",
                                     "NUL.INI", "HEADERS.INI"};

std::string PlatformRead(const std::string& path, const std::string& section, const std::string& key)
{
    char value[kProfileValueSize];
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value, path.c_str());
    EXPECT_EQ(length, lstrlenA(value)) << path << " [" << section << "] " << key;
    return value;
}

std::string NativeRead(const ProfileReader& reader, const std::string& section, const std::string& key)
{
    char value[kProfileValueSize];
    int length = reader.Read(section.c_str(), key.c_str(), value, sizeof value);
    EXPECT_EQ(length, lstrlenA(value));
    return value;
}

// Everything a load leaves in the tables, leftovers of rejected entries included.
struct Tables {
    int result;
    std::int32_t authors, keywords, animations;
    std::string bytes;
    bool operator==(const Tables& other) const
    {
        return result == other.result && authors == other.authors && keywords == other.keywords
            && animations == other.animations && bytes == other.bytes;
    }
};

template <typename Load>
Tables LoadWith(Load load)
{
    ClearCatalogue();
    int result = load();
    return {result, AuthorCount, KeywordCount, AnimationCount,
            std::string(reinterpret_cast<const char*>(AuthorTable), sizeof AuthorTable)
                + std::string(reinterpret_cast<const char*>(KeywordTable), sizeof KeywordTable)
                + std::string(reinterpret_cast<const char*>(AnimationTable), sizeof AnimationTable)};
}

// Every key read on its own, as the loader read them before it read sections.
class KeyByKeySource final : public CatalogueSource {
public:
    int Read(int sectionId, int keyId, int number, char (&value)[kProfileValueSize]) override
    {
        return ReadCatalogueValue(sectionId, keyId, value, number);
    }
};

class ProfileReaderAgainstPlatform : public ::testing::Test {
protected:
    void SetUp() override { SetModuleInstance(GetModuleHandleA(nullptr)); }

    // The loader's section reads, its key-by-key reads and the native reader
    // fill the tables alike.
    void ExpectSameTables(const std::string& path)
    {
        CopyText(CataloguePath, path.c_str());
        Tables sections = LoadWith([] { return LoadCatalogue(); });
        Tables keyByKey = LoadWith([] {
            KeyByKeySource source;
            return LoadCatalogueFrom(source, "Unbekannt");
        });
        ProfileReader reader;
        ASSERT_TRUE(reader.Load(path.c_str())) << path;
        Tables native = LoadWith([&reader] {
            ProfileCatalogueSource source(reader);
            return LoadCatalogueFrom(source, "Unbekannt");
        });
        EXPECT_TRUE(sections == keyByKey) << path;
        EXPECT_TRUE(native == keyByKey) << path;
    }
};

TEST_F(ProfileReaderAgainstPlatform, GivesThePlatformsAnswers)
{
    struct Query {
        const char* file;
        const char* section;
        const char* key;
    };
    const Query queries[] = {
        // Blanks around keys and values; Ctrl-Z counts as one, a no-break space does not.
        {"BLANKS.INI", "Blanks", "Key1"}, {"BLANKS.INI", "Blanks", "Key2"}, {"BLANKS.INI", "Blanks", "Key3"},
        {"BLANKS.INI", "Blanks", "Key4"}, {"BLANKS.INI", "Blanks", "Key5"}, {"BLANKS.INI", "Blanks", "Key6"},
        {"BLANKS.INI", "Blanks", "Key7"}, {"BLANKS.INI", "Blanks", "Key8"}, {"BLANKS.INI", "Blanks", "Author 1"},
        {"BLANKS.INI", "Blanks", "Author1"}, {"BLANKS.INI", "Blanks", "Missing"},
        // Quoted values.
        {"QUOTES.INI", "Quotes", "Double"}, {"QUOTES.INI", "Quotes", "Single"}, {"QUOTES.INI", "Quotes", "Mixed"},
        {"QUOTES.INI", "Quotes", "Open"}, {"QUOTES.INI", "Quotes", "Lone"}, {"QUOTES.INI", "Quotes", "Empty"},
        {"QUOTES.INI", "Quotes", "Inner"}, {"QUOTES.INI", "Quotes", "Middle"},
        {"QUOTES.INI", "Quotes", "Apostrophe"}, {"QUOTES.INI", "Quotes", "End"},
        // Letter case of section and key names; only ASCII letters ignore it.
        {"CASE.INI", "authors", "Author1"}, {"CASE.INI", "AUTHORS", "author2"}, {"CASE.INI", "Spaced", "Key"},
        {"CASE.INI", " Spaced ", "Key"}, {"CASE.INI", "Keywords", "KEYWORD1"}, {"CASE.INI", "Umlaut", "\xE4rger"},
        {"CASE.INI", "Umlaut", "\xC4rger"},
        // Repeated keys and sections: the first wins, a later block is not read.
        {"REPEATED.INI", "Authors", "Author1"}, {"REPEATED.INI", "Authors", "Author2"},
        {"REPEATED.INI", "Authors", "Author3"}, {"REPEATED.INI", "Authors", "Author4"},
        {"REPEATED.INI", "Authors", "Author5"}, {"REPEATED.INI", "Keywords", "Keyword1"},
        // Comments.
        {"COMMENTS.INI", "Authors", "Author1"}, {"COMMENTS.INI", "Authors", "#Author2"},
        {"COMMENTS.INI", "Keywords", "Keyword1"}, {"COMMENTS.INI", "Animations", "Animation1"},
        // Line ends: CRLF, LF, CR, mixed, none at the end.
        {"CRLF.INI", "Animations", "Animation2"}, {"LF.INI", "Animations", "Animation2"},
        {"CR.INI", "Animations", "Animation2"}, {"MIXED.INI", "Keywords", "Keyword1"},
        {"MIXED.INI", "Animations", "Animation2"}, {"NOFINAL.INI", "Animations", "Animation2"},
        // 255 characters and longer, quoted or not.
        {"LONG.INI", "Long", "V254"}, {"LONG.INI", "Long", "V255"}, {"LONG.INI", "Long", "V256"},
        {"LONG.INI", "Long", "V300"}, {"LONG.INI", "Long", "Q253"}, {"LONG.INI", "Long", "Q254"},
        {"LONG.INI", "Long", "Q300"}, {"LONG.INI", "Long", "After"},
        {"EMPTY.INI", "Authors", "Author1"},
        // Byte-order marks: Unicode text in the ANSI code page, "?" for what it lacks.
        {"UTF16LE.INI", "Authors", "Author1"}, {"UTF16LE.INI", "Authors", "Author2"},
        {"UTF16LE.INI", "Authors", "Author3"}, {"UTF16LE.INI", "Keywords", "Keyword1"},
        {"UTF16LE.INI", "Keywords", "Keyword2"}, {"UTF16BE.INI", "Authors", "Author2"},
        {"UTF16BE.INI", "Keywords", "Keyword2"}, {"UTF8BOM.INI", "Authors", "Author1"},
        {"UTF8BOM.INI", "Keywords", "Keyword1"}, {"UTF8.INI", "Authors", "Author1"},
        // NUL bytes end names and values.
        {"NUL.INI", "Nul", "Value"}, {"NUL.INI", "Nul", "Ke"}, {"NUL.INI", "Nul", "Quoted"},
        {"NUL.INI", "Nul", "Zero"}, {"NUL.INI", "Se", "Key"},
        // Section headers: without "]", with text after it, indented, empty.
        {"HEADERS.INI", "Open", "Key"}, {"HEADERS.INI", "Tail", "Key"}, {"HEADERS.INI", "a]b", "Key"},
        {"HEADERS.INI", "a", "Key"}, {"HEADERS.INI", "Indented", "Key"}, {"HEADERS.INI", "", "Key"},
        {"HEADERS.INI", "", "k0"},
    };
    for (const Query& query : queries) {
        std::string path = kFixtures + query.file;
        ProfileReader reader;
        ASSERT_TRUE(reader.Load(path.c_str())) << path;
        EXPECT_EQ(NativeRead(reader, query.section, query.key), PlatformRead(path, query.section, query.key))
            << query.file << " [" << query.section << "] " << query.key;
    }
}

TEST_F(ProfileReaderAgainstPlatform, AgreesOnEveryKeyOfEveryFixture)
{
    for (const char* file : kFixtureFiles) {
        std::string path = kFixtures + file;
        ProfileReader reader;
        ASSERT_TRUE(reader.Load(path.c_str())) << path;
        for (const ProfileSection& section : reader.Sections()) {
            for (const ProfileKey& key : section.keys) {
                if (std::string(file) == "LONG.INI" && key.name == "Q255")
                    continue;           // a difference on purpose: see DiffersOnlyWhereItMeansTo
                EXPECT_EQ(NativeRead(reader, section.name, key.name), PlatformRead(path, section.name, key.name))
                    << file << ":" << key.line << " [" << section.name << "] " << key.name;
            }
        }
    }
}

// Where the reader answers otherwise on purpose.
TEST_F(ProfileReaderAgainstPlatform, DiffersOnlyWhereItMeansTo)
{
    // Wine removes the closing quote from the already cut text when the
    // quoted text is exactly as long as the buffer holds, losing one more
    // character; the reader gives the whole 255.
    std::string path = kFixtures + "LONG.INI";
    ProfileReader reader;
    ASSERT_TRUE(reader.Load(path.c_str()));
    EXPECT_EQ(PlatformRead(path, "Long", "Q255"), std::string(254, 'v'));
    EXPECT_EQ(NativeRead(reader, "Long", "Q255"), std::string(255, 'v'));

    // The platform keeps a line that begins with ";" as a key of that name;
    // the reader takes it as a comment. No catalogue key begins with ";".
    path = kFixtures + "COMMENTS.INI";
    ASSERT_TRUE(reader.Load(path.c_str()));
    EXPECT_EQ(PlatformRead(path, "Authors", "; Author1"), "comment");
    EXPECT_EQ(NativeRead(reader, "Authors", "; Author1"), "");
}

TEST_F(ProfileReaderAgainstPlatform, AgreesOnLinesOf100000Characters)
{
    std::string path = ScratchFolder("profile_reader") + "LINES.INI";
    WriteFileBytes(path, "[Long]\r\nLine=" + std::string(100000, 'L') + "\r\nAfter=after\r\n" + std::string(100000, 'K')
                             + "=v\r\nAfter2=after\r\n[" + std::string(100000, 'S') + "]\r\nKey=long header\r\n"
                             + "[Next]\r\nKey=next\r\n");
    ProfileReader reader;
    ASSERT_TRUE(reader.Load(path.c_str()));
    for (const char* key : {"Line", "After", "After2", "Key"})
        EXPECT_EQ(NativeRead(reader, "Long", key), PlatformRead(path, "Long", key)) << key;
    EXPECT_EQ(NativeRead(reader, "Next", "Key"), PlatformRead(path, "Next", "Key"));
    EXPECT_EQ(NativeRead(reader, "Long", "Line"), std::string(255, 'L'));
}

TEST_F(ProfileReaderAgainstPlatform, LoadsTheSameTablesFromEveryFixture)
{
    for (const char* file : kFixtureFiles)
        ExpectSameTables(kFixtures + file);
}

// A catalogue with every case the section reads must leave to key reads.
TEST_F(ProfileReaderAgainstPlatform, LoadsTheSameTablesFromAnAwkwardCatalogue)
{
    std::string folder = ScratchFolder("profile_reader_awkward");
    std::string awkward =
        "[Authors]\r\nAuthor1=Anna\r\nauthor2 = \"Bert Berg\" \r\nAUTHOR3='Cara'\r\nAuthor4=\"\"\r\nAuthor4=late\r\n"
        "[Keywords]\r\nKeyword1=Sport\r\nKeyword2\r\nKeyword2=hidden\r\nKeyword01=never\r\n"
        "[Animations]\r\n;Animation1=0;1;Kommentar;K.FLC;1.1.99;1\r\n"
        "Animation1=0;1;Eins;E.FLC;1.1.99;1;1\x1a\r\nAnimation2 =\t\"1;2;Zwei;Z.FLC;2.2.99;2\"\r\n"
        "animation3='0;3; Drei ;D.FLC;3.3.99;3;1,1'\r\nAnimation4=0;1;" + std::string(300, 'T') + ";L.FLC;4.4.99;4\r\n"
        "Animation5=0;1;Fuenf\r\nANIMATION6=0;2;Sechs;S.FLC;6.6.99;6\r\nAnimation6=0;1;hidden;H.FLC;1.1.99;1\r\n"
        "Animation7=\"0;2;Sieben;S.FLC;7.7.99;7\r\n" + std::string("Animation8=0;1;Ac\0ht;A.FLC;8.8.99;8\r\n", 38) +
        "[Animations]\r\nAnimation9=0;1;hidden;H.FLC;1.1.99;1\r\n[Settings]\r\nBasePath=ANIM\r\n";
    WriteFileBytes(folder + "AWKWARD.INI", awkward);
    ExpectSameTables(folder + "AWKWARD.INI");

    // A name beyond ASCII: the section is read key by key.
    WriteFileBytes(folder + "UMLAUT.INI", "[Authors]\r\nAuthor1=Anna\r\n\xC4uthor2=Bert\r\nAuthor2=Bert\r\n"
                                          "[Animations]\r\nAnimation1=0;2;Eins;E.FLC;1.1.99;1\r\n");
    ExpectSameTables(folder + "UMLAUT.INI");

    // In Unicode text the section read turns the Kelvin sign into a K, while
    // the key read does not take it for one: such a file is read key by key.
    std::u16string text = u"[Authors]\r\nAuthor1=Anna\r\n[Keywords]\r\n\u212Aeyword1=Kelvin\r\n"
                          u"[Animations]\r\nAnimation1=0;1;Eins;E.FLC;1.1.99;1;1\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char16_t unit : text) {
        utf16 += static_cast<char>(unit & 0xFF);
        utf16 += static_cast<char>(unit >> 8);
    }
    WriteFileBytes(folder + "KELVIN.INI", utf16);
    CopyText(CataloguePath, (folder + "KELVIN.INI").c_str());
    ClearCatalogue();
    ASSERT_NE(LoadCatalogue(), 0);
    EXPECT_EQ(KeywordCount, 0);
    ExpectSameTables(folder + "KELVIN.INI");
}

// A section too long for the buffer: what came whole is used, the rest is
// read key by key.
TEST_F(ProfileReaderAgainstPlatform, LoadsTheSameTablesFromASectionTooLongForTheBuffer)
{
    std::string text = "[Authors]\r\nAuthor1=Anna\r\n[Animations]\r\n";
    for (int m = 1; m <= 10; ++m)
        text += "Animation" + std::to_string(m) + "=0;1;Titel " + std::to_string(m) + ";T.FLC;1.1.99;1\r\n";
    text += "Padding=" + std::string(17 << 20, 'p') + "\r\n";
    for (int m = 11; m <= 13; ++m)
        text += "Animation" + std::to_string(m) + "=0;1;Titel " + std::to_string(m) + ";T.FLC;1.1.99;1\r\n";
    std::string path = ScratchFolder("profile_reader_long") + "LONG.INI";
    WriteFileBytes(path, text);
    ExpectSameTables(path);
    EXPECT_EQ(AnimationCount, 13);
}

// Tens of thousands of rejected entries, which key-by-key reads would take
// minutes over (each one searches the file anew), load in a moment.
TEST_F(ProfileReaderAgainstPlatform, ReadsManyNumberedKeysInOnePass)
{
    std::string text = "[Authors]\r\nAuthor1=Anna\r\n[Animations]\r\n";
    for (int m = 1; m <= 30000; ++m)
        text += "Animation" + std::to_string(m) + "=x\r\n";
    text += "Animation30001=0;1;Zuletzt;Z.FLC;1.1.99;1\r\n";
    std::string path = ScratchFolder("profile_reader_many") + "MANY.INI";
    WriteFileBytes(path, text);
    CopyText(CataloguePath, path.c_str());
    ClearCatalogue();
    auto start = std::chrono::steady_clock::now();
    ASSERT_NE(LoadCatalogue(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    ASSERT_EQ(AnimationCount, 1);
    EXPECT_STREQ(AnimationTable[0].title, "Zuletzt");
}

} // namespace
