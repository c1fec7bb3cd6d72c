// The real KORVAL.EXE as a process, driven from outside by korval-probe with
// window messages only.
#include "harness.h"

#include "app/layout.h"
#include "base/display_dpi.h"
#include "res/resource.h"
#include "view/row_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Runs korval-probe with `steps`; its exit code, and its report in `output`.
long Probe(const std::string& steps, std::string& output)
{
    return RunProbe(steps, "T:\\e2e\\probe.txt", output);
}

TEST(EndToEnd, StartSortLaunchSecondStartAndClose)
{
    std::string folder = ScratchFolder("e2e");
    WriteFileBytes(folder + "KORVAL.INI", ReadFileBytes("K:\\window\\KORVAL.INI"));
    CreateDirectoryA((folder + "PROG").c_str(), nullptr);
    for (const char* program : {"VANSHOW.EXE", "VANEDIT.EXE", "VANCOPY.EXE"})
        ASSERT_TRUE(CopyFileA((std::string(KORVAL_BUILD_DIR) + "tools\\" + program).c_str(),
                              (folder + "PROG\\" + program).c_str(), FALSE));
    std::string log = folder + "log.txt";
    SetEnvironmentVariableA("VANTRY_STANDIN_LOG", log.c_str());

    std::string korval = "\"" + KorvalExePath() + "\" " + folder;
    RunningProgram korvalProcess(korval);
    HANDLE first = korvalProcess.Handle();
    ASSERT_NE(first, nullptr);
    std::string output;
    EXPECT_EQ(Probe("wait rows 4 row 0 Alpha selected 0", output), 0) << output;

    // A screen reader in another process: the status bar's line, then a row's
    // name, which loads the accessibility library only when first asked for.
    EXPECT_EQ(Probe("status \"Animation: 1 von 4 T:\\E2E\\ANIM\\ZZZ.FLC\" module oleacc.dll no "
                    "name 0 \"Alpha, Autor: Anton Amsel, Datei: ZZZ.FLC, Datum: 24.12.1999, Gesamtgr\xF6\xDF" "e: 200 KB, "
                    "Stichw\xF6rter: Sport, Natur\" module oleacc.dll yes",
                    output),
              0)
        << output;

    RunningProgram second(korval);
    ASSERT_NE(second.Handle(), nullptr);
    EXPECT_EQ(WaitExitCode(second.Handle(), kPatience), 0);
    EXPECT_EQ(WaitForSingleObject(first, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    // Date order puts Bravo (5.3.99, key 000305) first; Play starts the player on it.
    EXPECT_EQ(Probe("command 1103 row 0 000305 selected 0 command 502", output), 0) << output;
    EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(log).find("VANSHOW.EXE") != std::string::npos; }, kPatience));
    EXPECT_NE(ReadFileBytes(log).find("T:\\E2E\\PROG\\VANSHOW.EXE T:\\E2E\\ANIM\\BBB.FLC"), std::string::npos)
        << ReadFileBytes(log);

    EXPECT_EQ(Probe("close", output), 0) << output;
    EXPECT_EQ(WaitExitCode(first, kPatience), 0);
    SetEnvironmentVariableA("VANTRY_STANDIN_LOG", nullptr);
}

TEST(EndToEnd, FindsTheCatalogueInAFolderOf200Characters)
{
    // Well beyond the 127 characters an older existence test held; a catalogue
    // not found would show the medium prompt, and the window would never come.
    std::string folder = ScratchFolder("e2e") + std::string(99, 'D') + "\\";
    folder += std::string(200 - folder.size(), 'E');
    ASSERT_EQ(folder.size(), 200u);
    WriteFileBytes(folder + "\\KORVAL.INI", ReadFileBytes("K:\\minimal\\KORVAL.INI"));

    RunningProgram korval("\"" + KorvalExePath() + "\" " + folder);
    ASSERT_NE(korval.Handle(), nullptr);
    std::string output;
    EXPECT_EQ(Probe("wait rows 1 row 0 Ball selected 0 close", output), 0) << output;
    EXPECT_EQ(WaitExitCode(korval.Handle(), kPatience), 0);
}

