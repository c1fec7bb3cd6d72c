// The real KORVAL.EXE as a process: one instance only, exit code 0.
#include "harness.h"

#include <gtest/gtest.h>

namespace {

TEST(SingleInstance, SecondStartEndsAndTheFirstKeepsRunning)
{
    std::string command = "\"" + KorvalExePath() + "\" K:\\minimal\\";
    RunningProgram korval(command);
    HANDLE first = korval.Handle();
    ASSERT_NE(first, nullptr);
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (window = FindWindowA("VRKORVAL", nullptr)) != nullptr; }, kPatience));
    char title[64] = "";
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Vantry Demo Datenbank");

    RunningProgram secondStart(command);
    HANDLE second = secondStart.Handle();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(WaitExitCode(second, kPatience), 0);
    EXPECT_EQ(WaitForSingleObject(first, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(IsWindow(window));

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitExitCode(first, kPatience), 0);
}

} // namespace
