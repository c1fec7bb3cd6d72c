// The real main window, in the test's own process, on the fixture catalogue
// K:\window\KORVAL.INI: created, shown and painted before each test.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

// Dispatches every message waiting for this thread.
void Pump();

class MainWindowFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    void Command(int id) { SendMessageA(window_, WM_COMMAND, id, 0); }

    HWND window_ = nullptr;
};
