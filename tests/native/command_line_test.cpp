#include "base/text.h"
#include "launch/command_line.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// The system as a table: which names exist and where the program folder is.
class FakeEnvironment final : public LaunchEnvironment {
public:
    FakeEnvironment(const std::vector<std::string>& existing, const char* programFolder)
        : existing_(existing), programFolder_(programFolder) {}

    int Exists(const char* programPart) override
    {
        std::string name = programPart;
        while (!name.empty() && name.back() == ' ')
            name.pop_back();
        for (const std::string& each : existing_)
            if (each == name)
                return 1;
        return 0;
    }

    bool ProgramFolder(char (&folder)[kFolderSize]) override
    {
        if (programFolder_ == nullptr)
            return false;
        return CopyText(folder, programFolder_);
    }

private:
    std::vector<std::string> existing_;
    const char* programFolder_;
};

constexpr long kMissingKey = 2;
constexpr long kWholeText = -1;     // the registry's size for the text and its terminator
const char* const kFolder = "F:\\MEDIUM\\PROGRAMM\\";

struct Case {
    const char* name;
    int command;
    long result;
    std::string registered;
    long size;
    std::vector<std::string> existing;
    std::string path;
    std::string commandLine;        // empty: refused, nothing may start
    std::string secondStart;        // empty: no second start
    const char* programFolder = kFolder;
    bool rowSelected = true;
};

