// korval-check over small catalogues, one per kind of finding, and the demo
// medium.
#include "catalogue/folder_setting.h"
#include "medium/check.h"
#include "medium/file_system.h"
#include "tests/support/failing_allocator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#if defined(_WIN32)
#include <direct.h>
#include <io.h>
#include <share.h>
#else
#include <unistd.h>
#endif

namespace {

// A fixture folder as KORVAL names it: upper case, ending in a backslash.
std::string KorvalFolder(const std::string& folder)
{
    std::string path = KorvalPathOf(FullPath(folder));
    UpperCaseAnsi(&path[0]);
    return path.back() == '\\' ? path : path + "\\";
}

// The report's lines without the catalogue's path in front: "23: text", or
// " text" for what concerns the whole file; "{DIR}" stands for the folder.
std::vector<std::string> Lines(const CheckReport& report, const std::string& folder)
{
    std::vector<std::string> lines;
    for (std::string line : report.lines) {
        std::size_t name = line.find(".INI:") != std::string::npos ? line.find(".INI:") : line.find(".ini:");
        line = line.substr(name + 5);
        std::string korval = KorvalFolder(folder);
        for (std::size_t at; (at = line.find(korval)) != std::string::npos;)
            line.replace(at, korval.size(), "{DIR}");
        lines.push_back(line);
    }
    return lines;
}

struct Case {
    const char* fixture;
    int exitCode;
    std::vector<std::string> lines;
};

TEST(KorvalCheck, ReportsWhatKorvalMakesOfACatalogue)
{
    const Case cases[] = {
        {"clean", 0, {"13: BasePath: {DIR}ANIM\\", " ProgramPath: not set: the catalogue's folder {DIR}"}},
        {"lower", 0,
         {" BasePath: not set: the catalogue's folder {DIR}", " ProgramPath: not set: the catalogue's folder {DIR}"}},
        {"entries", 1,
         {"3: Author2: author name cut to 119 characters (it has 130)",
          "6: Keyword2: keyword cut to 31 characters (it has 40)",
          "8: Animation1: rejected: only 5 fields",
          "9: Animation2: rejected: file name of 44 characters, the field holds 39",
          "10: Animation3: author 9 does not exist: shown as \"Unbekannt\"",
          "11: Animation4: author -1 does not exist: shown as \"Unbekannt\"",
          "11: Animation4: keyword 7 does not exist: skipped",
          "11: Animation4: keyword \"x\" is not a number: skipped",
          "11: Animation4: keyword 0 does not exist: skipped",
          "12: Animation5: title cut to 63 characters (it has 70)",
          "12: Animation5: date cut to 19 characters (it has 22)",
          "13: Animation6: more than 10 keywords: 2,9 ignored",
          "14: Animation7: value cut to 255 characters (it has 325)",
          "14: Animation7: more than 10 keywords: 1,1,1,1,1,... (105 in all) ignored",
          "17: BasePath: {DIR}ANIM\\",
          " ProgramPath: not set: the catalogue's folder {DIR}"}},
        {"numbering", 1,
         {"1: Stray: not read: it stands before the first section",
          "5: Author2: not read: the same key at line 4 comes first",
          "6: Author01: not read: KORVAL asks for Author1, Author2, ... only",
          "10: Keyword3: not read: the list ends at Keyword2 (line 9), which is empty",
          "14: Animation4: not read (nor 1 more after it): the list ends at Animation3, which is missing",
          "16: [Animations]: not read: the section began at line 11, so the keys of this block are never read",
          "19: BasePath: {DIR}ANIM\\",
          " ProgramPath: not set: the catalogue's folder {DIR}"}},
        {"capacity", 1,
         {"51: Author50: not read (nor 2 more after it): the author table holds 49 authors",
          "105: Keyword51: not read: the keyword table holds 50 keywords",
          "307: Animation201: not read (nor 2 more after it): the list holds 200 animations",
          "311: BasePath: {DIR}ANIM\\",
          " ProgramPath: not set: the catalogue's folder {DIR}"}},
        {"files", 1,
         {"5: Animation2: ball.flc is BALL.FLC on disk: the names differ in letter case",
          "6: Animation3: SUB\\noten.flc is " + JoinPath("sub", "NOTEN.FLC") + " on disk: the names differ in letter case",
          "7: Animation4: file missing: {DIR}ANIM\\FEHLT.FLC",
          "8: Animation5: not a regular file (a folder): {DIR}ANIM\\SUB",
          "11: BasePath: {DIR}ANIM\\",
          " ProgramPath: not set: the catalogue's folder {DIR}"}},
        {"noauthor", 1,
         {"1: Author1: missing: KORVAL reads nothing further and shows a window without a list",
          "2: Author2: not read: the list ends at Author1, which is missing",
          " BasePath: not set: the catalogue's folder {DIR}",
          " ProgramPath: not set: the catalogue's folder {DIR}"}},
        {"dates", 1,
         {"6: Animation2: 24.12.99: \"Nach Datum\" counts the two-digit year 99 as 00: it sorts before every other year",
          "7: Animation3: 24.12.1999 mixes a four-digit year with the two-digit one of Animation1 (05.03.98): "
          "\"Nach Datum\" puts 1999 where 19 goes",
          "9: Animation5: 3.7. 99: \"Nach Datum\" counts the two-digit year 99 as 00: it sorts before every other year",
          "12: Animation8: rejected: only 5 fields",
          "14: BasePath: {DIR}ANIM\\",
          " ProgramPath: not set: the catalogue's folder {DIR}"}},
        {"mixed", 1,
         {"6: Animation2: 5.3.98 mixes a two-digit year with the four-digit one of Animation1 (1.1.2000): "
          "\"Nach Datum\" puts 2000 where 20 goes",
          "9: BasePath: {DIR}ANIM\\",
          " ProgramPath: not set: the catalogue's folder {DIR}"}},
        {"animations", 1,
         {"10: Animation4: not an FLC or FLI file: {DIR}ANIM\\TEXT.FLC",
          "11: Animation5: picture too large: 2048 x 2049 pixels, KORVAL shows at most 4194304: {DIR}ANIM\\GROSS.FLC",
          "12: Animation6: damaged at frame 3: {DIR}ANIM\\KAPUTT.FLC",
          "13: Animation7: damaged at frame 1: {DIR}ANIM\\LEER.FLC",
          "14: Animation8: file missing: {DIR}ANIM\\FEHLT.FLC",
          "16: BasePath: {DIR}ANIM\\",
          " ProgramPath: not set: the catalogue's folder {DIR}"}},
        {"settings", 1,
         {"3: [Animations]: no entry accepted: KORVAL shows a window without a list",
          "4: Animation1: rejected: only 5 fields",
          "6: BasePath: {DIR}FEHLT\\",
          "6: BasePath: folder missing: {DIR}FEHLT\\",
          "7: ProgramPath: cannot be resolved: the folder does not fit KORVAL's 259 characters"}},
    };
    for (const Case& c : cases) {
        std::string folder = std::string(CHECK_FIXTURES) + c.fixture;
        CheckReport report = CheckCatalogue(folder);
        EXPECT_EQ(report.exitCode, c.exitCode) << c.fixture;
        EXPECT_EQ(report.error, "") << c.fixture;
        EXPECT_EQ(Lines(report, folder), c.lines) << c.fixture;
    }
}

TEST(KorvalCheck, TellsEachAnimationsFactsWhenVerbose)
{
    std::string folder = std::string(CHECK_FIXTURES) + "animations";
    CheckReport report = CheckCatalogue(folder, true);
    EXPECT_EQ(report.exitCode, 1);
    EXPECT_EQ(report.findings, 5);
    std::vector<std::string> told;
    for (const std::string& line : Lines(report, folder)) {
        if (line.find(" Bild") != std::string::npos)
            told.push_back(line);
    }
    EXPECT_EQ(told, (std::vector<std::string>{
                        "7: Animation1: " + ConsoleText("8 \xD7 6, 12 Bilder, 1,2 s"),
                        "8: Animation2: " + ConsoleText("8 \xD7 6, 1 Bild, 0,1 s"),
                        "9: Animation3: " + ConsoleText("8 \xD7 6, 7 Bilder, 0,7 s"),    // FLI: 7/70 s each
                        "12: Animation6: " + ConsoleText("8 \xD7 6, 4 Bilder, 0,4 s, besch\xE4\x64igt ab Bild 3")}));

    // Every animation of the demo medium is a real one: one line each, no finding.
    report = CheckCatalogue(CHECK_EXAMPLE, true);
    EXPECT_EQ(report.findings, 2);
    std::vector<std::string> lines = Lines(report, CHECK_EXAMPLE);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.find(" Bilder, ") != std::string::npos; }),
              14);
    EXPECT_EQ(lines.front(), "25: Animation1: " + ConsoleText("160 \xD7 120, 32 Bilder, 1,9 s"));
}

