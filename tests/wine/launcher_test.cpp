// Play, Edit and Copy under Wine: the stand-in programs note the command line
// they were started with and their current folder in a log file.
#include "base/file_exists.h"
#include "base/instance.h"
#include "base/text.h"
#include "catalogue/catalogue_file.h"
#include "catalogue/settings.h"
#include "catalogue/store.h"
#include "harness.h"
#include "launch/launcher.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

const char* const kAnimationKey = "vAnimation\\shell\\open\\command";
const char* const kSequenceKey = "vBildsequenz\\shell\\open\\command";
const char* const kBall = "D:\\ANIM\\BALL.FLC";
const char* const kProgramMissing =
    "Die Programmdatei wurde nicht gefunden! Bitte installieren Sie Vantry erneut!";

struct Started {
    std::string commandLine;
    std::string folder;
};

// The file-type keys live in this test's private prefix only, and only while
// a test needs them.
void Register(const char* key, const std::string& command)
{
    RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, command.c_str(), static_cast<DWORD>(command.size()));
}

void Unregister()
{
    for (const char* type : {"vAnimation", "vBildsequenz"})
        for (const char* sub : {"\\shell\\open\\command", "\\shell\\open", "\\shell", ""})
            RegDeleteKeyA(HKEY_CLASSES_ROOT, (std::string(type) + sub).c_str());
}

void CopyStandIns(const std::string& folder, std::initializer_list<const char*> programs)
{
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* program : programs)
        ASSERT_TRUE(CopyFileA((std::string(KORVAL_BUILD_DIR "tools\\") + program).c_str(),
                              (folder + program).c_str(), FALSE))
            << "stand-in " << program << " not built";
}

std::string CurrentFolder()
{
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    return folder;
}

class Launcher : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetModuleInstance(GetModuleHandleA(nullptr));
        savedFolder_ = CurrentFolder();
        Unregister();
        root_ = ScratchFolder("launch");
        log_ = root_ + "started.log";
        SetEnvironmentVariableA("VANTRY_STANDIN_LOG", log_.c_str());
        prog_ = root_ + "PROG\\";
        CopyStandIns(prog_, {"VANSHOW.EXE", "VANEDIT.EXE", "VANCOPY.EXE"});
        CopyStandIns(root_ + "PROGRAMM\\", {"VANSHOW.EXE", "VANEDIT.EXE", "VANCOPY.EXE"});
        CopyStandIns(root_ + "EDITOR\\", {"VANEDIT.EXE"});
        CopyStandIns(root_ + "HERE\\", {"VANSHOW.EXE", "VANCOPY.EXE"});
        CreateDirectoryA((root_ + "EMPTY").c_str(), nullptr);
        SetProgramPath("PROGRAMM");

        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = ModuleInstance;
        windowClass.lpszClassName = "LauncherTestParent";
        RegisterClassA(&windowClass);
        window_ = CreateWindowA("LauncherTestParent", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                ModuleInstance, nullptr);
    }

    void TearDown() override
    {
        DestroyWindow(window_);
        Unregister();
        SetEnvironmentVariableA("VANTRY_STANDIN_LOG", nullptr);
        SetCurrentDirectoryA(savedFolder_.c_str());
    }

    void SetProgramPath(const std::string& value)
    {
        WriteFileBytes(root_ + "KORVAL.INI", "[Settings]\r\nBasePath=ANIM\r\nProgramPath=" + value + "\r\n");
        CopyText(CataloguePath, (root_ + "KORVAL.INI").c_str());
    }

    // What the stand-ins noted, after waiting for `count` lines.
    std::vector<Started> Log(std::size_t count = 1)
    {
        std::vector<Started> lines;
        WaitFor([&] { lines = ReadLog(); return lines.size() >= count; }, kPatience);
        return lines;
    }

    std::vector<Started> ReadLog()
    {
        std::vector<Started> lines;
        std::ifstream file(log_, std::ios::binary);
        std::string line;
        while (std::getline(file, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            std::size_t tab = line.find('\t');
            lines.push_back({line.substr(0, tab), tab == std::string::npos ? "" : line.substr(tab + 1)});
        }
        return lines;
    }

    void ClearLog() { RemoveFile(log_); }

    // What the main window hands over: the selected row's path, or no row.
    int Launch(int command) { return LaunchCompanion(window_, command, path_.c_str(), rowSelected_); }

    // The command line of the one program a command started, with no message shown.
    std::string LaunchOne(int command)
    {
        ClearLog();
        BoxWatcher watcher([](const SeenBox&, int) { return IDOK; });
        EXPECT_EQ(Launch(command), 1);
        std::vector<Started> lines = Log();
        EXPECT_EQ(lines.size(), 1u);
        EXPECT_TRUE(watcher.Boxes().empty());
        return lines.empty() ? "(nothing started)" : lines[0].commandLine;
    }

    // A command that starts nothing shows message 208 and returns 0.
    void ExpectNothingStarted(int command)
    {
        ClearLog();
        BoxWatcher watcher([](const SeenBox&, int) { return IDOK; });
        EXPECT_EQ(Launch(command), 0);
        std::vector<SeenBox> boxes = watcher.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, kProgramMissing);
        EXPECT_EQ(boxes[0].caption, "Fehler");
        EXPECT_TRUE(boxes[0].hasOk);
        EXPECT_FALSE(boxes[0].hasCancel);
        Sleep(200);
        EXPECT_TRUE(ReadLog().empty());
    }

    std::string savedFolder_;
    std::string root_;
    std::string log_;
    std::string prog_;
    HWND window_ = nullptr;
    std::string path_ = kBall;
    bool rowSelected_ = true;
};

