// The loader over the platform's own profile reader.
#include "base/instance.h"
#include "base/text.h"
#include "catalogue/catalogue_file.h"
#include "harness.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace {

class CatalogueFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetModuleInstance(GetModuleHandleA(nullptr));
        ClearCatalogue();
        folder_ = ScratchFolder("catalogue_file");
    }
    void UseCatalogue(const std::string& text)
    {
        std::string path = folder_ + "KORVAL.INI";
        WriteFileBytes(path, text);
        CopyText(CataloguePath, path.c_str());
    }
    std::string folder_;
};

TEST_F(CatalogueFile, ValuesArriveAsTheProfileReaderGivesThem)
{
    UseCatalogue("[Authors]\r\n  Author1 =  Anna Adler  \r\nauthor2=\"Bert\"\r\n"
                 "[Animations]\r\nAnimation1=3;2; Sonne ;CLIPS\\SONNE;24.12.99;850\r\n"
                 "[Settings]\r\nBasePath=\r\n");
    char value[kProfileValueSize];
    EXPECT_EQ(ReadCatalogueValue(IDS_AUTHORS, IDS_AUTHOR_KEY, value, 1), 10);
    EXPECT_STREQ(value, "Anna Adler");
    EXPECT_EQ(ReadCatalogueValue(IDS_AUTHORS, IDS_AUTHOR_KEY, value, 2), 4);
    EXPECT_STREQ(value, "Bert");
    EXPECT_EQ(ReadCatalogueValue(IDS_AUTHORS, IDS_AUTHOR_KEY, value, 3), 0);
    EXPECT_EQ(ReadCatalogueValue(IDS_SETTINGS, IDS_BASE_PATH, value, 0), 0);

    ASSERT_NE(LoadCatalogue(), 0);
    EXPECT_EQ(AuthorCount, 3);
    EXPECT_STREQ(AuthorTable[0], "Unbekannt");
    ASSERT_EQ(AnimationCount, 1);
    EXPECT_STREQ(AnimationTable[0].title, " Sonne ");     // nothing inside the line is trimmed
    EXPECT_STREQ(AnimationTable[0].file, "CLIPS\\SONNE");
    EXPECT_STREQ(AnimationTable[0].sizeText, "850 KB");
}

TEST_F(CatalogueFile, GapsAndRejectedEntries)
{
    UseCatalogue("[Authors]\nAuthor1=Anna\nAuthor2=Bert\nAuthor4=Dora\n"
                 "[Keywords]\nKeyword1=Sport\nKeyword2=Natur\nKeyword3=Technik\n"
                 "[Animations]\nAnimation1=0;2;Eins;E.FLC;1.1.99;1;3,3\nAnimation2=0;1;Zwei;Z.FLC;1.1.99\n"
                 "Animation3=1;3;Drei;D.FLC;2.2.99;3;2\nAnimation01=0;1;Null;N.FLC;1.1.99;1\n"
                 "Animation5=0;1;Fuenf;F.FLC;1.1.99;1\n");
    ASSERT_NE(LoadCatalogue(), 0);
    EXPECT_EQ(AuthorCount, 3);
    EXPECT_EQ(KeywordCount, 3);
    ASSERT_EQ(AnimationCount, 2);
    EXPECT_STREQ(AnimationTable[0].title, "Eins");
    EXPECT_EQ(AnimationTable[0].keywordCount, 2);
    EXPECT_EQ(AnimationTable[0].keywordIndices[1], 2);
    EXPECT_STREQ(AnimationTable[1].title, "Drei");
    EXPECT_EQ(AnimationTable[1].authorIndex, 0);
}

TEST_F(CatalogueFile, FailsWithoutAuthor1OrWithoutEntries)
{
    UseCatalogue("[Authors]\nAuthor2=Bert\n[Animations]\nAnimation1=0;1;Eins;E.FLC;1.1.99;1\n");
    EXPECT_EQ(LoadCatalogue(), 0);
    EXPECT_EQ(AnimationCount, 0);

    ClearCatalogue();
    UseCatalogue("[Authors]\nAuthor1=Anna\n[Animations]\nAnimation1=0;1;Eins\n");
    EXPECT_EQ(LoadCatalogue(), 0);

    ClearCatalogue();
    CopyText(CataloguePath, (folder_ + "MISSING.INI").c_str());
    EXPECT_EQ(LoadCatalogue(), 0);
    EXPECT_EQ(AuthorCount, 1);
}

TEST_F(CatalogueFile, LongValueIsCutAt255)
{
    std::string title(300, 'T');
    UseCatalogue("[Authors]\nAuthor1=" + std::string(300, 'A') + "\n[Animations]\nAnimation1=0;1;Kurz;K.FLC;1.1.99;1\n");
    char value[kProfileValueSize];
    EXPECT_EQ(ReadCatalogueValue(IDS_AUTHORS, IDS_AUTHOR_KEY, value, 1), 255);
    ASSERT_NE(LoadCatalogue(), 0);
    EXPECT_EQ(std::string(AuthorTable[1]), std::string(kAuthorNameSize - 1, 'A'));
}

} // namespace