TEST(KorvalCheck, TakesTheCatalogueFileItself)
{
    CheckReport report = CheckCatalogue(JoinPath(std::string(CHECK_FIXTURES) + "noauthor", "KORVAL.INI"));
    EXPECT_EQ(report.exitCode, 1);
    EXPECT_EQ(report.findings, 2);
}

TEST(KorvalCheck, RefusesWhatItCannotRead)
{
    std::string folderWithout = JoinPath(std::string(CHECK_FIXTURES) + "clean", "ANIM");
    CheckReport report = CheckCatalogue(folderWithout);
    EXPECT_EQ(report.exitCode, 2);
    EXPECT_EQ(report.error, folderWithout + ": no KORVAL.INI in this folder");
    EXPECT_TRUE(report.lines.empty());

    std::string missing = std::string(CHECK_FIXTURES) + "missing.ini";
    report = CheckCatalogue(missing);
    EXPECT_EQ(report.exitCode, 2);
    EXPECT_EQ(report.error, missing + ": cannot be read");
}

// A catalogue in a folder of its own, for what a repository cannot hold: a
// named pipe, a file nobody may open.
class ScratchCatalogue {
public:
    ScratchCatalogue() { Remove(); MakeFolder(folder_); MakeFolder(JoinPath(folder_, "ANIM")); }
    ~ScratchCatalogue() { Remove(); }

