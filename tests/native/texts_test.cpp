#include "base/file_exists.h"
#include "base/message_text.h"
#include "base/text.h"
#include "base/windows_1252.h"
#include "catalogue/catalogue_path.h"
#include "catalogue/key_name.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Every byte of the code page to its code point and back, and under Windows
// the same code point as the platform's own conversion gives.
TEST(Windows1252, EveryByteToItsCodePointAndBack)
{
    for (int byte = 0; byte < 256; ++byte) {
        const char32_t code = Windows1252CodePoint(static_cast<unsigned char>(byte));
        EXPECT_EQ(Windows1252Byte(code), byte);
#ifdef _WIN32
        const char in = static_cast<char>(byte);
        wchar_t wide = 0;
        ASSERT_EQ(MultiByteToWideChar(1252, 0, &in, 1, &wide, 1), 1) << byte;
        EXPECT_EQ(static_cast<char32_t>(wide), code) << byte;
#endif
    }
    for (char32_t none : {U'\u0080', U'\u009F', U'\u0100', U'\u20AD', U'\uFFFD'})
        EXPECT_EQ(Windows1252Byte(none), -1) << static_cast<unsigned>(none);
    struct Case {
        char32_t code;
        const char* utf8;
    };
    const Case cases[] = {{0x7F, "\x7F"}, {0x80, "\xC2\x80"}, {0x7FF, "\xDF\xBF"}, {0x800, "\xE0\xA0\x80"},
                          {0x20AC, "\xE2\x82\xAC"}, {0xFFFF, "\xEF\xBF\xBF"}};
    for (const Case& c : cases) {
        char bytes[3];
        EXPECT_EQ(std::string(bytes, Utf8Of(c.code, bytes)), c.utf8) << static_cast<unsigned>(c.code);
    }
}

TEST(BoundedText, CopiesAppendsAndFormatsWithinCapacity)
{
    char small[6];
    EXPECT_TRUE(CopyText(small, "abcde"));
    EXPECT_STREQ(small, "abcde");
    EXPECT_FALSE(CopyText(small, "abcdef"));
    EXPECT_STREQ(small, "abcde");
    EXPECT_TRUE(CopyText(small, "ab"));
    EXPECT_TRUE(AppendText(small, "cde"));
    EXPECT_FALSE(AppendText(small, "f"));
    EXPECT_STREQ(small, "abcde");
    EXPECT_TRUE(FormatText(small, "%d", 12345));
    EXPECT_FALSE(FormatText(small, "%d", 123456));
    EXPECT_STREQ(small, "12345");
}

TEST(BoundedText, NumbersAppendAsPercentDWritesThem)
{
    const long numbers[] = {0, 7, -7, 10, 99, -100, 123456789, 2147483647L, -2147483647L - 1,
                            std::numeric_limits<long>::max(), std::numeric_limits<long>::min()};
    for (long number : numbers) {
        char expected[32];
        std::snprintf(expected, sizeof expected, "x%ld", number);
        char text[32] = "x";
        EXPECT_TRUE(AppendNumber(text, number));
        EXPECT_STREQ(text, expected);
    }
    char small[6] = "ab";
    EXPECT_FALSE(AppendNumber(small, -1234));       // cut like any append, and said so
    EXPECT_STREQ(small, "ab-12");
}

TEST(CataloguePath, Derivation)
{
    struct Case { const char* module; const char* arguments; const char* expected; };
    const Case cases[] = {
        {"C:\\KATALOG\\KORVAL.EXE", "", "C:\\KATALOG\\KORVAL.INI"},
        {"C:\\KATALOG\\KORVAL.EXE", "E:\\KATALOG\\", "E:\\KATALOG\\KORVAL.INI"},
        {"C:\\KATALOG\\KORVAL.EXE", "E:\\KATALOG", "E:\\KATALOG\\KORVAL.INI"},
        {"C:\\KATALOG\\KORVAL.EXE", "E:\\", "C:\\KATALOG\\KORVAL.INI"},       // three characters: ignored
        {"C:\\KATALOG\\KORVAL.EXE", "\"E:\\KATALOG\"", "C:\\KATALOG\\KORVAL.INI"},
        {"C:\\KATALOG\\KORVAL.EXE", "KATALOG\\DATEN", "C:\\KATALOG\\KORVAL.INI"},
        {"C:\\KATALOG\\KORVAL.EXE", "E:\\KATALOG\\\\", "E:\\KATALOG\\\\KORVAL.INI"},
        {"C:\\KATALOG\\KORVAL.EXE", "E:\\A B -x", "E:\\A B -x\\KORVAL.INI"},
        {"C:\\KATALOG\\korval.exe", "", "C:\\KATALOG\\korval.INI"},
        {"C:\\X.EXE", "", "C:\\X.INI"},
        {"C:\\KATALOG\\KORVAL", "", "C:\\KATALOG\\KORVAL.INI"},             // no extension
        {"C:\\MY.DIR\\KORVAL", "", "C:\\MY.DIR\\KORVAL.INI"},               // dot only in a folder
        {"KORVAL.EXE", "E:\\KATALOG", "E:\\KATALOGKORVAL.INI"},             // module path without backslash
    };
    for (const Case& c : cases) {
        char path[kPathSize];
        EXPECT_TRUE(DeriveCataloguePath(path, c.module, c.arguments)) << c.arguments;
        EXPECT_STREQ(path, c.expected) << c.module << " | " << c.arguments;
    }
}

