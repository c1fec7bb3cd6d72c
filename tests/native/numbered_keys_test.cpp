// The index of a section's numbered keys: which answers the section's text
// settles, and which it leaves to the platform's key read.
#include "catalogue/numbered_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A section as the platform hands it out: entries ended by NUL, the list by a
// second NUL that the length does not count.
std::string Section(std::initializer_list<std::string> entries)
{
    std::string text;
    for (const std::string& entry : entries)
        text += entry + '\0';
    return text;
}

struct Answer {
    KeyAnswer kind;
    std::string value;
};

class Keys : public ::testing::Test {
protected:
    Keys() : slots_(64, 0), keys_(slots_.data(), slots_.size()) {}

    void Index(const std::string& text, bool complete = true, const char* keyTemplate = "Animation%d")
    {
        text_ = text + '\0';
        keys_.Index(text_.data(), text.size(), complete, keyTemplate);
    }
    Answer Find(int number)
    {
        char value[kProfileValueSize];
        int length = -1;
        KeyAnswer kind = keys_.Find(number, value, length);
        EXPECT_EQ(static_cast<std::size_t>(length), std::string(value).size());
        return {kind, value};
    }

    std::vector<std::uint32_t> slots_;
    NumberedKeys keys_;
    std::string text_;
};

TEST_F(Keys, SettlesPlainValuesAndMissingKeys)
{
    Index(Section({"Animation1=0;1;Eins", "ANIMATION2=zwei", "animation3=", "Animation01=null", "Animation+4=x",
                   "Animation 5=x", "Other6=x", "Animation1=second", "Animation7=" + std::string(255, 'v')}));
    struct Row {
        int number;
        KeyAnswer kind;
        std::string value;
    } rows[] = {
        {1, KeyAnswer::Value, "0;1;Eins"},       // the first of two wins
        {2, KeyAnswer::Value, "zwei"},           // names ignore letter case
        {3, KeyAnswer::Missing, ""},             // an empty value reads as missing
        {4, KeyAnswer::Missing, ""},             // Animation01 and Animation+4 are other names
        {5, KeyAnswer::Missing, ""},
        {6, KeyAnswer::Missing, ""},
        {7, KeyAnswer::Value, std::string(255, 'v')},
        {8, KeyAnswer::Missing, ""},
        {0, KeyAnswer::AskPlatform, ""},         // no numbered key has these numbers
        {-1, KeyAnswer::AskPlatform, ""},
        {64, KeyAnswer::AskPlatform, ""},        // beyond the index
    };
    for (const Row& row : rows) {
        Answer answer = Find(row.number);
        EXPECT_EQ(answer.kind, row.kind) << row.number;
        EXPECT_EQ(answer.value, row.value) << row.number;
    }
}

TEST_F(Keys, LeavesWhatTheTextCannotSettleToThePlatform)
{
    const struct {
        const char* why;
        std::string entry;
    } cases[] = {
        {"quotes are the key read's to remove", "Animation1=\"q\""},
        {"single quotes too", "Animation1='q'"},
        {"blanks around the value", "Animation1= v"},
        {"blanks after the value", "Animation1=v\t"},
        {"Ctrl-Z around the value", "Animation1=v\x1a"},
        {"blanks around the name", "Animation1 =v"},
        {"blanks before the name", " Animation1=v"},
        {"a value the key read cuts", "Animation1=" + std::string(256, 'v')},
        {"a key without =", "Animation1"},
    };
    for (const auto& c : cases) {
        Index(Section({c.entry, "Animation1=later", "Animation2=zwei"}));
        EXPECT_EQ(Find(1).kind, KeyAnswer::AskPlatform) << c.why;
        EXPECT_EQ(Find(2).value, "zwei") << c.why;
    }
}

TEST_F(Keys, ASectionThatDidNotFitAnswersOnlyForItsWholeEntries)
{
    // The platform cuts the last entry: "Animation3=dr" may be "Animation3=drei".
    std::string cut = Section({"Animation1=eins", "Animation2=zwei"}) + "Animation3=dr";
    Index(cut, false);
    EXPECT_EQ(Find(1).value, "eins");
    EXPECT_EQ(Find(3).kind, KeyAnswer::AskPlatform);
    EXPECT_EQ(Find(4).kind, KeyAnswer::AskPlatform);     // may follow beyond the buffer

    // Even a last entry that looks whole may have been cut.
    Index(Section({"Animation1=eins", "Animation2=zw"}), false);
    EXPECT_EQ(Find(1).value, "eins");
    EXPECT_EQ(Find(2).kind, KeyAnswer::AskPlatform);
}

TEST_F(Keys, NamesBeyondAsciiOrAnOddTemplateIndexNothing)
{
    Index(Section({"Animation1=eins", "\xC4nimation2=zwei"}));
    EXPECT_EQ(Find(1).kind, KeyAnswer::AskPlatform);
    EXPECT_EQ(Find(3).kind, KeyAnswer::AskPlatform);

    Index(Section({"Key1x=eins"}), true, "Key%dx");
    EXPECT_EQ(Find(1).kind, KeyAnswer::AskPlatform);

    // A new section forgets the old one's keys.
    Index(Section({"Animation1=eins", "Animation9=neun"}));
    Index(Section({"Author1=Anna"}), true, "Author%d");
    EXPECT_EQ(Find(1).value, "Anna");
    EXPECT_EQ(Find(9).kind, KeyAnswer::Missing);

    keys_.Clear();
    EXPECT_EQ(Find(1).kind, KeyAnswer::AskPlatform);
}

TEST_F(Keys, AnEmptySectionHasNoKeys)
{
    Index("");
    EXPECT_EQ(Find(1).kind, KeyAnswer::Missing);
    Index("", false);
    EXPECT_EQ(Find(1).kind, KeyAnswer::AskPlatform);
}

} // namespace
