// Start-up: the catalogue's path, the existence test and the medium prompt.
#include "app/startup.h"
#include "base/file_exists.h"
#include "base/instance.h"
#include "catalogue/catalogue_file.h"
#include "harness.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace {

// A name of `length` characters below `folder`: folders of 99 characters
// each, as deep as needed, and a last name of what remains.
std::string LongName(const std::string& folder, std::size_t length)
{
    std::string name = folder;
    while (length - name.size() > 100)
        name += std::string(99, 'N') + "\\";
    return name + std::string(length - name.size(), 'N');
}

class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override { SetModuleInstance(GetModuleHandleA(nullptr)); }
    std::string CatalogueName() { return ModuleBaseName() + ".INI"; }
};

TEST_F(StartUpTest, FileExistsIgnoresBlanksAtTheEndAndRefusesOverlongNames)
{
    std::string folder = ScratchFolder("exists");
    WriteFileBytes(folder + "VANSHOW.EXE", "x");
    EXPECT_EQ(FileExists((folder + "VANSHOW.EXE").c_str()), 1);
    EXPECT_EQ(FileExists((folder + "VANSHOW.EXE ").c_str()), 1);
    EXPECT_EQ(FileExists((folder + "VANSHOW.EXE   ").c_str()), 1);
    EXPECT_EQ(FileExists(folder.c_str()), 1);                       // a folder counts
    EXPECT_EQ(FileExists((folder + "VANEDIT.EXE").c_str()), 0);
    EXPECT_EQ(FileExists(""), 0);
    // A name with an umlaut (Windows-1252) is found as it is written.
    WriteFileBytes(folder + "M\xC4RCHEN.INI", "x");
    EXPECT_EQ(FileExists((folder + "M\xC4RCHEN.INI").c_str()), 1);

    // Names as long as Windows allows are tested whole, blanks at the end
    // aside.
    for (std::size_t length : {127u, 128u, 259u}) {
        std::string name = LongName(folder, length);
        WriteFileBytes(name, "x");
        EXPECT_EQ(FileExists(name.c_str()), 1) << length;
        EXPECT_EQ(FileExists((name + "  ").c_str()), 1) << length;
    }
    // A longer name is not found, although the file exists, and so do its
    // first 259 characters: a cut name would test that other file.
    std::string name260 = LongName(folder, 260);
    WriteFileBytes(name260, "x");
    ASSERT_NE(GetFileAttributesA(name260.c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_EQ(FileExists(name260.substr(0, 259).c_str()), 1);
    EXPECT_EQ(FileExists(name260.c_str()), 0);
}

TEST_F(StartUpTest, LocatesTheCatalogueBesideTheProgramOrInTheGivenFolder)
{
    std::string folder = ScratchFolder("locate");
    EXPECT_EQ(LocateCatalogue((folder).c_str()), 0);
    EXPECT_EQ(std::string(CataloguePath), folder + CatalogueName());

    WriteFileBytes(folder + CatalogueName(), "[Authors]\n");
    EXPECT_EQ(LocateCatalogue(folder.c_str()), 1);
    std::string withoutBackslash = folder.substr(0, folder.size() - 1);
    EXPECT_EQ(LocateCatalogue(withoutBackslash.c_str()), 1);
    EXPECT_EQ(std::string(CataloguePath), folder + CatalogueName());

    // Without a usable folder on the command line the program's own folder is used.
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, sizeof module);
    std::string beside = module;
    beside = beside.substr(0, beside.find_last_of('.')) + ".INI";
    for (const char* arguments : {"", "T:\\", "\"T:\\locate\"", "-x"}) {
        LocateCatalogue(arguments);
        EXPECT_EQ(std::string(CataloguePath), beside) << arguments;
    }
}

TEST_F(StartUpTest, FindsACatalogueInAFolderAsDeepAsWindowsAllows)
{
    std::string folder = ScratchFolder("deep");
    for (std::size_t length : {128u, 200u, 259u}) {
        std::string catalogueFolder = LongName(folder, length - 1 - CatalogueName().size());
        std::string catalogue = catalogueFolder + "\\" + CatalogueName();
        ASSERT_EQ(catalogue.size(), length);
        WriteFileBytes(catalogue, "[Authors]\n");
        EXPECT_EQ(LocateCatalogue(catalogueFolder.c_str()), 1) << length;
        EXPECT_EQ(std::string(CataloguePath), catalogue);
    }
}

TEST_F(StartUpTest, AsksForTheMediumUntilTheCatalogueAppears)
{
    std::string folder = ScratchFolder("prompt");
    std::string catalogue = folder + CatalogueName();
    BoxWatcher watcher([&](const SeenBox&, int number) {
        if (number == 2)
            WriteFileBytes(catalogue, "[Authors]\n");   // the medium is inserted
        return IDRETRY;
    });
    EXPECT_EQ(StartUp(GetModuleHandleA(nullptr), folder.c_str()), 1);

    std::vector<SeenBox> boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    // A full file path is no drive root: the platform answers "no root", so the
    // CD-ROM prompt shows.
    EXPECT_EQ(boxes[0].caption, "Fehler");
    EXPECT_EQ(boxes[0].text, "Bitte legen Sie die CD-ROM mit der Datei '" + catalogue + "' ein!");
    EXPECT_TRUE(boxes[0].hasRetry);
    EXPECT_TRUE(boxes[0].hasCancel);
    EXPECT_EQ(std::string(CataloguePath), catalogue);
}

TEST_F(StartUpTest, CancelEndsTheStart)
{
    std::string folder = ScratchFolder("cancel");
    BoxWatcher watcher([](const SeenBox&, int) { return IDCANCEL; });
    EXPECT_EQ(StartUp(GetModuleHandleA(nullptr), folder.c_str()), 0);
    EXPECT_EQ(watcher.Boxes().size(), 1u);
}

TEST_F(StartUpTest, AnOverlongFolderIsNeverLookedForCut)
{
    // A folder of 250 characters: with the file name the path would need more
    // than 259. No cut path is formed or looked for; the prompt names the
    // catalogue ending in "...".
    std::string arguments = "T:\\" + std::string(250, 'L');
    BoxWatcher watcher([](const SeenBox&, int) { return IDCANCEL; });
    EXPECT_EQ(StartUp(GetModuleHandleA(nullptr), arguments.c_str()), 0);
    std::vector<SeenBox> boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("..."), std::string::npos);
    EXPECT_LT(boxes[0].text.size(), 160u);
}

} // namespace