TEST(ComposeCompanionStart, Cases)
{
    const std::vector<std::string> prog = {"E:\\PROG\\VANSHOW.EXE", "E:\\PROG\\VANEDIT.EXE", "E:\\PROG\\VANCOPY.EXE"};
    const std::vector<std::string> none;
    const std::string ball = "D:\\ANIM\\BALL.FLC";
    const std::string fallback = "F:\\MEDIUM\\PROGRAMM\\";
    const std::string folder259 = "F:\\" + std::string(255, 'F') + "\\";

    // The longest names Windows allows: a program of 259 characters and an
    // animation path of 259, and the line they make with the blank between.
    const std::string program259 = "E:\\" + std::string(244, 'P') + "\\VANSHOW.EXE";
    const std::string path259 = "D:\\" + std::string(240, 'A') + "\\" + std::string(11, 'B') + ".FLC";
    // The longest line the platform starts holds 32 766 characters: a program
    // so long is never found on a disk, but the line must still hold whole.
    const std::string longProgram = "E:\\" + std::string(32500, 'P') + "\\VANSHOW.EXE";
    const std::string pathToTheEnd = "D:\\" + std::string(32766 - longProgram.size() - 1 - 7, 'A') + ".FLC";
    const std::string pathOneOver = "D:\\" + std::string(32767 - longProgram.size() - 1 - 7, 'A') + ".FLC";
    // An editor registered without a blank in a folder that leaves no room
    // for the copy tool's name and its blank; cut, the name would be one
    // that exists.
    const std::string editorFolder = "E:\\" + std::string(32751, 'E') + "\\";
    const std::string cutCopyTool = editorFolder + "VANCOPY.EXE";
    // A registered command of 32 766 characters, and one without room for
    // its terminator.
    const std::string value32766 = longProgram + " " + std::string(32766 - longProgram.size() - 1, 'X');
    const std::string value32767 = value32766 + "X";

    const Case cases[] = {
        {"registered player present", ID_PLAY, 0, "E:\\PROG\\VANSHOW.EXE %1", kWholeText, prog, ball,
         "E:\\PROG\\VANSHOW.EXE " + ball, "VANSHOW.EXE " + ball},
        {"registered player missing", ID_PLAY, 0, "E:\\PROG\\VANSHOW.EXE %1", kWholeText, none, ball,
         fallback + "VANSHOW.EXE " + ball, "VANSHOW.EXE " + ball},
        {"only the last blank ends the program", ID_PLAY, 0, "E:\\PROG\\VANSHOW.EXE /p %1", kWholeText, prog, ball,
         fallback + "VANSHOW.EXE " + ball, "VANSHOW.EXE " + ball},
        {"quoted program name", ID_PLAY, 0, "\"E:\\PROG\\VANSHOW.EXE\" \"%1\"", kWholeText, prog, ball,
         fallback + "VANSHOW.EXE " + ball, "VANSHOW.EXE " + ball},
        {"command without a blank gets one", ID_PLAY, 0, "E:\\PROG\\VANSHOW.EXE", kWholeText, prog, ball,
         "E:\\PROG\\VANSHOW.EXE " + ball, "VANSHOW.EXE " + ball},
        {"program without a folder", ID_PLAY, 0, "VANSHOW.EXE %1", kWholeText, {"VANSHOW.EXE"}, ball,
         "VANSHOW.EXE " + ball, ""},
        {"a folder is no program name", ID_PLAY, 0, "E:\\PROG\\ %1", kWholeText, {"E:\\PROG\\"}, ball,
         "E:\\PROG\\ " + ball, ""},
        {"missing key", ID_PLAY, kMissingKey, "", 0, prog, ball, fallback + "VANSHOW.EXE " + ball,
         "VANSHOW.EXE " + ball},
        {"read with a size of 0", ID_PLAY, 0, "E:\\PROG\\VANSHOW.EXE %1", 0, prog, ball,
         fallback + "VANSHOW.EXE " + ball, "VANSHOW.EXE " + ball},
        {"empty command, play", ID_PLAY, 0, "", kWholeText, {"VANSHOW.EXE"}, ball,
         fallback + "VANSHOW.EXE " + ball, "VANSHOW.EXE " + ball},
        {"empty command, edit", ID_EDIT, 0, "", kWholeText, {"VANEDIT.EXE"}, ball,
         fallback + "VANEDIT.EXE " + ball, "VANEDIT.EXE " + ball},
        {"empty command, copy tool in the current folder", ID_COPY, 0, "", kWholeText, {"VANCOPY.EXE"}, ball,
         "VANCOPY.EXE " + ball, ""},
        {"empty command, no copy tool", ID_COPY, 0, "", kWholeText, none, ball,
         fallback + "VANCOPY.EXE " + ball, "VANCOPY.EXE " + ball},
        {"registered editor", ID_EDIT, 0, "E:\\PROG\\VANEDIT.EXE %1", kWholeText, prog, ball,
         "E:\\PROG\\VANEDIT.EXE " + ball, "VANEDIT.EXE " + ball},
        {"copy tool beside the editor", ID_COPY, 0, "E:\\PROG\\VANEDIT.EXE %1", kWholeText, prog, ball,
         "E:\\PROG\\VANCOPY.EXE " + ball, "VANCOPY.EXE " + ball},
        {"no copy tool beside the editor", ID_COPY, 0, "E:\\PROG\\VANEDIT.EXE %1", kWholeText,
         {"E:\\PROG\\VANEDIT.EXE"}, ball, fallback + "VANCOPY.EXE " + ball, "VANCOPY.EXE " + ball},
        {"copy tool after an editor without a folder", ID_COPY, 0, "VANEDIT.EXE %1", kWholeText,
         {"VANEDIT.EXE", "VANCOPY.EXE"}, ball, fallback + "VANCOPY.EXE " + ball, "VANCOPY.EXE " + ball},
        {"no row selected", ID_EDIT, 0, "E:\\PROG\\VANEDIT.EXE %1", kWholeText, prog, "",
         "E:\\PROG\\VANEDIT.EXE ", "VANEDIT.EXE ", kFolder, false},
        // A row whose path could not be held whole: the player must not start
        // on no file at all.
        {"selected row without a path", ID_PLAY, 0, "E:\\PROG\\VANSHOW.EXE %1", kWholeText, prog, "", "", ""},
        {"path with a blank stays unquoted", ID_EDIT, 0, "E:\\PROG\\VANEDIT.EXE %1", kWholeText, prog,
         "D:\\MY ANIM\\BALL.FLC", "E:\\PROG\\VANEDIT.EXE D:\\MY ANIM\\BALL.FLC", "VANEDIT.EXE D:\\MY ANIM\\BALL.FLC"},
        {"program and path of 259 characters each", ID_PLAY, 0, program259 + " %1", kWholeText, {program259},
         path259, program259 + " " + path259, "VANSHOW.EXE " + path259},
        {"edit on a path of 259 characters", ID_EDIT, 0, "E:\\PROG\\VANEDIT.EXE %1", kWholeText, prog, path259,
         "E:\\PROG\\VANEDIT.EXE " + path259, "VANEDIT.EXE " + path259},
        {"program folder of 259 characters", ID_COPY, kMissingKey, "", 0, none, path259,
         folder259 + "VANCOPY.EXE " + path259, "VANCOPY.EXE " + path259, folder259.c_str()},
        {"command line of 32766 characters", ID_PLAY, 0, longProgram + " %1", kWholeText, {longProgram},
         pathToTheEnd, longProgram + " " + pathToTheEnd, "VANSHOW.EXE " + pathToTheEnd},
        {"command line of 32767 characters", ID_PLAY, 0, longProgram + " %1", kWholeText, {longProgram},
         pathOneOver, "", ""},
        {"value of 32766 characters", ID_PLAY, 0, value32766, kWholeText, {longProgram}, ball,
         longProgram + " " + ball, "VANSHOW.EXE " + ball},
        {"value without room for its terminator", ID_PLAY, 0, value32767, 32767, {longProgram}, ball,
         fallback + "VANSHOW.EXE " + ball, "VANSHOW.EXE " + ball},
        {"copy tool's name does not fit beside the editor", ID_COPY, 0, editorFolder + "VANEDIT.EXE", kWholeText,
         {editorFolder + "VANEDIT.EXE", cutCopyTool}, ball, fallback + "VANCOPY.EXE " + ball,
         "VANCOPY.EXE " + ball},
        {"program folder cannot be had", ID_PLAY, kMissingKey, "", 0, none, ball, "", "", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeEnvironment environment(c.existing, c.programFolder);
        long size = c.size == kWholeText ? static_cast<long>(c.registered.size() + 1) : c.size;
        CompanionStart start;
        std::memset(&start, 'x', sizeof start);
        bool composed = ComposeCompanionStart({c.result, c.registered.c_str(), size}, c.command, environment,
                                              c.path.c_str(), c.rowSelected, start);
        EXPECT_EQ(composed, !c.commandLine.empty());
        EXPECT_EQ(std::string(start.commandLine), c.commandLine);
        EXPECT_EQ(start.nameStart >= 0 ? std::string(start.commandLine + start.nameStart) : "", c.secondStart);
        // Edit enters the animation's own folder; nothing else changes folders.
        EXPECT_EQ(std::string(start.folderPath), c.command == ID_EDIT && composed ? c.path : "");
    }
}

TEST(RegisteredCommandKey, PlayReadsTheAnimationTypeEveryOtherTheImageSequenceType)
{
    EXPECT_STREQ(RegisteredCommandKey(ID_PLAY), "vAnimation\\shell\\open\\command");
    EXPECT_STREQ(RegisteredCommandKey(ID_EDIT), "vBildsequenz\\shell\\open\\command");
    EXPECT_STREQ(RegisteredCommandKey(ID_COPY), "vBildsequenz\\shell\\open\\command");
}

TEST(CutToFolder, RemovesTheLastBackslashAndWhatFollows)
{
    struct Row { const char* path; const char* folder; };
    const Row rows[] = {
        {"D:\\ANIM\\BALL.FLC", "D:\\ANIM"},
        {"D:\\BALL.FLC", "D:"},
        {"D:\\MY ANIM\\BALL.FLC", "D:\\MY ANIM"},
        {"D:\\ANIM\\NATUR\\FISCH.FLC", "D:\\ANIM\\NATUR"},
        {"BALL.FLC", "BALL.FLC"},
        {"", ""},
    };
    for (const Row& row : rows) {
        char text[kPathSize];
        CopyText(text, row.path);
        CutToFolder(text);
        EXPECT_STREQ(text, row.folder) << row.path;
    }
}

TEST(EditFolder, AnyFolderUpTo259CharactersNeverACutOne)
{
    const std::string folder259 = "D:\\" + std::string(120, 'A') + "\\" + std::string(135, 'B');
    const std::string folder260 = folder259 + "C";
    ASSERT_EQ(folder259.size(), 259u);
    struct Row { std::string path; bool entered; std::string folder; };
    const Row rows[] = {
        {"D:\\ANIM\\BALL.FLC", true, "D:\\ANIM"},
        {"D:\\BALL.FLC", true, "D:"},
        {"\\\\SERVER\\ANIM\\BALL.FLC", true, "\\\\SERVER\\ANIM"},
        {"BALL.FLC", true, "BALL.FLC"},
        {folder259 + "\\BALL.FLC", true, folder259},      // the path itself may be longer
        {folder260 + "\\BALL.FLC", false, ""},
        {folder260, true, "D:\\" + std::string(120, 'A')},
        {"\\BALL.FLC", false, ""},
        {"", false, ""},
    };
    for (const Row& row : rows) {
        char folder[kPathSize];
        std::memset(folder, 'x', sizeof folder);
        EXPECT_EQ(EditFolder(folder, row.path.c_str()), row.entered) << row.path;
        EXPECT_EQ(std::string(folder), row.folder) << row.path;
    }
}

// Edit changes the drive only for a folder that names one; the runtime's
// drive change must never see a number outside 1 to 26.
TEST(FolderDrive, OnlyADriveLetterAndAColonNameADrive)
{
    struct Row { const char* folder; int drive; };
    const Row rows[] = {
        {"A:", 1},
        {"D:\\ANIM", 4},
        {"Z:\\ANIM\\NATUR", 26},
        {"a:", 1},
        {"d:\\anim", 4},
        {"z:\\", 26},
        {"D:ANIM", 4},                  // drive D's current folder, then ANIM in it
        {"\\\\SERVER\\ANIM", 0},        // a network folder: no drive
        {"\\\\?\\D:\\ANIM", 0},
        {"\\ANIM", 0},                  // the current drive's root
        {"ANIM", 0},
        {"", 0},
        {"D", 0},
        {":\\ANIM", 0},
        {"@:\\ANIM", 0},                // the characters around the letters
        {"[:\\ANIM", 0},
        {"`:\\ANIM", 0},
        {"{:\\ANIM", 0},
        {"1:\\ANIM", 0},
        {"\xC4:\\ANIM", 0},             // a letter beyond A to Z (Windows-1252)
    };
    for (const Row& row : rows)
        EXPECT_EQ(FolderDrive(row.folder), row.drive) << row.folder;
}

} // namespace