    const std::string& Folder() const { return folder_; }
    std::string Animation(const char* name) const { return JoinPath(JoinPath(folder_, "ANIM"), name); }

    void Write(const std::string& path, const std::string& bytes)
    {
        std::FILE* out = std::fopen(path.c_str(), "wb");
        ASSERT_NE(out, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
        written_.push_back(path);
    }

    // The lines of [Animations], then BasePath=ANIM.
    void WriteCatalogue(const std::vector<std::string>& entries)
    {
        std::string text = "[Authors]\r\nAuthor1=Anna Adler\r\n[Keywords]\r\nKeyword1=Sport\r\n[Animations]\r\n";
        for (std::size_t i = 0; i < entries.size(); ++i)
            text += "Animation" + std::to_string(i + 1) + "=0;1;" + entries[i] + ";12.03.1996;1;1\r\n";
        Write(JoinPath(folder_, "KORVAL.INI"), text + "[Settings]\r\nBasePath=ANIM\r\n");
    }

    void MakeFolder(const std::string& path)
    {
#if defined(_WIN32)
        _mkdir(path.c_str());
#else
        mkdir(path.c_str(), 0755);
#endif
        folders_.insert(folders_.begin(), path);
    }

#if !defined(_WIN32)
    void MakeFifo(const std::string& path)
    {
        ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
        written_.push_back(path);
    }
    void MakeLink(const std::string& path, const char* target)
    {
        ASSERT_EQ(symlink(target, path.c_str()), 0);
        written_.push_back(path);
    }
#endif

private:
    void Remove()
    {
        for (const std::string& path : written_) {
#if !defined(_WIN32)
            chmod(path.c_str(), 0644);
#endif
            std::remove(path.c_str());
        }
        written_.clear();
        for (const std::string& folder : folders_) {
#if defined(_WIN32)
            _rmdir(folder.c_str());
#else
            rmdir(folder.c_str());
#endif
        }
        folders_.clear();
    }

    std::string folder_ = FullPath(".") + (FullPath(".").back() == '\\' || FullPath(".").back() == '/' ? "" : "/") + "check_test.d";
    std::vector<std::string> written_;
    std::vector<std::string> folders_;
};

std::string FileBytes(const std::string& path)
{
    std::string bytes;
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr)
        return bytes;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) != 0;)
        bytes.append(buffer, got);
    std::fclose(in);
    return bytes;
}