TEST_F(Launcher, StartsTheRegisteredProgramOrTheOneInTheProgramFolder)
{
    struct Case {
        const char* name;
        int command;
        std::string animationCommand;   // "-": no key
        std::string sequenceCommand;
        bool inHere;                    // the current folder holds VANSHOW.EXE and VANCOPY.EXE
        std::string expected;
    };
    const std::string fallback = "T:\\LAUNCH\\PROGRAMM\\";
    const std::string ball = kBall;
    const Case cases[] = {
        {"registered player", ID_PLAY, prog_ + "VANSHOW.EXE %1", "-", false, prog_ + "VANSHOW.EXE " + ball},
        {"quoted program name", ID_PLAY, "\"" + prog_ + "VANSHOW.EXE\" \"%1\"", "-", false,
         fallback + "VANSHOW.EXE " + ball},
        {"command without a blank", ID_PLAY, prog_ + "VANSHOW.EXE", "-", false, prog_ + "VANSHOW.EXE " + ball},
        {"registered program missing", ID_PLAY, root_ + "EMPTY\\VANSHOW.EXE %1", "-", false,
         fallback + "VANSHOW.EXE " + ball},
        {"missing key", ID_PLAY, "-", prog_ + "VANEDIT.EXE %1", false, fallback + "VANSHOW.EXE " + ball},
        {"empty command, play", ID_PLAY, "", "", true, fallback + "VANSHOW.EXE " + ball},
        {"registered editor", ID_EDIT, "-", prog_ + "VANEDIT.EXE %1", false, prog_ + "VANEDIT.EXE " + ball},
        {"empty command, edit", ID_EDIT, "-", "", false, fallback + "VANEDIT.EXE " + ball},
        {"copy tool beside the editor", ID_COPY, prog_ + "VANSHOW.EXE %1", prog_ + "VANEDIT.EXE %1", false,
         prog_ + "VANCOPY.EXE " + ball},
        {"no copy tool beside the editor", ID_COPY, "-", root_ + "EDITOR\\VANEDIT.EXE %1", false,
         fallback + "VANCOPY.EXE " + ball},
        {"empty command, copy tool in the current folder", ID_COPY, "-", "", true, "VANCOPY.EXE " + ball},
        {"empty command, no copy tool in the current folder", ID_COPY, "-", "", false,
         fallback + "VANCOPY.EXE " + ball},
    };
    CreateDirectoryA("D:\\ANIM", nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Unregister();
        if (c.animationCommand != "-")
            Register(kAnimationKey, c.animationCommand);
        if (c.sequenceCommand != "-")
            Register(kSequenceKey, c.sequenceCommand);
        SetCurrentDirectoryA((root_ + (c.inHere ? "HERE" : "EMPTY")).c_str());
        EXPECT_EQ(LaunchOne(c.command), c.expected);
    }
}

TEST_F(Launcher, SecondStartFindsTheProgramThroughTheProgramSearch)
{
    // The program folder does not hold the player; the current folder does.
    SetProgramPath("EMPTY");
    SetCurrentDirectoryA((root_ + "HERE").c_str());
    EXPECT_EQ(LaunchOne(ID_PLAY), std::string("VANSHOW.EXE ") + kBall);
}

TEST_F(Launcher, NothingToStartShowsTheMessage)
{
    SetProgramPath("EMPTY");
    SetCurrentDirectoryA((root_ + "EMPTY").c_str());
    ExpectNothingStarted(ID_PLAY);

    // A selected row whose path could not be formed: no player on no file.
    SetProgramPath("PROGRAMM");
    path_ = "";
    ExpectNothingStarted(ID_PLAY);
}