TEST(CataloguePath, TooLongIsMarkedAndRefused)
{
    char path[kPathSize];
    std::string folder = "E:\\" + std::string(250, 'D');          // + \KORVAL.INI is 264
    EXPECT_FALSE(DeriveCataloguePath(path, "C:\\KORVAL.EXE", folder.c_str()));
    EXPECT_EQ(std::strlen(path), kPathSize - 1);
    EXPECT_EQ(std::string(path).substr(kPathSize - 4), "...");

    std::string fits = "E:\\" + std::string(245, 'D');             // exactly 259
    EXPECT_TRUE(DeriveCataloguePath(path, "C:\\KORVAL.EXE", fits.c_str()));
    EXPECT_EQ(std::strlen(path), kPathSize - 1);

    std::string longArguments(5000, 'x');
    longArguments[1] = ':';
    EXPECT_FALSE(DeriveCataloguePath(path, "C:\\KORVAL.EXE", longArguments.c_str()));
}

TEST(CataloguePath, TrailingBlanksDoNotCountAndPromptFollowsTheDrive)
{
    EXPECT_EQ(ExistenceNameLength("E:\\PROG\\VANSHOW.EXE "), 19u);
    EXPECT_EQ(ExistenceNameLength("A B  "), 3u);
    EXPECT_EQ(ExistenceNameLength("   "), 0u);
    EXPECT_EQ(CataloguePromptId(3), IDS_CATALOGUE_MISSING);
    for (unsigned type : {0u, 1u, 2u, 4u, 5u, 6u})
        EXPECT_EQ(CataloguePromptId(type), IDS_INSERT_MEDIUM) << type;
}

TEST(MessageText, FillsThePathOrShortensItsMiddle)
{
    const char* format = "Bitte legen Sie die CD-ROM mit der Datei '%s' ein!";
    char text[kMessageSize];
    FormatMessageText(text, format, "E:\\KORVAL.INI");
    EXPECT_STREQ(text, "Bitte legen Sie die CD-ROM mit der Datei 'E:\\KORVAL.INI' ein!");

    std::string longPath = "E:\\" + std::string(200, 'D') + "\\KORVAL.INI";
    FormatMessageText(text, format, longPath.c_str());
    std::string shown = text;
    EXPECT_EQ(shown.size(), kMessageSize - 1);
    EXPECT_EQ(shown.rfind("Bitte legen Sie die CD-ROM mit der Datei 'E:\\DDD", 0), 0u);
    EXPECT_NE(shown.find("..."), std::string::npos);
    EXPECT_EQ(shown.substr(shown.size() - 17), "\\KORVAL.INI' ein!");
}

TEST(KeyName, NumbersTheTemplate)
{
    char key[32];
    EXPECT_TRUE(FormatKeyName(key, sizeof key, "Animation%d", 10));
    EXPECT_STREQ(key, "Animation10");
    EXPECT_TRUE(FormatKeyName(key, sizeof key, "BasePath", 7));
    EXPECT_STREQ(key, "BasePath");
    EXPECT_FALSE(FormatKeyName(key, 8, "Animation%d", 1));
    EXPECT_STREQ(CatalogueName(IDS_ANIMATION_KEY), "Animation%d");
    EXPECT_EQ(CatalogueName(IDS_WINDOW_TITLE), nullptr);
}

} // namespace
