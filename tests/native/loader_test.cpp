#include "catalogue/store.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

namespace {

// A catalogue held in a map: (section id, key id, number) -> value.
class MapSource final : public CatalogueSource {
public:
    void Set(int sectionId, int keyId, int number, const std::string& value)
    {
        values_[{sectionId, keyId, number}] = value;
    }
    void Author(int n, const std::string& value) { Set(IDS_AUTHORS, IDS_AUTHOR_KEY, n, value); }
    void Keyword(int n, const std::string& value) { Set(IDS_KEYWORDS, IDS_KEYWORD_KEY, n, value); }
    void Animation(int n, const std::string& value) { Set(IDS_ANIMATIONS, IDS_ANIMATION_KEY, n, value); }

    int Read(int sectionId, int keyId, int number, char (&value)[kProfileValueSize]) override
    {
        ++reads;
        highest[sectionId] = std::max(highest[sectionId], number);
        auto it = values_.find({sectionId, keyId, number});
        std::string text = it == values_.end() ? "" : it->second.substr(0, kProfileValueSize - 1);
        std::copy(text.begin(), text.end(), value);
        value[text.size()] = '\0';
        return static_cast<int>(text.size());
    }

    int reads = 0;
    std::map<int, int> highest;

private:
    std::map<std::tuple<int, int, int>, std::string> values_;
};

class Loader : public ::testing::Test {
protected:
    void SetUp() override { ClearCatalogue(); }
    int Load() { return LoadCatalogueFrom(source, "Unbekannt"); }
    MapSource source;
};

TEST_F(Loader, ReadsTablesUntilTheFirstGap)
{
    source.Author(1, "Anna");
    source.Author(2, "Bert");
    source.Author(4, "never read");
    source.Keyword(1, "Sport");
    source.Keyword(2, "");                       // an empty value ends the list too
    source.Keyword(3, "never read");
    source.Animation(1, "0;2;Eins;E.FLC;1.1.99;1");
    source.Animation(2, "0;1;Zwei;Z.FLC;1.1.99");  // five fields: rejected, keeps no slot
    source.Animation(3, "0;3;Drei;D.FLC;1.1.99;3;1");
    source.Animation(5, "0;1;never read;N.FLC;1.1.99;5");

    ASSERT_NE(Load(), 0);
    EXPECT_EQ(AuthorCount, 3);
    EXPECT_STREQ(AuthorTable[0], "Unbekannt");
    EXPECT_STREQ(AuthorTable[2], "Bert");
    EXPECT_EQ(KeywordCount, 1);
    EXPECT_STREQ(KeywordTable[0], "Sport");
    ASSERT_EQ(AnimationCount, 2);
    EXPECT_STREQ(AnimationTable[0].title, "Eins");
    EXPECT_EQ(AnimationTable[0].authorIndex, 2);
    EXPECT_STREQ(AnimationTable[1].title, "Drei");
    EXPECT_EQ(AnimationTable[1].authorIndex, 0);   // Author3 is missing: "Unbekannt"
    EXPECT_EQ(AnimationTable[1].keywordCount, 1);
    EXPECT_EQ(source.highest[IDS_ANIMATIONS], 4);
}

TEST_F(Loader, FailsWithoutAuthor1AndReadsNothingElse)
{
    source.Author(2, "Bert");
    source.Keyword(1, "Sport");
    source.Animation(1, "0;1;Eins;E.FLC;1.1.99;1");
    EXPECT_EQ(Load(), 0);
    EXPECT_EQ(AuthorCount, 1);
    EXPECT_EQ(KeywordCount, 0);
    EXPECT_EQ(AnimationCount, 0);
    EXPECT_EQ(source.reads, 1);
}

TEST_F(Loader, FailsWithoutAnAcceptedEntry)
{
    source.Author(1, "Anna");
    source.Animation(1, "0;1;Eins");
    EXPECT_EQ(Load(), 0);
    EXPECT_EQ(AnimationCount, 0);
}

TEST_F(Loader, StopsAtEveryTablesCapacity)
{
    for (int n = 1; n <= 60; ++n) {
        source.Author(n, "Autor " + std::to_string(n));
        source.Keyword(n, "Stichwort " + std::to_string(n));
    }
    for (int m = 1; m <= 250; ++m)
        source.Animation(m, "0;49;Titel " + std::to_string(m) + ";F.FLC;1.1.99;1;50");
    ASSERT_NE(Load(), 0);
    EXPECT_EQ(AuthorCount, kAuthorSlots);
    EXPECT_STREQ(AuthorTable[49], "Autor 49");
    EXPECT_EQ(KeywordCount, kKeywordSlots);
    EXPECT_STREQ(KeywordTable[49], "Stichwort 50");
    EXPECT_EQ(AnimationCount, kAnimationSlots);
    EXPECT_STREQ(AnimationTable[199].title, "Titel 200");
    EXPECT_EQ(AnimationTable[199].authorIndex, 49);
    EXPECT_EQ(AnimationTable[199].keywordIndices[0], 49);
    // Keys beyond the tables are never asked for.
    EXPECT_EQ(source.highest[IDS_AUTHORS], 49);
    EXPECT_EQ(source.highest[IDS_KEYWORDS], 50);
    EXPECT_EQ(source.highest[IDS_ANIMATIONS], 200);
}

TEST_F(Loader, CutsLongNamesAtTheirSlots)
{
    source.Author(1, std::string(200, 'A'));
    source.Keyword(1, std::string(40, 'K'));
    source.Animation(1, "0;1;T;F;D;1;1");
    ASSERT_NE(Load(), 0);
    EXPECT_EQ(std::string(AuthorTable[1]), std::string(kAuthorNameSize - 1, 'A'));
    EXPECT_EQ(std::string(KeywordTable[0]), std::string(kKeywordNameSize - 1, 'K'));
}

} // namespace
