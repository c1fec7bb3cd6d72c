// The real KORVAL.EXE as a process, driven from outside by korval-probe with
// window messages only.
#include "harness.h"

#include <gtest/gtest.h>

namespace {

// Runs korval-probe with `steps`; its exit code, and its report in `output`.
long Probe(const std::string& steps, std::string& output)
{
    std::string report = "T:\\e2e\\probe.txt";
    RemoveFile(report);
    std::string command = "cmd /c \"\"" + std::string(KORVAL_BUILD_DIR) + "tools\\korval-probe.exe\" " + steps
                          + " > " + report + "\"";
    HANDLE probe = StartProgram(command);
    long code = probe != nullptr ? WaitExitCode(probe, 60000) : -2;
    if (probe != nullptr)
        CloseHandle(probe);
    output = ReadFileBytes(report);
    return code;
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
    EXPECT_EQ(WaitExitCode(second.Handle(), 30000), 0);
    EXPECT_EQ(WaitForSingleObject(first, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    // Date order puts Bravo (5.3.99, key 000305) first; Play starts the player on it.
    EXPECT_EQ(Probe("command 1103 row 0 000305 selected 0 command 502", output), 0) << output;
    EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(log).find("VANSHOW.EXE") != std::string::npos; }, 30000));
    EXPECT_NE(ReadFileBytes(log).find("T:\\E2E\\PROG\\VANSHOW.EXE T:\\E2E\\ANIM\\BBB.FLC"), std::string::npos)
        << ReadFileBytes(log);

    EXPECT_EQ(Probe("close", output), 0) << output;
    EXPECT_EQ(WaitExitCode(first, 30000), 0);
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
    EXPECT_EQ(WaitExitCode(korval.Handle(), 30000), 0);
}

} // namespace
