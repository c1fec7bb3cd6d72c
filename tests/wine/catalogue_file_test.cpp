// The loader over the platform's own profile reader.
#include "base/instance.h"
#include "base/text.h"
#include "catalogue/catalogue_file.h"
#include "harness.h"
#include "res/resource.h"
#include "tests/support/failing_allocator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

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

// The tables as the list would show them.
std::vector<std::string> Tables()
{
    std::vector<std::string> lines;
    for (int n = 0; n < AuthorCount; ++n)
        lines.push_back(std::string("author ") + AuthorTable[n]);
    for (int n = 0; n < KeywordCount; ++n)
        lines.push_back(std::string("keyword ") + KeywordTable[n]);
    for (int n = 0; n < AnimationCount; ++n) {
        const AnimationRecord& record = AnimationTable[n];
        std::string line = std::string("animation ") + record.title + ";" + record.file + ";" + record.date + ";"
                         + record.sizeText + ";" + std::to_string(record.authorIndex);
        for (int k = 0; k < record.keywordCount; ++k)
            line += "," + std::to_string(record.keywordIndices[k]);
        lines.push_back(line);
    }
    return lines;
}

// Without the memory for a section at once, every key is read on its own:
// the same tables, nothing lost.
TEST_F(CatalogueFile, WithoutMemoryForASectionTheKeysAreReadOneByOne)
{
    std::string text = "[Authors]\r\nAuthor1=Anna\r\n  Author2 = Bert \r\nAuthor3=\"Cleo\"\r\n"
                       "[Keywords]\r\nKeyword1=Sport\r\nKeyword2=Natur\r\n[Animations]\r\n";
    for (int n = 1; n <= 40; ++n)
        text += "Animation" + std::to_string(n) + "=" + std::to_string(n % 4) + ";" + std::to_string(n) + ";Titel "
              + std::to_string(n) + ";F" + std::to_string(n) + ".FLC;1." + std::to_string(n % 12 + 1) + ".96;2;"
              + std::to_string(n % 3) + ",2\r\n";
    text += "Animation41=0;1;Ohne Datei\r\nAnimation42=1;1;Danach;D.FLC;1.1.99;1\r\n";
    UseCatalogue(text);
    ASSERT_NE(LoadCatalogue(), 0);
    const std::vector<std::string> withMemory = Tables();
    ASSERT_EQ(AnimationCount, 41);

    ClearCatalogue();
    FailNothrowArraysFrom(0);
    int loaded = LoadCatalogue();
    ServeEveryArray();
    EXPECT_NE(loaded, 0);
    EXPECT_EQ(Tables(), withMemory);
}

} // namespace