TEST(KorvalCheck, ReadsRegularFilesOnlyAndSaysWhyNot)
{
    const std::string good = FileBytes(JoinPath(std::string(CHECK_FIXTURES) + "animations", JoinPath("ANIM", "GUT.FLC")));
    ASSERT_FALSE(good.empty());
    ScratchCatalogue scratch;
    scratch.MakeFolder(scratch.Animation("ORDNER.FLC"));
    scratch.Write(scratch.Animation("GESPERRT.FLC"), good);
    std::vector<std::string> entries = {"Ordner;ORDNER.FLC", "Gesperrt;GESPERRT.FLC"};
    std::vector<std::string> expected = {"6: Animation1: not a regular file (a folder): {DIR}ANIM\\ORDNER.FLC"};
#if defined(_WIN32)
    // Held open without sharing, as a program writing it would.
    int holder = _sopen(scratch.Animation("GESPERRT.FLC").c_str(), _O_RDWR, _SH_DENYRW);
    ASSERT_NE(holder, -1);
    expected.push_back("7: Animation2: cannot be read: {DIR}ANIM\\GESPERRT.FLC");
#else
    ASSERT_EQ(chmod(scratch.Animation("GESPERRT.FLC").c_str(), 0), 0);
    // Root reads a file of mode 000: the link to itself below is there for it.
    if (access(scratch.Animation("GESPERRT.FLC").c_str(), R_OK) != 0)
        expected.push_back("7: Animation2: cannot be read: {DIR}ANIM\\GESPERRT.FLC");
    // A named pipe without a writer: opening it for reading would wait for ever.
    scratch.MakeFifo(scratch.Animation("PIPE.FLC"));
    scratch.MakeLink(scratch.Animation("SCHLEIFE.FLC"), "SCHLEIFE.FLC");
    entries.push_back("Pipe;PIPE.FLC");
    entries.push_back("Schleife;SCHLEIFE.FLC");
    expected.push_back("8: Animation3: not a regular file (a named pipe): {DIR}ANIM\\PIPE.FLC");
    expected.push_back("9: Animation4: cannot be read: {DIR}ANIM\\SCHLEIFE.FLC");
#endif
    scratch.WriteCatalogue(entries);
    expected.push_back(std::to_string(entries.size() + 7) + ": BasePath: {DIR}ANIM\\");
    expected.push_back(" ProgramPath: not set: the catalogue's folder {DIR}");

    CheckReport report = CheckCatalogue(scratch.Folder());
    EXPECT_EQ(report.error, "");
    EXPECT_EQ(report.exitCode, 1);
    EXPECT_EQ(Lines(report, scratch.Folder()), expected);
#if defined(_WIN32)
    _close(holder);
#else
    // The catalogue itself a named pipe: refused, not waited on.
    std::remove(JoinPath(scratch.Folder(), "KORVAL.INI").c_str());
    scratch.MakeFifo(JoinPath(scratch.Folder(), "KORVAL.INI"));
    report = CheckCatalogue(scratch.Folder());
    EXPECT_EQ(report.exitCode, 2);
    EXPECT_EQ(report.error, JoinPath(scratch.Folder(), "KORVAL.INI") + ": not a regular file (a named pipe)");
#endif
}

