// Dialogs, message boxes and the tooltip keep the system's visual style: their
// controls are the themed common controls'. The main window's own controls are
// the plain ones, so that its start needs no common-controls library at all.
#include "base/messages.h"
#include "harness.h"
#include "main_window_fixture.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <string>
#include <vector>

namespace {

// The file of the library whose window class `control` is, in lower case (the
// class's procedure: the list is subclassed for screen readers).
std::string ControlLibrary(HWND control)
{
    void* procedure = reinterpret_cast<void*>(GetClassLongPtrW(control, GCLP_WNDPROC));
    HMODULE module = nullptr;
    if (procedure == nullptr
        || !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                               static_cast<const char*>(procedure), &module))
        return "(none)";
    char path[MAX_PATH] = "";
    GetModuleFileNameA(module, path, sizeof path);
    std::string library = path;
    std::transform(library.begin(), library.end(), library.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return library;
}

// The themed controls come from the side-by-side common-controls assembly
// (winsxs\...microsoft.windows.common-controls_..._6.0...\comctl32.dll).
bool IsThemed(const std::string& library)
{
    return library.find("microsoft.windows.common-controls") != std::string::npos
           && library.find("comctl32.dll") != std::string::npos;
}

class VisualStyle : public MainWindowFixture {};

TEST_F(VisualStyle, DialogsAndMessageBoxesUseTheThemedControls)
{
    struct Case {
        const char* what;
        const char* caption;
        std::function<void(HWND)> open;
        std::vector<int> controls;      // the first one closes it
    };
    const Case cases[] = {
        {"keyword dialog", "Selektieren", [](HWND w) { SendMessageA(w, WM_COMMAND, ID_SELECT, 0); },
         {IDCANCEL, IDOK, ID_ALL, ID_KEYWORD_LIST, ID_MATCH_ANY, ID_MATCH_ALL}},
        {"copyright dialog", "Copyright Information", [](HWND w) { SendMessageA(w, WM_COMMAND, ID_COPYRIGHT, 0); },
         {IDOK}},
        {"message box", "Fehler",
         [](HWND w) { ShowStringMessage(w, IDS_NO_MATCH, IDS_ERROR_CAPTION, MB_OK | MB_ICONEXCLAMATION); }, {IDOK}},
        {"message box with a path", "Fehler",
         [](HWND) {
             ShowFormattedMessage(nullptr, IDS_CATALOGUE_MISSING, "K:\\NIRGENDS\\KORVAL.INI", IDS_ERROR_CAPTION,
                                  MB_RETRYCANCEL | MB_ICONEXCLAMATION);
         },
         {IDCANCEL, IDRETRY}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> libraries;
        {
            DialogWatcher watcher(c.caption, [&](HWND dialog, int) {
                for (int id : c.controls)
                    libraries.push_back(ControlLibrary(GetDlgItem(dialog, id)));
                PostMessageA(dialog, WM_COMMAND, c.controls.front(), 0);
            });
            c.open(window_);
            ASSERT_EQ(watcher.Count(), 1) << c.what;
        }
        ASSERT_EQ(libraries.size(), c.controls.size()) << c.what;
        for (std::size_t n = 0; n < libraries.size(); ++n)
            EXPECT_TRUE(IsThemed(libraries[n])) << c.what << ", control " << c.controls[n] << ": " << libraries[n];
    }
}

TEST_F(VisualStyle, TheMainWindowsControlsArePlainItsTooltipThemed)
{
    for (int id : {ID_LIST, ID_PLAY, ID_EDIT, ID_COPY}) {
        std::string library = ControlLibrary(GetDlgItem(window_, id));
        EXPECT_NE(library.find("user32.dll"), std::string::npos) << id << ": " << library;
    }

    HWND tooltip = nullptr;
    WaitFor([&] {
        tooltip = FindWindowExA(nullptr, nullptr, "tooltips_class32", nullptr);
        while (tooltip != nullptr && GetWindow(tooltip, GW_OWNER) != window_)
            tooltip = FindWindowExA(nullptr, tooltip, "tooltips_class32", nullptr);
        return tooltip != nullptr;
    }, kPatience);
    ASSERT_NE(tooltip, nullptr);
    EXPECT_TRUE(IsThemed(ControlLibrary(tooltip))) << ControlLibrary(tooltip);
}

} // namespace