TEST_F(Launcher, ACommandLineTooLongIsNeverStartedCut)
{
    // The longest command line the platform starts has 32 766 characters: it
    // is started whole, and one character more would cut the path.
    std::string program = prog_ + "VANSHOW.EXE";
    Register(kAnimationKey, program + " %1");
    path_ = "D:\\" + std::string(32766 - program.size() - 1 - 3, 'L');
    std::string started = LaunchOne(ID_PLAY);
    EXPECT_EQ(started.size(), 32766u);
    EXPECT_TRUE(started == program + " " + path_);
    path_ += "L";
    ExpectNothingStarted(ID_PLAY);

    // A shorter path fits beside the same program.
    path_ = kBall;
    EXPECT_EQ(LaunchOne(ID_PLAY), program + " " + kBall);
}

TEST_F(Launcher, FindsARegisteredProgramInADeepFolder)
{
    // A program of 180 characters, beyond the 127 an older existence test
    // held, and one of 259, the most Windows allows, whose command (262
    // characters) is read whole: the registered player is found, not the
    // program folder's, and started on a path of 259 characters.
    const std::string path259 = "D:\\" + std::string(240, 'A') + "\\" + std::string(11, 'B') + ".FLC";
    ASSERT_EQ(path259.size(), 259u);
    for (std::size_t length : {180u, 259u}) {
        SCOPED_TRACE(length);
        std::string deep = root_ + std::string(length - root_.size() - 12, 'P') + "\\";
        ASSERT_EQ((deep + "VANSHOW.EXE").size(), length);
        CopyStandIns(deep, {"VANSHOW.EXE"});
        Register(kAnimationKey, deep + "VANSHOW.EXE %1");
        for (const std::string& path : {std::string(kBall), path259}) {
            path_ = path;
            EXPECT_EQ(LaunchOne(ID_PLAY), deep + "VANSHOW.EXE " + path);
        }
    }
}

TEST_F(Launcher, ARegisteredCommandIsReadUpToTheLongestCommandLine)
{
    // What follows the program's blank goes; a command of 32 766 characters
    // is read whole, one longer is not read and the program folder's player
    // is started.
    std::string program = prog_ + "VANSHOW.EXE";
    std::string command = program + " " + std::string(32766 - program.size() - 1, 'X');
    Register(kAnimationKey, command);
    EXPECT_EQ(LaunchOne(ID_PLAY), program + " " + kBall);
    Register(kAnimationKey, command + "X");
    EXPECT_EQ(LaunchOne(ID_PLAY), std::string("T:\\LAUNCH\\PROGRAMM\\VANSHOW.EXE ") + kBall);
}

TEST_F(Launcher, EditEntersTheAnimationsDriveAndFolder)
{
    struct Case {
        const char* basePath;
        const char* folder;             // the editor's and KORVAL's current folder afterwards
    };
    // D:\BALL.FLC gives "D:", drive D's current folder: its root while the
    // test has not been there yet, so this row comes first.
    const Case cases[] = {
        {"D:\\", "D:\\"},
        {"D:\\ANIM\\", "D:\\ANIM"},
        {"D:\\MY ANIM\\", "D:\\MY ANIM"},
        {"d:\\anim\\natur\\", "D:\\ANIM\\NATUR"},
        // A folder name with an umlaut (Windows-1252): reached as it is named.
        {"D:\\TIER\xC4RZTE\\", "D:\\TIER\xC4RZTE"},
        // A medium on a network share: no drive, only the folder changes.
        {"\\\\KORVALSRV\\ANIM\\", "\\\\KORVALSRV\\ANIM"},
    };
    ScratchFolder("d-drive");
    ScratchFolder("share");
    CreateDirectoryA("D:\\ANIM", nullptr);
    CreateDirectoryA("D:\\ANIM\\NATUR", nullptr);
    CreateDirectoryA("D:\\TIER\xC4RZTE", nullptr);
    CreateDirectoryA("D:\\MY ANIM", nullptr);
    Register(kSequenceKey, prog_ + "VANEDIT.EXE %1");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.basePath);
        SetCurrentDirectoryA(savedFolder_.c_str());
        path_ = std::string(c.basePath) + "BALL.FLC";
        ClearLog();
        EXPECT_EQ(Launch(ID_EDIT), 1);
        std::vector<Started> lines = Log();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].commandLine, prog_ + "VANEDIT.EXE " + c.basePath + "BALL.FLC");
        EXPECT_EQ(lines[0].folder, c.folder);
        EXPECT_EQ(CurrentFolder(), c.folder);       // the change stays
    }
}