// What this machine could not give is no fault of the file: neither a picture
// too large nor damaged.
TEST(KorvalCheck, SaysWhenMemoryRanOut)
{
    const std::string folder = std::string(CHECK_FIXTURES) + "animations";
    struct Case {
        const char* name;
        std::size_t failFrom;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"no picture", 0,
         {"7: Animation1: not checked: no memory for its picture of 8 x 6 pixels: {DIR}ANIM\\GUT.FLC",
          "8: Animation2: not checked: no memory for its picture of 8 x 6 pixels: {DIR}ANIM\\EIN.FLC",
          "9: Animation3: not checked: no memory for its picture of 8 x 6 pixels: {DIR}ANIM\\ALT.FLI",
          "10: Animation4: not an FLC or FLI file: {DIR}ANIM\\TEXT.FLC",
          "11: Animation5: picture too large: 2048 x 2049 pixels, KORVAL shows at most 4194304: {DIR}ANIM\\GROSS.FLC",
          "12: Animation6: not checked: no memory for its picture of 8 x 6 pixels: {DIR}ANIM\\KAPUTT.FLC",
          "13: Animation7: damaged at frame 1: {DIR}ANIM\\LEER.FLC",
          "14: Animation8: file missing: {DIR}ANIM\\FEHLT.FLC",
          "16: BasePath: {DIR}ANIM\\",
          " ProgramPath: not set: the catalogue's folder {DIR}"}},
        // A picture of 48 bytes, but no frame, which holds a palette.
        {"no frame", 100,
         {"7: Animation1: not checked from frame 1 on: no memory to read it: {DIR}ANIM\\GUT.FLC",
          "8: Animation2: not checked from frame 1 on: no memory to read it: {DIR}ANIM\\EIN.FLC",
          "9: Animation3: not checked from frame 1 on: no memory to read it: {DIR}ANIM\\ALT.FLI",
          "10: Animation4: not an FLC or FLI file: {DIR}ANIM\\TEXT.FLC",
          "11: Animation5: picture too large: 2048 x 2049 pixels, KORVAL shows at most 4194304: {DIR}ANIM\\GROSS.FLC",
          "12: Animation6: not checked from frame 1 on: no memory to read it: {DIR}ANIM\\KAPUTT.FLC",
          "13: Animation7: damaged at frame 1: {DIR}ANIM\\LEER.FLC",
          "14: Animation8: file missing: {DIR}ANIM\\FEHLT.FLC",
          "16: BasePath: {DIR}ANIM\\",
          " ProgramPath: not set: the catalogue's folder {DIR}"}},
    };
    for (const Case& c : cases) {
        FailNothrowArraysFrom(c.failFrom);
        CheckReport report = CheckCatalogue(folder);
        ServeEveryArray();
        EXPECT_EQ(report.exitCode, 1) << c.name;
        EXPECT_EQ(Lines(report, folder), c.lines) << c.name;
    }
}

TEST(KorvalCheck, NamesATotalSizeSmallerThanTheAnimationFileAlone)
{
    // 91,937 bytes: 89.8 KB, so 89 (rounded down) and 90 are totals it can
    // have, 88 and a text that reads as 0 are not.
    const std::string mill = FileBytes(JoinPath(JoinPath(CHECK_EXAMPLE, "ANIM"), JoinPath("NATUR", "MUEHLE.FLC")));
    ASSERT_EQ(mill.size(), 91937u);
    ScratchCatalogue scratch;
    scratch.Write(scratch.Animation("MUEHLE.FLC"), mill);
    std::string text = "[Authors]\r\nAuthor1=Anna Adler\r\n[Animations]\r\n";
    const char* sizes[] = {"90", "89", "88", "viel", "-1"};
    for (std::size_t i = 0; i < 5; ++i)
        text += "Animation" + std::to_string(i + 1) + "=0;1;M;MUEHLE.FLC;1.1.1999;" + sizes[i] + "\r\n";
    scratch.Write(JoinPath(scratch.Folder(), "KORVAL.INI"), text + "[Settings]\r\nBasePath=ANIM\r\n");

    CheckReport report = CheckCatalogue(scratch.Folder());
    EXPECT_EQ(report.exitCode, 1);
    EXPECT_EQ(Lines(report, scratch.Folder()),
              (std::vector<std::string>{
                  "6: Animation3: total size 88 KB is smaller than its animation file alone (91937 bytes)",
                  "7: Animation4: total size 0 KB is smaller than its animation file alone (91937 bytes)",
                  "8: Animation5: total size -1 KB is smaller than its animation file alone (91937 bytes)",
                  "10: BasePath: {DIR}ANIM\\",
                  " ProgramPath: not set: the catalogue's folder {DIR}"}));
}

TEST(KorvalCheck, FindsTheOneRejectedEntryAndTheUnknownAuthorOnTheDemoMedium)
{
    CheckReport report = CheckCatalogue(CHECK_EXAMPLE);
    EXPECT_EQ(report.exitCode, 1);
    EXPECT_EQ(Lines(report, CHECK_EXAMPLE),
              (std::vector<std::string>{"36: Animation11: author 9 does not exist: shown as \"Unbekannt\"",
                                        "38: Animation12: rejected: only 5 fields",
                                        "44: BasePath: {DIR}ANIM\\",
                                        "45: ProgramPath: {DIR}PROGRAMM\\"}));
}

} // namespace
