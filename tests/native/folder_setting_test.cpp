// Folder settings: the catalogue's folder, drive-qualified values, climbs,
// upper case and the limits of a folder: 259 characters, as Windows allows.
#include "catalogue/folder_setting.h"
#include "catalogue/store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

struct Resolved {
    bool ok;
    std::string folder;
};

Resolved Resolve(const std::string& cataloguePath, const std::string& value)
{
    char destination[kFolderSize];
    std::fill(destination, destination + kFolderSize, 'X');     // a refusal must empty it
    bool ok = ResolveFolder(destination, sizeof destination, cataloguePath.c_str(), value.c_str(), UpperCaseAnsi);
    return {ok, destination};
}

TEST(ResolveFolder, RelativeAndDriveQualifiedValues)
{
    struct Case { const char* value; const char* folder; };
    const Case cases[] = {
        {"", "E:\\MEDIA\\DATA\\"},
        {"anim", "E:\\MEDIA\\DATA\\ANIM\\"},
        {"anim\\", "E:\\MEDIA\\DATA\\ANIM\\"},
        {"\\anim", "E:\\MEDIA\\DATA\\ANIM\\"},
        {"\\", "E:\\MEDIA\\DATA\\"},
        {"\\\\anim", "E:\\MEDIA\\DATA\\\\ANIM\\"},          // only one leading backslash is passed over
        {"..\\anim", "E:\\MEDIA\\ANIM\\"},
        {"\\..\\anim", "E:\\MEDIA\\ANIM\\"},
        {"..\\..\\anim", "E:\\ANIM\\"},
        {"..\\..\\..\\anim", "E:\\ANIM\\"},                 // the root stops the climb
        {"..\\", "E:\\MEDIA\\"},
        {"..", "E:\\MEDIA\\DATA\\..\\"},
        {"../anim", "E:\\MEDIA\\DATA\\../ANIM\\"},
        {"anim\\..\\clips", "E:\\MEDIA\\DATA\\ANIM\\..\\CLIPS\\"},
        {"f:\\programme\\anim", "F:\\PROGRAMME\\ANIM\\"},
        {"d:", "D:\\"},
        {"d:anim", "D:ANIM\\"},
        {"b\xfc" "cher", "E:\\MEDIA\\DATA\\B\xdc" "CHER\\"},
    };
    for (const Case& c : cases) {
        Resolved r = Resolve("e:\\media\\data\\korval.ini", c.value);
        EXPECT_TRUE(r.ok) << c.value;
        EXPECT_EQ(r.folder, c.folder) << c.value;
    }
}

TEST(ResolveFolder, HoldsTheWholeFolderOrRefuses)
{
    const std::string root = "E:\\KORVAL.INI";      // catalogue folder E:\ (3 characters)
    const std::string longFolder = "C:\\" + std::string(256, 'L') + "\\";     // 260 characters
    struct Case {
        const char* name;
        std::string cataloguePath;
        std::string value;
        bool ok;
        std::string folder;
    };
    const Case cases[] = {
        {"259 characters fit", root, std::string(255, 'A'), true, "E:\\" + std::string(255, 'A') + "\\"},
        {"260 would need a cut", root, std::string(256, 'A'), false, ""},
        {"a value of 259 characters", root, "D:\\" + std::string(255, 'A') + "\\", true,
         "D:\\" + std::string(255, 'A') + "\\"},
        {"a value over 259 characters", root, "D:\\" + std::string(256, 'A') + "\\", false, ""},
        {"a deep catalogue folder and a relative value", longFolder.substr(0, 200) + "\\KORVAL.INI",
         std::string(57, 'A'), true, "C:\\" + std::string(197, 'L') + "\\" + std::string(57, 'A') + "\\"},
        {"a deep catalogue folder and a value one too long", longFolder.substr(0, 200) + "\\KORVAL.INI",
         std::string(58, 'A'), false, ""},
        {"a long catalogue folder", longFolder + "KORVAL.INI", "", false, ""},
        {"a long catalogue folder left by a drive", longFolder + "KORVAL.INI", "d:\\anim", true, "D:\\ANIM\\"},
        {"a long catalogue folder left by climbing", longFolder + "X\\KORVAL.INI", "..\\..\\anim", true,
         "C:\\ANIM\\"},
        {"a catalogue path without a folder", "KORVAL.INI", "anim", false, ""},
    };
    for (const Case& c : cases) {
        Resolved r = Resolve(c.cataloguePath, c.value);
        EXPECT_EQ(r.ok, c.ok) << c.name;
        EXPECT_EQ(r.folder, c.folder) << c.name;
    }
}

TEST(UpperCaseAnsi, MapsWindows1252SmallLettersToCapitals)
{
    struct Case { const char* text; const char* upper; };
    const Case cases[] = {
        {"abc xyz 0-9 ABC", "ABC XYZ 0-9 ABC"},
        {"\xe0\xe4\xe9\xf6\xfc\xfe", "\xc0\xc4\xc9\xd6\xdc\xde"},   // accented letters and thorn
        {"\x9a\x9c\x9e\xff", "\x8a\x8c\x8e\x9f"},                   // s and z with caron, oe, y diaeresis
        {"\xdf\xb5\xf7", "\xdf\xb5\xf7"},                           // sharp s and micro have no capital; division sign
        {"\xc4\x8a\x80\xa0\xbf", "\xc4\x8a\x80\xa0\xbf"},           // capitals and signs stay
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        UpperCaseAnsi(text.data());
        EXPECT_EQ(text, c.upper) << c.text;
    }
}

} // namespace
