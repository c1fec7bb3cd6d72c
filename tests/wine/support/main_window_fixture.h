// The real main window, in the test's own process, on the fixture catalogue
// K:\window\KORVAL.INI: created, shown and painted before each test.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "harness.h"

// Destroys `window` (when it still exists), dispatches what that sends, and
// takes away the quit message the main window posts as it ends.
void EndMainWindow(HWND window);

class MainWindowFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    void Command(int id) { SendMessageA(window_, WM_COMMAND, id, 0); }
    // The catalogue the window opens.
    virtual std::string Catalogue() const { return "K:\\window\\KORVAL.INI"; }

    HWND window_ = nullptr;
};
