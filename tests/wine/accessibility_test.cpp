// What a screen reader learns of the main window: the rows' names from the
// list's accessible object, the picture buttons' names and their tooltip, and
// the libraries that only a request loads.
#include "app/main_window.h"
#include "base/instance.h"
#include "base/text.h"
#include "catalogue/catalogue_file.h"
#include "catalogue/store.h"
#include "harness.h"
#include "main_window_fixture.h"
#include "res/resource.h"
#include "view/keyword_filter.h"
#include "view/list_accessible.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <oleacc.h>

#include <string>
#include <vector>

namespace {

VARIANT Child(long id)
{
    VARIANT child;
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

std::wstring Take(BSTR text)
{
    std::wstring taken = text != nullptr ? std::wstring(text, SysStringLen(text)) : L"(none)";
    SysFreeString(text);
    return taken;
}

class Accessibility : public MainWindowFixture {
protected:
    static void SetUpTestSuite()
    {
        MainWindowFixture::SetUpTestSuite();
        CoInitialize(nullptr);
    }
    static void TearDownTestSuite() { CoUninitialize(); }

    HWND List() const { return GetDlgItem(window_, ID_LIST); }

    // The list's object as a screen reader asks for it.
    IAccessible* ListObject() const
    {
        IAccessible* object = nullptr;
        EXPECT_EQ(AccessibleObjectFromWindow(List(), OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&object)),
                  S_OK);
        return object;
    }

    // The names the object gives for child ids 1..count, and whether it
    // refuses the id after the last row.
    std::vector<std::wstring> RowNames(int count) const
    {
        IAccessible* object = ListObject();
        std::vector<std::wstring> names;
        if (object == nullptr)
            return names;
        for (long id = 1; id <= count; ++id) {
            BSTR name = nullptr;
            EXPECT_EQ(object->get_accName(Child(id), &name), S_OK) << id;
            names.push_back(Take(name));
        }
        BSTR beyond = nullptr;
        EXPECT_EQ(object->get_accName(Child(count + 1), &beyond), E_INVALIDARG);
        EXPECT_EQ(beyond, nullptr);
        object->Release();
        return names;
    }

};

const std::wstring kAlpha = L"Alpha, Autor: Anton Amsel, Datei: ZZZ.FLC, Datum: 24.12.1999, "
                            L"Gesamtgr\u00f6\u00dfe: 200 KB, Stichw\u00f6rter: Sport, Natur";
const std::wstring kBravo = L"Bravo, Autor: Maja Meise, Datei: BBB.FLC, Datum: 05.03.99, "
                            L"Gesamtgr\u00f6\u00dfe: 400 KB, Stichw\u00f6rter: Technik";
const std::wstring kCharlie = L"Charlie, Autor: Maja Meise, Datei: MMM.FLC, Datum: 01.01.2000, "
                              L"Gesamtgr\u00f6\u00dfe: 300 KB, Stichw\u00f6rter: Natur";
const std::wstring kDelta = L"Delta, Autor: Zora Zimmer, Datei: AAA.FLC, Datum: 05.03.98, "
                            L"Gesamtgr\u00f6\u00dfe: 100 KB, Stichw\u00f6rter: Sport";

TEST_F(Accessibility, RowsAreNamedTitleFirstInEveryOrder)
{
    struct Case { int command; std::vector<std::wstring> names; };
    const Case cases[] = {
        {ID_SORT_TITLE, {kAlpha, kBravo, kCharlie, kDelta}},
        {ID_SORT_FILE, {kDelta, kBravo, kCharlie, kAlpha}},         // AAA, BBB, SUB\MMM, ZZZ
        {ID_SORT_DATE, {kBravo, kAlpha, kCharlie, kDelta}},         // 5.3.99 sorts as year 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        Command(c.command);
        EXPECT_EQ(RowNames(4), c.names);
    }
    // By author: Anton Amsel, Maja Meise twice (in either order), Zora Zimmer.
    Command(ID_SORT_AUTHOR);
    std::vector<std::wstring> names = RowNames(4);
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[0], kAlpha);
    EXPECT_TRUE((names[1] == kBravo && names[2] == kCharlie) || (names[1] == kCharlie && names[2] == kBravo));
    EXPECT_EQ(names[3], kDelta);
}

