// Folder settings read from a real catalogue file, upper-cased by the platform.
#include "base/instance.h"
#include "base/text.h"
#include "catalogue/catalogue_file.h"
#include "catalogue/folder_setting.h"
#include "catalogue/settings.h"
#include "catalogue/store.h"
#include "harness.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

class FolderSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetModuleInstance(GetModuleHandleA(nullptr));
        std::string folder = ScratchFolder("settings");
        path_ = folder + "DATA\\KORVAL.INI";
    }
    // The catalogue is named in small letters: the folder comes out in capitals.
    void UseCatalogue(const std::string& settings)
    {
        WriteFileBytes(path_, "[Authors]\r\nAuthor1=Anna\r\n[Settings]\r\n" + settings);
        CopyText(CataloguePath, "t:\\settings\\data\\korval.ini");
    }
    struct Resolved {
        int result;
        std::string folder;
    };
    Resolved Resolve(int keyId)
    {
        char destination[kFolderSize];
        std::fill(destination, destination + kFolderSize, 'X');
        int result = ResolveFolderSetting(IDS_SETTINGS, keyId, destination, 0);
        return {result, destination};
    }
    std::string path_;
};

TEST_F(FolderSettings, ResolvesBothKeysOfTheCatalogue)
{
    UseCatalogue("BasePath=..\\anim\r\nProgramPath=d:\\programme\r\n");
    Resolved base = Resolve(IDS_BASE_PATH);
    EXPECT_EQ(base.result, 1);
    EXPECT_EQ(base.folder, "T:\\SETTINGS\\ANIM\\");
    Resolved program = Resolve(IDS_PROGRAM_PATH);
    EXPECT_EQ(program.result, 1);
    EXPECT_EQ(program.folder, "D:\\PROGRAMME\\");
}

TEST_F(FolderSettings, MissingOrEmptyGivesTheCataloguesFolder)
{
    UseCatalogue("BasePath=\r\n");
    EXPECT_EQ(Resolve(IDS_BASE_PATH).folder, "T:\\SETTINGS\\DATA\\");
    EXPECT_EQ(Resolve(IDS_PROGRAM_PATH).folder, "T:\\SETTINGS\\DATA\\");
}

TEST_F(FolderSettings, FoldersUpTo259CharactersLongerOnesRefusedNotCut)
{
    // The catalogue's folder T:\SETTINGS\DATA\ has 17 characters. A value
    // longer than the 255 characters an entry holds is read whole too.
    const std::string drive259 = "d:\\" + std::string(255, 'a') + "\\";
    struct Case { const char* name; std::string value; int result; std::string folder; };
    const Case cases[] = {
        {"a drive-qualified value of 259 characters", drive259, 1, "D:\\" + std::string(255, 'A') + "\\"},
        {"a drive-qualified value of 260 characters", "d:\\" + std::string(256, 'a') + "\\", 0, ""},
        {"a value of 1000 characters", "d:\\" + std::string(996, 'a') + "\\", 0, ""},
        {"a relative value that makes 259", std::string(241, 'a'), 1, "T:\\SETTINGS\\DATA\\" + std::string(241, 'A') + "\\"},
        {"a relative value that makes 260", std::string(242, 'a'), 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseCatalogue("BasePath=" + c.value + "\r\nProgramPath=" + c.value + "\r\n");
        for (int key : {IDS_BASE_PATH, IDS_PROGRAM_PATH}) {
            Resolved resolved = Resolve(key);
            EXPECT_EQ(resolved.result, c.result);
            EXPECT_EQ(resolved.folder, c.folder);
        }
    }
}

TEST_F(FolderSettings, AccentedLettersBecomeCapitals)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "the accented letters below are Windows-1252; code page " << GetACP();
    UseCatalogue("BasePath=b\xfc" "cher\\\xe9t\xe9\r\n");
    EXPECT_EQ(Resolve(IDS_BASE_PATH).folder, "T:\\SETTINGS\\DATA\\B\xdc" "CHER\\\xc9T\xc9\\");
}

TEST(UpperCaseAnsi, AgreesWithThePlatformInWindows1252)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "the mapping is Windows-1252's; code page " << GetACP();
    for (int c = 1; c < 256; ++c) {
        char platform[2] = {static_cast<char>(c), '\0'};
        char own[2] = {static_cast<char>(c), '\0'};
        CharUpperA(platform);
        UpperCaseAnsi(own);
        EXPECT_EQ(static_cast<unsigned char>(own[0]), static_cast<unsigned char>(platform[0])) << "byte " << c;
    }
}

} // namespace