TEST(EndToEnd, PlaysAndEditsFromACatalogueInAFolderOf200Characters)
{
    // BasePath and ProgramPath relative to a catalogue 200 characters deep:
    // the animation's path has 214 characters and the player's command line
    // 343, and both reach the programs whole.
    std::string scratch = ScratchFolder("e2e_deep");
    std::string parent = scratch + std::string(99, 'D');
    std::string folder = parent + "\\" + std::string(199 - parent.size(), 'E');
    ASSERT_EQ(folder.size(), 200u);
    WriteFileBytes(folder + "\\KORVAL.INI", "[Authors]\r\nAuthor1=Anna Adler\r\n[Animations]\r\n"
                                           "Animation1=0;1;Ball;BALL.FLC;1.1.1999;10\r\n"
                                           "[Settings]\r\nBasePath=anim\r\nProgramPath=..\\prog\r\n");
    WriteFileBytes(folder + "\\ANIM\\BALL.FLC", "x");
    CreateDirectoryA((parent + "\\PROG").c_str(), nullptr);
    for (const char* program : {"VANSHOW.EXE", "VANEDIT.EXE"})
        ASSERT_TRUE(CopyFileA((std::string(KORVAL_BUILD_DIR) + "tools\\" + program).c_str(),
                              (parent + "\\PROG\\" + program).c_str(), FALSE));
    std::string log = scratch + "log.txt";
    SetEnvironmentVariableA("VANTRY_STANDIN_LOG", log.c_str());

    // As KORVAL names them: the folders in capitals, the file as the catalogue writes it.
    std::string upper = folder;
    for (char& c : upper)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    const std::string animation = upper + "\\ANIM\\BALL.FLC";
    const std::string programs = upper.substr(0, parent.size()) + "\\PROG\\";
    ASSERT_EQ(animation.size(), 214u);

    RunningProgram korval("\"" + KorvalExePath() + "\" " + folder);
    ASSERT_NE(korval.Handle(), nullptr);
    std::string output;
    EXPECT_EQ(Probe("wait rows 1 row 0 Ball selected 0 status \"Animation: 1 von 1 " + animation + "\" command 502",
                    output),
              0)
        << output;
    EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(log).find("VANSHOW.EXE") != std::string::npos; }, kPatience));
    EXPECT_EQ(Probe("command 503", output), 0) << output;
    EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(log).find("VANEDIT.EXE") != std::string::npos; }, kPatience));

    // One line per start: the command line, a tab and the program's current
    // folder (the editor's is the animation's).
    std::string started = ReadFileBytes(log);
    std::string play = programs + "VANSHOW.EXE " + animation + "\t";
    ASSERT_EQ(play.size(), 343u + 1);
    std::string edit = programs + "VANEDIT.EXE " + animation + "\t" + upper + "\\ANIM\r\n";
    EXPECT_EQ(started.compare(0, play.size(), play), 0) << started;
    EXPECT_GE(started.size(), edit.size());
    EXPECT_EQ(started.substr(started.size() - std::min(started.size(), edit.size())), edit) << started;

    EXPECT_EQ(Probe("close", output), 0) << output;
    EXPECT_EQ(WaitExitCode(korval.Handle(), kPatience), 0);
    SetEnvironmentVariableA("VANTRY_STANDIN_LOG", nullptr);
}

// The numbers after "step: " in the probe's report.
std::vector<long> Reported(const std::string& output, const std::string& step)
{
    std::vector<long> numbers;
    std::string::size_type at = output.find(step + ": ");
    if (at == std::string::npos)
        return numbers;
    std::istringstream line(output.substr(at + step.size() + 2, output.find('\n', at) - at));
    long n;
    while (line >> n)
        numbers.push_back(n);
    return numbers;
}

std::string Place(int id, const Placement& p)
{
    return "place " + std::to_string(id) + " " + std::to_string(p.x) + " " + std::to_string(p.y) + " "
           + std::to_string(p.width) + " " + std::to_string(p.height) + " ";
}

TEST(EndToEnd, OpensLaidOutForA144DpiDisplay)
{
    const int dpi = 144;
    std::string folder = ScratchFolder("e2e_dpi");
    WriteFileBytes(folder + "KORVAL.INI", ReadFileBytes("K:\\window\\KORVAL.INI"));
    DisplayDpi display(dpi);
    RunningProgram korval("\"" + KorvalExePath() + "\" " + folder);
    ASSERT_NE(korval.Handle(), nullptr);

    std::string output;
    ASSERT_EQ(Probe("wait window", output), 0) << output;
    std::vector<long> window = Reported(output, "window");   // client, outer, largest
    ASSERT_EQ(window.size(), 6u) << output;
    const Placement wanted = InitialClientArea(dpi, SystemMetricForDpi(SM_CYVSCROLL, dpi));
    EXPECT_EQ(window[0], wanted.width) << output;
    // A display too low for the whole window (the test display is 768 pixels)
    // caps it at the largest height the platform allows.
    if (window[3] < window[5]) {
        EXPECT_EQ(window[1], wanted.height) << output;
    } else {
        EXPECT_LT(window[1], wanted.height) << output;
    }

    const int clientWidth = static_cast<int>(window[0]);
    const int clientHeight = static_cast<int>(window[1]);
    const MainLayout layout = ComputeMainLayout(clientWidth, clientHeight, dpi);
    const ToolbarGeometry toolbar = ToolbarGeometryAt(dpi);
    std::string steps = "rows 4 itemheight " + std::to_string(RowGeometryAt(dpi).height) + " ";
    steps += Place(ID_LIST, layout.list) + Place(ID_STATUSBAR, layout.statusBar);
    for (int n = 0; n < 3; ++n)
        steps += Place(ID_PLAY + n, Placement{n * toolbar.buttonStep, toolbar.buttonTop, toolbar.buttonSize,
                                              toolbar.buttonSize});
    EXPECT_EQ(Probe(steps + "close", output), 0) << output;
    EXPECT_EQ(WaitExitCode(korval.Handle(), kPatience), 0);
}

} // namespace
