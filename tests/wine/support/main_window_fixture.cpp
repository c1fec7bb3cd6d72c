#include "main_window_fixture.h"

#include "app/main_window.h"
#include "app/startup.h"
#include "base/instance.h"
#include "base/text.h"
#include "catalogue/catalogue_file.h"
#include "catalogue/store.h"
#include "view/keyword_filter.h"

void MainWindowFixture::SetUpTestSuite()
{
    SetModuleInstance(GetModuleHandleA(nullptr));
    static const int registered = RegisterWindowClasses(ModuleInstance);
    ASSERT_NE(registered, 0);
}

void MainWindowFixture::SetUp()
{
    ClearCatalogue();
    Filter = KeywordFilter{};
    CopyText(CataloguePath, Catalogue().c_str());
    window_ = CreateMainWindow(ModuleInstance);
    ASSERT_NE(window_, nullptr);
    MainWindowHandle = window_;
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    Pump();
}

void EndMainWindow(HWND window)
{
    if (IsWindow(window))
        DestroyWindow(window);
    Pump();
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

void MainWindowFixture::TearDown()
{
    EndMainWindow(window_);
}
