// Drafted catalogues: what KORVAL's own loader makes of them, what is left
// out and why, and real folders read whole (the demo medium's animations).
#include "medium/draft.h"

#include "catalogue/profile_reader.h"
#include "catalogue/store.h"
#include "medium/check.h"
#include "medium/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <sys/utime.h>
#else
#include <utime.h>
#endif

namespace {

namespace fs = std::filesystem;

const std::string kBase = "Z:\\MEDIUM\\";

DraftFile File(const std::string& path, std::uint64_t size = 1000, int day = 1, int month = 2, int year = 1997)
{
    return {path, "{" + path + "}", size, day, month, year};
}

// The draft as KORVAL loads it: the tables are the loader's own.
int Load(const std::string& text)
{
    ProfileReader reader;
    reader.Parse(text.data(), text.size());
    ProfileCatalogueSource source(reader);
    ClearCatalogue();
    return LoadCatalogueFrom(source, "Unbekannt");
}

std::vector<std::string> Keywords(const AnimationRecord& record)
{
    std::vector<std::string> names;
    for (int i = 0; i < record.keywordCount; ++i)
        names.push_back(KeywordTable[record.keywordIndices[i]]);
    return names;
}

std::string Setting(const std::string& text, const char* key)
{
    ProfileReader reader;
    reader.Parse(text.data(), text.size());
    char value[300] = "";
    reader.Read("Settings", key, value, sizeof value);
    return value;
}

TEST(DraftCatalogue, LoadsAsKorvalReadsItInPathOrder)
{
    // Given in no order; "\xE4" is a small a umlaut in Windows-1252.
    std::vector<DraftFile> files = {
        File("zug.flc", 1, 5, 3, 1996),
        File("\xE4nderung.flc", 1024),
        File("NATUR\\MEER\\welle.fli", 0),
        File("_-_.flc"),
        File("ball_und-kette.FLC", 1025, 31, 12, 1999),
        File("NATUR\\baum.flc", 2048),
        File("Apfel.flc"),
    };
    Draft draft = DraftCatalogue(files, "Z:\\MEDIUM", "Anna Adler");
    EXPECT_TRUE(draft.findings.empty());
    ASSERT_EQ(draft.entries, 7);

    struct Row {
        const char* title;
        const char* file;
        const char* date;
        const char* size;
        std::vector<std::string> keywords;
    };
    const Row rows[] = {
        {"Apfel", "Apfel.flc", "01.02.1997", "1 KB", {}},
        {"Ball und kette", "ball_und-kette.FLC", "31.12.1999", "2 KB", {}},
        {"Baum", "NATUR\\baum.flc", "01.02.1997", "2 KB", {"NATUR"}},
        {"Welle", "NATUR\\MEER\\welle.fli", "01.02.1997", "0 KB", {"NATUR", "MEER"}},
        {"Zug", "zug.flc", "05.03.1996", "1 KB", {}},
        {"_-_.flc", "_-_.flc", "01.02.1997", "1 KB", {}},
        {"\xC4nderung", "\xE4nderung.flc", "01.02.1997", "1 KB", {}},
    };
    ASSERT_NE(Load(draft.text), 0);
    ASSERT_EQ(AnimationCount, 7);
    for (int i = 0; i < 7; ++i) {
        const AnimationRecord& record = AnimationTable[i];
        EXPECT_STREQ(record.title, rows[i].title) << i;
        EXPECT_STREQ(record.file, rows[i].file) << i;
        EXPECT_STREQ(record.date, rows[i].date) << i;
        EXPECT_STREQ(record.sizeText, rows[i].size) << i;
        EXPECT_EQ(Keywords(record), rows[i].keywords) << i;
        EXPECT_STREQ(AuthorTable[record.authorIndex], "Anna Adler") << i;
    }
    EXPECT_EQ(Setting(draft.text, "BasePath"), "Z:\\MEDIUM\\");

    // Every line ends in CR LF, and nothing else breaks one.
    for (std::size_t at = 0; (at = draft.text.find('\n', at)) != std::string::npos; ++at)
        ASSERT_TRUE(at > 0 && draft.text[at - 1] == '\r') << at;
    EXPECT_EQ(std::count(draft.text.begin(), draft.text.end(), '\r'),
              std::count(draft.text.begin(), draft.text.end(), '\n'));
}

TEST(DraftCatalogue, LeavesOutWhatKorvalCouldNotHoldOrNameAndSaysWhy)
{
    const std::string name39 = std::string(35, 'L') + ".FLC";
    const std::uint64_t kMaxKb = INT32_MAX;
    struct Case {
        std::string base;
        std::vector<DraftFile> files;
        int entries;
        std::vector<std::string> findings;
    };
    const Case cases[] = {
        {kBase, {File(name39), File("X" + name39)}, 1,
         {"{X" + name39 + "}: left out: its path below the folder has 40 characters, KORVAL's field holds 39"}},
        {kBase, {File("A;B.FLC"), File("OK.FLC")}, 1,
         {"{A;B.FLC}: left out: a \";\" in its name would end the entry's field"}},
        {kBase, {File("A\rB.FLC"), File("OK.FLC")}, 1, {"{A\rB.FLC}: left out: its name holds a control character"}},
        {kBase, {File("BIG.FLC", (kMaxKb + 1) * 1024), File("MAX.FLC", kMaxKb * 1024)}, 1,
         {"{BIG.FLC}: left out: its size does not fit KORVAL's number"}},
        // 230 characters of folder and a backslash, then 29 and 30 of file.
        {"Z:\\" + std::string(226, 'D') + "\\", {File(std::string(25, 'F') + ".FLC"), File(std::string(26, 'G') + ".FLC")},
         1, {"{" + std::string(26, 'G') + ".FLC}: left out: its full path has 260 characters, KORVAL takes 259"}},
        {kBase, {File("ball.flc"), File("BALL.FLC"), File("Sub\\X.FLC"), File("SUB\\x.flc")}, 2,
         {"{ball.flc}: left out: Windows does not tell its name from {BALL.FLC}",
          "{Sub\\X.FLC}: left out: Windows does not tell its name from {SUB\\x.flc}"}},
    };
    for (const Case& c : cases) {
        Draft draft = DraftCatalogue(c.files, c.base, "Unbekannt");
        EXPECT_EQ(draft.entries, c.entries) << c.findings.front();
        EXPECT_EQ(draft.findings, c.findings);
        ASSERT_NE(Load(draft.text), 0);
        EXPECT_EQ(AnimationCount, c.entries) << c.findings.front();
    }
}

TEST(DraftCatalogue, KeepsToTheTablesCapacities)
{
    // 201 files: the last in path order is left out.
    std::vector<DraftFile> files;
    for (int i = 200; i >= 0; --i)
        files.push_back(File("A" + std::to_string(1000 + i) + ".FLC"));
    Draft draft = DraftCatalogue(files, kBase, "Unbekannt");
    EXPECT_EQ(draft.entries, 200);
    EXPECT_EQ(draft.findings, std::vector<std::string>{"{A1200.FLC}: left out: the list holds 200 animations"});
    Load(draft.text);
    EXPECT_EQ(AnimationCount, 200);
    EXPECT_STREQ(AnimationTable[199].file, "A1199.FLC");

    // Of eleven folders above a file, the first ten are its keywords; a name
    // of 32 characters is no keyword (31 fit); the 51st name is none either,
    // and its file stays.
    files.clear();
    files.push_back(File("A\\B\\C\\D\\E\\F\\G\\H\\I\\J\\K\\X.FLC"));
    files.push_back(File(std::string(31, 'B') + "\\X.FLC"));
    files.push_back(File(std::string(32, 'C') + "\\X.FLC"));
    for (int i = 100; i <= 150; ++i)
        files.push_back(File("K" + std::to_string(i) + "\\X.FLC"));
    draft = DraftCatalogue(files, kBase, "Unbekannt");
    EXPECT_EQ(draft.entries, 54);
    std::vector<std::string> expected = {
        "{A\\B\\C\\D\\E\\F\\G\\H\\I\\J\\K\\X.FLC}: only the keywords of its first 10 folders are kept",
        "{" + std::string(32, 'C') + "\\X.FLC}: its folder's name \"" + std::string(32, 'C')
            + "\" is no keyword: it has 32 characters, a keyword holds 31"};
    for (int i = 139; i <= 150; ++i)
        expected.push_back("{K" + std::to_string(i) + "\\X.FLC}: its folder's name \"K" + std::to_string(i)
                           + "\" is no keyword: the keyword table holds 50 keywords");
    EXPECT_EQ(draft.findings, expected);
    Load(draft.text);
    ASSERT_EQ(AnimationCount, 54);
    EXPECT_EQ(KeywordCount, 50);
    EXPECT_EQ(Keywords(AnimationTable[0]),
              (std::vector<std::string>{"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"}));
    EXPECT_EQ(Keywords(AnimationTable[1]), std::vector<std::string>{std::string(31, 'B')});
    EXPECT_TRUE(Keywords(AnimationTable[2]).empty());
    EXPECT_EQ(Keywords(AnimationTable[41]), std::vector<std::string>{"K138"});
    EXPECT_TRUE(Keywords(AnimationTable[42]).empty());
    EXPECT_STREQ(AnimationTable[53].file, "K150\\X.FLC");
}

TEST(DraftTitle, FromTheFileName)
{
    const std::pair<const char*, const char*> cases[] = {
        {"ball.flc", "Ball"},           {"BALL.FLC", "BALL"},       {"mein_erster-film.flc", "Mein erster film"},
        {"__x__.flc", "X"},             {"noext", "Noext"},         {"a.b.flc", "A.b"},
        {"\xF6l.flc", "\xD6l"},         {"\xDF.flc", "\xDF"},       {"_.flc", "_.flc"},
        {".flc", ".flc"},               {"1996.flc", "1996"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DraftTitle(c.first), c.second) << c.first;
}

// A folder of its own under the test's working folder, removed at the end.
class Scratch {
public:
    explicit Scratch(const char* name) : folder_(fs::absolute(name)) { fs::remove_all(folder_); fs::create_directories(folder_); }
    ~Scratch() { fs::remove_all(folder_); }
    std::string Folder() const { return folder_.string(); }

    std::string Put(const std::string& relative, const std::string& bytes)
    {
        fs::path path = folder_ / fs::u8path(relative);
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

private:
    fs::path folder_;
};

std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A file's last change set to noon of a day in local time.
void SetDay(const std::string& path, int day, int month, int year)
{
    std::tm local = {};
    local.tm_mday = day;
    local.tm_mon = month - 1;
    local.tm_year = year - 1900;
    local.tm_hour = 12;
    local.tm_isdst = -1;
#if defined(_WIN32)
    _utimbuf times = {std::mktime(&local), std::mktime(&local)};
    ASSERT_EQ(_utime(path.c_str(), &times), 0);
#else
    utimbuf times = {std::mktime(&local), std::mktime(&local)};
    ASSERT_EQ(utime(path.c_str(), &times), 0);
#endif
}

const std::string kDemo = JoinPath(CHECK_EXAMPLE, "ANIM");

TEST(DraftFolder, TheDemoMediumsAnimationsGiveACatalogueWithoutFindings)
{
    DraftReport draft = DraftFolder(kDemo);
    EXPECT_EQ(draft.exitCode, 0) << draft.error;
    EXPECT_TRUE(draft.findings.empty());

    // Saved as KORVAL.INI, the checker finds nothing in it, and it names the
    // same files as the demo's own catalogue (whose one rejected entry names
    // no file).
    Scratch scratch("draft_test.demo");
    scratch.Put("KORVAL.INI", draft.text);
    CheckReport checked = CheckCatalogue(scratch.Folder());
    EXPECT_EQ(checked.exitCode, 0);
    EXPECT_EQ(checked.findings, 0);
    CheckReport own = CheckCatalogue(CHECK_EXAMPLE);
    std::set<std::string> drafted, demo;
    for (const CatalogueAnimation& animation : checked.animations)
        drafted.insert(animation.path);
    for (const CatalogueAnimation& animation : own.animations)
        demo.insert(animation.path);
    EXPECT_EQ(drafted.size(), 14u);
    EXPECT_EQ(drafted, demo);

    // The folder itself, read through the draft in memory, gives the same.
    CheckReport medium = ReadMedium(kDemo);
    EXPECT_EQ(medium.exitCode, 0);
    EXPECT_EQ(medium.draft, draft.text);
    EXPECT_EQ(medium.catalogue, kDemo + " (draft)");
    ASSERT_EQ(medium.animations.size(), checked.animations.size());
    for (std::size_t i = 0; i < medium.animations.size(); ++i) {
        EXPECT_EQ(medium.animations[i].path, checked.animations[i].path);
        EXPECT_EQ(medium.animations[i].relative, checked.animations[i].relative);
        EXPECT_EQ(medium.animations[i].korvalPath, checked.animations[i].korvalPath);
    }
    // A folder with a catalogue is read through it, not drafted.
    EXPECT_TRUE(ReadMedium(CHECK_EXAMPLE).draft.empty());
    EXPECT_EQ(ReadMedium(CHECK_EXAMPLE).lines, own.lines);
}

TEST(DraftFolder, TakesAnimationsByTheirContentsAndNamesWhatItLeavesOut)
{
    const std::string ball = Bytes(JoinPath(kDemo, "BALL.FLC"));
    ASSERT_FALSE(ball.empty());
    Scratch scratch("draft_test.mixed");
    SetDay(scratch.Put("Erster_Flug.flc", ball), 5, 3, 1996);
    scratch.Put("FILM.DAT", ball);                  // an animation by its contents
    scratch.Put("LIESMICH.TXT", "Hallo");           // no animation: passed over
    std::string text = scratch.Put("KEIN.FLC", "Hallo");
    // Folders too deep for any entry of 39 characters are not gone into.
    scratch.Put(std::string(40, 'a') + "/" + std::string(40, 'b') + "/" + std::string(40, 'c') + "/TIEF.FLC", ball);
    std::string deep = JoinPath(JoinPath(JoinPath(scratch.Folder(), std::string(40, 'a')), std::string(40, 'b')),
                                std::string(40, 'c'));
#if !defined(_WIN32)
    scratch.Put("\xC3\x9C" "ber.flc", ball);         // "Über" in UTF-8: "\xDC" in the catalogue
    std::string latin1 = scratch.Put("\xE4.flc", ball);    // no UTF-8: no name KORVAL could be given
#endif
    DraftReport draft = DraftFolder(scratch.Folder(), "  Clara Wei\xC3\x9F ");
    EXPECT_EQ(draft.exitCode, 1);
    std::vector<std::string> expected = {
        deep + ": left out with all it holds: its path is longer than an entry's 39 characters",
        text + ": left out: not an FLC or FLI file",
#if !defined(_WIN32)
        latin1 + ": left out: its name has characters outside Windows-1252, which KORVAL cannot name",
#endif
    };
    EXPECT_EQ(draft.findings, expected);

    ASSERT_NE(Load(draft.text), 0);
    std::vector<std::string> titles;
    for (int i = 0; i < AnimationCount; ++i)
        titles.push_back(AnimationTable[i].title);
#if defined(_WIN32)
    EXPECT_EQ(titles, (std::vector<std::string>{"Erster Flug", "FILM"}));
#else
    EXPECT_EQ(titles, (std::vector<std::string>{"Erster Flug", "FILM", "\xDC" "ber"}));
    EXPECT_STREQ(AnimationTable[2].file, "\xDC" "ber.flc");
#endif
    EXPECT_STREQ(AnimationTable[0].date, "05.03.1996");
    EXPECT_STREQ(AnimationTable[0].sizeText, (std::to_string((ball.size() + 1023) / 1024) + " KB").c_str());
#if !defined(_WIN32)
    EXPECT_STREQ(AuthorTable[1], "Clara Wei\xDF");
#endif

    // Read through its draft, the folder's animations and what was left out.
    CheckReport medium = ReadMedium(scratch.Folder());
    EXPECT_EQ(medium.exitCode, 1);
    EXPECT_EQ(medium.leftOut, expected);
    EXPECT_EQ(medium.animations.size(), titles.size());
    EXPECT_EQ(medium.findings, static_cast<int>(expected.size()));
}

TEST(DraftFolder, MakesNoDraftOfWhatIsNoFolderOfAnimationsOrForABadAuthor)
{
    Scratch scratch("draft_test.none");
    scratch.Put("LIESMICH.TXT", "Hallo");
    DraftReport draft = DraftFolder(scratch.Folder());
    EXPECT_EQ(draft.exitCode, 2);
    EXPECT_TRUE(draft.text.empty());
    EXPECT_EQ(draft.error, scratch.Folder() + ": no FLC or FLI file that KORVAL can list");
    EXPECT_EQ(ReadMedium(scratch.Folder()).exitCode, 2);

    std::string file = JoinPath(kDemo, "BALL.FLC");
    EXPECT_EQ(DraftFolder(file).error, file + ": not a folder");

    for (const std::string& author : {std::string("Anna\nAdler"), std::string(120, 'A'), std::string(" ")
#if !defined(_WIN32)
                                      , std::string("\xE6\x97\xA5")
#endif
         }) {
        draft = DraftFolder(kDemo, author);
        EXPECT_EQ(draft.exitCode, 2) << author;
        EXPECT_TRUE(draft.text.empty()) << author;
    }
    EXPECT_EQ(DraftFolder(kDemo, std::string(119, 'A')).exitCode, 0);
}

} // namespace