TEST_F(Launcher, WithoutASelectedRowNothingChangesFolderAndNoPathIsPassed)
{
    Register(kSequenceKey, prog_ + "VANEDIT.EXE %1");
    path_ = "";
    rowSelected_ = false;
    std::string before = CurrentFolder();
    ClearLog();
    EXPECT_EQ(Launch(ID_EDIT), 1);
    std::vector<Started> lines = Log();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].commandLine, prog_ + "VANEDIT.EXE ");
    EXPECT_EQ(lines[0].folder, before);
    EXPECT_EQ(CurrentFolder(), before);
}

TEST_F(Launcher, EnterFileFolderTakesFoldersUpTo259Characters)
{
    // Folders up to the 259 characters that Windows allows are entered, with
    // their drive; a longer one is never entered, although it exists here.
    std::string folder80 = "D:\\" + std::string(77, 'G');
    std::string folder259 = "D:\\" + std::string(120, 'A') + "\\" + std::string(135, 'B');
    std::string folder260 = folder259 + "C";
    ScratchFolder("d-drive");
    for (const std::string& folder : {folder80, folder259, folder260})
        WriteFileBytes(folder + "\\BALL.FLC", "x");
    ASSERT_EQ(folder259.size(), 259u);
    ASSERT_NE(GetFileAttributesA(folder260.c_str()), INVALID_FILE_ATTRIBUTES);

    for (const std::string& folder : {folder80, folder259}) {
        SetCurrentDirectoryA(savedFolder_.c_str());
        EXPECT_EQ(EnterFileFolder((folder + "\\BALL.FLC").c_str()), 0) << folder.size();
        EXPECT_EQ(CurrentFolder(), folder);
    }
    SetCurrentDirectoryA(savedFolder_.c_str());
    EXPECT_EQ(EnterFileFolder((folder260 + "\\BALL.FLC").c_str()), -1);
    EXPECT_EQ(EnterFileFolder(""), -1);
    EXPECT_EQ(CurrentFolder(), savedFolder_);
    EXPECT_EQ(EnterFileFolder("D:\\GIBTS\\NICHT\\BALL.FLC"), -1);

    // A network folder: the folder changes, in lower case too; no drive does.
    ScratchFolder("share");
    CreateDirectoryA("\\\\KORVALSRV\\ANIM\\NATUR", nullptr);
    EXPECT_EQ(EnterFileFolder("\\\\korvalsrv\\anim\\natur\\fisch.flc"), 0);
    EXPECT_EQ(CurrentFolder(), "\\\\KORVALSRV\\ANIM\\NATUR");
}

// The source tree as Wine sees it: drive Z: is the Linux root.
std::string SourceFolder()
{
    std::string file = "Z:" + std::string(__FILE__);
    for (char& c : file)
        if (c == '/')
            c = '\\';
    return file.substr(0, file.rfind("\\tests\\wine\\") + 1);
}

void CopyTree(const std::string& from, const std::string& to)
{
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA entry;
    HANDLE each = FindFirstFileA((from + "*").c_str(), &entry);
    ASSERT_NE(each, INVALID_HANDLE_VALUE) << from;
    do {
        std::string name = entry.cFileName;
        if (name == "." || name == "..")
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(from + name + "\\", to + name + "\\");
        else
            CopyFileA((from + name).c_str(), (to + name).c_str(), FALSE);
    } while (FindNextFileA(each, &entry));
    FindClose(each);
}

TEST_F(Launcher, PlaysFromTheDemoMediumsProgramFolder)
{
    std::string medium = ScratchFolder("medium");
    CopyTree(SourceFolder() + "examples\\medium\\", medium);
    CopyStandIns(medium + "PROGRAMM\\", {"VANSHOW.EXE"});
    CopyText(CataloguePath, (medium + "KORVAL.INI").c_str());
    ASSERT_NE(LoadCatalogue(), 0);
    ASSERT_EQ(ResolveBasePath(), 1);
    path_ = std::string(BasePath) + "JONGLEUR.FLC";

    EXPECT_EQ(LaunchOne(ID_PLAY), "T:\\MEDIUM\\PROGRAMM\\VANSHOW.EXE T:\\MEDIUM\\ANIM\\JONGLEUR.FLC");
    EXPECT_EQ(FileExists("T:\\MEDIUM\\ANIM\\JONGLEUR.FLC"), 1);
}

} // namespace