TEST_F(Accessibility, AfterAFilterOnlyTheShownRowsHaveNames)
{
    {
        DialogWatcher dialog("Selektieren", [](HWND d, int) {
            HWND list = GetDlgItem(d, ID_KEYWORD_LIST);
            LRESULT position = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>("Natur"));
            SendMessageA(list, LB_SETSEL, TRUE, position);
            PostMessageA(d, WM_COMMAND, IDOK, 0);
        });
        Command(ID_SELECT);
        ASSERT_EQ(dialog.Count(), 1);
    }
    EXPECT_EQ(RowNames(2), (std::vector<std::wstring>{kAlpha, kCharlie}));
}

TEST_F(Accessibility, EverythingElseIsTheStandardObjectsAnswer)
{
    IAccessible* object = ListObject();
    ASSERT_NE(object, nullptr);
    IAccessible* standard = nullptr;
    ASSERT_EQ(CreateStdAccessibleObject(List(), OBJID_CLIENT, __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&standard)),
              S_OK);
    VARIANT self = Child(CHILDID_SELF);

    long left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(object->accLocation(&left, &top, &width, &height, self), S_OK);
    RECT client;
    GetClientRect(List(), &client);
    MapWindowPoints(List(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_EQ(left, client.left);
    EXPECT_EQ(top, client.top);
    EXPECT_EQ(width, client.right - client.left);
    EXPECT_EQ(height, client.bottom - client.top);

    VARIANT role = {};
    VARIANT standardRole = {};
    EXPECT_EQ(object->get_accRole(self, &role), standard->get_accRole(self, &standardRole));
    EXPECT_EQ(role.vt, VT_I4);
    EXPECT_EQ(role.lVal, standardRole.lVal);

    long children = -1, standardChildren = -2;
    EXPECT_EQ(object->get_accChildCount(&children), standard->get_accChildCount(&standardChildren));
    EXPECT_EQ(children, standardChildren);

    BSTR name = nullptr;
    BSTR standardName = nullptr;
    EXPECT_EQ(object->get_accName(self, &name), standard->get_accName(self, &standardName));
    EXPECT_EQ(Take(name), Take(standardName));
    standard->Release();
    object->Release();
}

TEST_F(Accessibility, ObjectsAreReleasedAndOutliveNoWindow)
{
    IAccessible* object = ListObject();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(LiveListAccessibleCount(), 1);
    ULONG count = object->AddRef();
    EXPECT_EQ(object->Release(), count - 1);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_EQ(LiveListAccessibleCount(), 0);

    // One held past the window's end answers no row and frees itself when released.
    object = ListObject();
    ASSERT_NE(object, nullptr);
    DestroyWindow(window_);
    Pump();
    BSTR name = nullptr;
    EXPECT_NE(object->get_accName(Child(1), &name), S_OK);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_EQ(LiveListAccessibleCount(), 0);
}

TEST_F(Accessibility, PictureButtonsAreNamedAndHaveATooltip)
{
    struct Case { int id; const char* name; };
    const Case buttons[] = {{ID_PLAY, "Abspielen"}, {ID_EDIT, "Bearbeiten"}, {ID_COPY, "Kopieren"}};
    for (const Case& b : buttons) {
        char text[32] = "";
        GetWindowTextA(GetDlgItem(window_, b.id), text, sizeof text);
        EXPECT_STREQ(text, b.name);
    }

    // The tooltip is the main window's own, made once the window was painted
    // and the program waited for input.
    HWND tooltip = nullptr;
    WaitFor([&tooltip] {
        EnumThreadWindows(GetCurrentThreadId(), [](HWND candidate, LPARAM found) {
            char className[64] = "";
            GetClassNameA(candidate, className, sizeof className);
            if (lstrcmpiA(className, TOOLTIPS_CLASSA) == 0)
                *reinterpret_cast<HWND*>(found) = candidate;
            return TRUE;
        }, reinterpret_cast<LPARAM>(&tooltip));
        return tooltip != nullptr;
    }, 5000);
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(GetWindow(tooltip, GW_OWNER), window_);
    EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 3);
    for (const Case& b : buttons) {
        char text[80] = "";
        TOOLINFOA tool = {};
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window_, b.id));
        tool.lpszText = text;
        SendMessageA(tooltip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
        EXPECT_STREQ(text, b.name);
    }
}

} // namespace
