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

#include <servprov.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

VARIANT Child(long id)
{
    VARIANT child;
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

// What a client hears: a null BSTR is an empty text.
std::wstring Heard(BSTR text)
{
    std::wstring heard = text != nullptr ? std::wstring(text, SysStringLen(text)) : L"";
    SysFreeString(text);
    return heard;
}

// The same, telling a null BSTR apart.
std::wstring Take(BSTR text)
{
    return text != nullptr ? Heard(text) : L"(none)";
}

// What a late-bound client (a script) hears as the name of `child`, or of
// the object itself when the id is left out: IDispatch::Invoke of accName;
// its answer, and the text.
HRESULT LateBoundName(IDispatch* object, const VARIANT* child, std::wstring& name)
{
    VARIANT argument = child != nullptr ? *child : VARIANT{};
    DISPPARAMS parameters = {&argument, nullptr, child != nullptr ? 1u : 0u, 0};
    VARIANT result;
    VariantInit(&result);
    HRESULT answer = object->Invoke(DISPID_ACC_NAME, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                    &parameters, &result, nullptr, nullptr);
    if (result.vt == VT_BSTR) {
        name = Heard(result.bstrVal);
    } else {
        name = L"(not a text)";
        VariantClear(&result);
    }
    return answer;
}

HRESULT LateBoundName(IDispatch* object, VARIANT child, std::wstring& name)
{
    return LateBoundName(object, &child, name);
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

    // The standard object's answer for the list's own name.
    std::wstring StandardOwnName() const
    {
        IAccessible* standard = nullptr;
        if (FAILED(CreateStdAccessibleObject(List(), OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&standard))))
            return L"(no standard object)";
        BSTR name = nullptr;
        standard->get_accName(Child(CHILDID_SELF), &name);
        standard->Release();
        return Heard(name);
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

TEST_F(Accessibility, EveryInterfaceLeadsBackToTheListObject)
{
    IAccessible* object = ListObject();
    ASSERT_NE(object, nullptr);
    IUnknown* identity = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_PPV_ARGS(&identity)), S_OK);

    struct Case { const char* name; IID id; };
    const Case interfaces[] = {
        {"IUnknown", __uuidof(IUnknown)},         {"IDispatch", __uuidof(IDispatch)},
        {"IAccessible", __uuidof(IAccessible)},   {"IEnumVARIANT", __uuidof(IEnumVARIANT)},
        {"IOleWindow", __uuidof(IOleWindow)},
    };
    for (const Case& c : interfaces) {
        SCOPED_TRACE(c.name);
        IUnknown* face = nullptr;
        ASSERT_EQ(object->QueryInterface(c.id, reinterpret_cast<void**>(&face)), S_OK);
        IUnknown* back = nullptr;
        EXPECT_EQ(face->QueryInterface(IID_PPV_ARGS(&back)), S_OK);
        EXPECT_EQ(back, identity);
        IAccessible* accessible = nullptr;
        ASSERT_EQ(face->QueryInterface(IID_PPV_ARGS(&accessible)), S_OK);
        EXPECT_EQ(accessible, object);
        BSTR name = nullptr;
        EXPECT_EQ(accessible->get_accName(Child(1), &name), S_OK);
        EXPECT_EQ(Take(name), kAlpha);
        IDispatch* dispatch = nullptr;
        ASSERT_EQ(face->QueryInterface(IID_PPV_ARGS(&dispatch)), S_OK);
        std::wstring lateName;
        EXPECT_EQ(LateBoundName(dispatch, Child(1), lateName), S_OK);
        EXPECT_EQ(lateName, kAlpha);
        dispatch->Release();
        accessible->Release();
        back->Release();
        face->Release();
    }

    // The window and the children are the standard object's.
    IOleWindow* window = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_PPV_ARGS(&window)), S_OK);
    HWND shown = nullptr;
    EXPECT_EQ(window->GetWindow(&shown), S_OK);
    EXPECT_EQ(shown, List());
    window->Release();
    IEnumVARIANT* children = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_PPV_ARGS(&children)), S_OK);
    long count = -1;
    ASSERT_EQ(object->get_accChildCount(&count), S_OK);
    std::vector<VARIANT> fetched(static_cast<size_t>(count) + 1);
    ULONG fetchedCount = 0;
    EXPECT_EQ(children->Reset(), S_OK);
    children->Next(static_cast<ULONG>(fetched.size()), fetched.data(), &fetchedCount);
    EXPECT_EQ(fetchedCount, static_cast<ULONG>(count));
    for (ULONG n = 0; n < fetchedCount; ++n)
        VariantClear(&fetched[n]);
    children->Release();

    // What it does not implement leads nowhere else. The standard object's
    // service provider would tell the platform that this is its own object,
    // whose names it knows better.
    const IID accIdentity = {0x7852b78d, 0x1cfd, 0x41c1, {0xa6, 0x15, 0x9c, 0x0c, 0x85, 0x96, 0x0b, 0x5f}};
    const Case refused[] = {{"IServiceProvider", __uuidof(IServiceProvider)}, {"IAccIdentity", accIdentity}};
    for (const Case& c : refused) {
        SCOPED_TRACE(c.name);
        void* face = &face;
        EXPECT_EQ(object->QueryInterface(c.id, &face), E_NOINTERFACE);
        EXPECT_EQ(face, nullptr);
    }
    identity->Release();
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_EQ(LiveListAccessibleCount(), 0);
}

TEST_F(Accessibility, LateBoundClientsReachTheRowNames)
{
    IDispatch* object = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(List(), OBJID_CLIENT, IID_PPV_ARGS(&object)), S_OK);

    UINT count = 0;
    EXPECT_EQ(object->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    ITypeInfo* info = nullptr;
    ASSERT_EQ(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info), S_OK);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
    EXPECT_TRUE(attributes->guid == __uuidof(IAccessible));
    info->ReleaseTypeAttr(attributes);
    info->Release();
    WCHAR accName[] = L"accName";
    LPOLESTR names[] = {accName};
    DISPID id = 0;
    EXPECT_EQ(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, DISPID_ACC_NAME);

    Command(ID_SORT_DATE);
    const std::wstring byDate[] = {kBravo, kAlpha, kCharlie, kDelta};
    for (long row = 1; row <= 4; ++row) {
        std::wstring name;
        EXPECT_EQ(LateBoundName(object, Child(row), name), S_OK) << row;
        EXPECT_EQ(name, byDate[row - 1]) << row;
    }
    std::wstring name;
    EXPECT_TRUE(FAILED(LateBoundName(object, Child(5), name)));
    // Without a child id a script hears the list's own name.
    EXPECT_TRUE(SUCCEEDED(LateBoundName(object, nullptr, name)));
    EXPECT_EQ(name, StandardOwnName());
    object->Release();
}

// A VARIANT holding `value` as `type` (by value).
template <typename T>
VARIANT Holding(VARTYPE type, T value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = type;
    static_assert(sizeof(T) <= sizeof v.llVal, "an integer member");
    std::memcpy(&v.llVal, &value, sizeof value);
    return v;
}

VARIANT Referring(VARTYPE type, void* value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = static_cast<VARTYPE>(type | VT_BYREF);
    v.byref = value;
    return v;
}

TEST_F(Accessibility, ChildIdsOfEveryIntegerTypeAreTaken)
{
    IAccessible* object = ListObject();
    ASSERT_NE(object, nullptr);
    short two16 = 2;
    LONG two32 = 2;
    VARIANT innerTwo = Holding<SHORT>(VT_I2, 2);
    VARIANT error;
    VariantInit(&error);
    error.vt = VT_ERROR;
    error.scode = DISP_E_PARAMNOTFOUND;
    const std::wstring self = StandardOwnName();
    const std::wstring none;

    struct Case { const char* what; VARIANT child; HRESULT answer; const std::wstring& name; };
    const Case cases[] = {
        {"VT_I1", Holding<signed char>(VT_I1, 2), S_OK, kBravo},
        {"VT_UI1", Holding<BYTE>(VT_UI1, 2), S_OK, kBravo},
        {"VT_I2", Holding<SHORT>(VT_I2, 2), S_OK, kBravo},
        {"VT_UI2", Holding<USHORT>(VT_UI2, 2), S_OK, kBravo},
        {"VT_I4", Holding<LONG>(VT_I4, 2), S_OK, kBravo},
        {"VT_UI4", Holding<ULONG>(VT_UI4, 2), S_OK, kBravo},
        {"VT_INT", Holding<INT>(VT_INT, 2), S_OK, kBravo},
        {"VT_UINT", Holding<UINT>(VT_UINT, 2), S_OK, kBravo},
        {"VT_I8", Holding<LONGLONG>(VT_I8, 2), S_OK, kBravo},
        {"VT_UI8", Holding<ULONGLONG>(VT_UI8, 2), S_OK, kBravo},
        {"VT_I2 by reference", Referring(VT_I2, &two16), S_OK, kBravo},
        {"VT_I4 by reference", Referring(VT_I4, &two32), S_OK, kBravo},
        {"VT_VARIANT by reference", Referring(VT_VARIANT, &innerTwo), S_OK, kBravo},
        {"VT_I2 self", Holding<SHORT>(VT_I2, 0), S_OK, self},
        {"VT_EMPTY", Holding<LONG>(VT_EMPTY, 0), S_OK, self},
        {"left out", error, S_OK, self},
        {"VT_I2 after the last row", Holding<SHORT>(VT_I2, 5), E_INVALIDARG, none},
        {"VT_I1 negative", Holding<signed char>(VT_I1, -2), E_INVALIDARG, none},
        {"VT_UI4 beyond a long", Holding<ULONG>(VT_UI4, 0x80000002u), E_INVALIDARG, none},
        {"VT_I8 beyond a long", Holding<LONGLONG>(VT_I8, 0x100000002LL), E_INVALIDARG, none},
        {"VT_I2 by a null reference", Referring(VT_I2, nullptr), E_INVALIDARG, none},
        {"VT_R8", Holding<double>(VT_R8, 2.0), E_INVALIDARG, none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BSTR name = nullptr;
        HRESULT answer = object->get_accName(c.child, &name);
        EXPECT_EQ(SUCCEEDED(answer), SUCCEEDED(c.answer));
        if (FAILED(c.answer)) {
            EXPECT_EQ(answer, c.answer);
            EXPECT_EQ(name, nullptr);
        }
        EXPECT_EQ(Heard(name), c.name);

        std::wstring lateName;
        answer = LateBoundName(object, c.child, lateName);
        EXPECT_EQ(SUCCEEDED(answer), SUCCEEDED(c.answer));
        if (SUCCEEDED(c.answer)) {
            EXPECT_EQ(lateName, c.name);
        }
    }

    // The standard object takes every such id too (Wine's refuses all but VT_I4).
    long left = 0, top = 0, width = 0, height = 0;
    EXPECT_EQ(object->accLocation(&left, &top, &width, &height, Holding<SHORT>(VT_I2, 0)), S_OK);
    RECT client;
    GetClientRect(List(), &client);
    EXPECT_EQ(width, client.right);
    EXPECT_EQ(height, client.bottom);
    object->Release();
}

// The list on a thread of its own that has no COM: the first request enters
// it there (the object then reaches a client in another apartment), and the
// list's end leaves it again.
TEST(ListAccessibilityThread, TheFirstRequestEntersComAndTheListsEndLeavesIt)
{
    CoInitialize(nullptr);
    HWND list = nullptr;
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    APTTYPE type;
    APTTYPEQUALIFIER qualifier;
    HRESULT before = S_OK, after = S_OK;
    std::thread owner([&] {
        before = CoGetApartmentType(&type, &qualifier);
        list = CreateWindowExA(0, "LISTBOX", nullptr, WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        ServeListAccessibility(list);
        SetEvent(ready);
        MSG message;
        while (IsWindow(list) && GetMessageA(&message, nullptr, 0, 0) > 0)
            DispatchMessageA(&message);
        after = CoGetApartmentType(&type, &qualifier);
    });
    WaitForSingleObject(ready, kPatience);
    if (list == nullptr) {
        owner.join();
        FAIL() << "no list";
    }

    IAccessible* object = nullptr;
    EXPECT_EQ(AccessibleObjectFromWindow(list, OBJID_CLIENT, IID_PPV_ARGS(&object)), S_OK);
    EXPECT_EQ(LiveListAccessibleCount(), 1);
    if (object != nullptr) {
        long children = -1;
        EXPECT_EQ(object->get_accChildCount(&children), S_OK);
        object->Release();
    }
    PostMessageA(list, WM_CLOSE, 0, 0);
    owner.join();
    CloseHandle(ready);
    EXPECT_EQ(before, CO_E_NOTINITIALIZED);
    EXPECT_EQ(after, CO_E_NOTINITIALIZED);
    EXPECT_EQ(LiveListAccessibleCount(), 0);
    CoUninitialize();
}

// How Wine loads `library` for the program `program` alone while this
// lives, in the program's own DLL overrides: "" never, "native,builtin" a
// file of that name in the program's folder first. (An environment variable
// does not reach a program started from within Wine.)
class LibraryOverride {
public:
    LibraryOverride(const std::string& program, const char* library, const char* order) : library_(library)
    {
        std::string path = "Software\\Wine\\AppDefaults\\" + program + "\\DllOverrides";
        RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_,
                        nullptr);
        RegSetValueExA(key_, library, 0, REG_SZ, reinterpret_cast<const BYTE*>(order),
                       static_cast<DWORD>(std::strlen(order) + 1));
    }
    ~LibraryOverride()
    {
        RegDeleteValueA(key_, library_);
        RegCloseKey(key_);
    }
    LibraryOverride(const LibraryOverride&) = delete;
    LibraryOverride& operator=(const LibraryOverride&) = delete;

private:
    HKEY key_ = nullptr;
    const char* library_;
};

// A row's name as korval-probe takes it on its command line.
std::string ProbeText(const std::wstring& text)
{
    char bytes[512] = "";
    WideCharToMultiByte(1252, 0, text.c_str(), -1, bytes, sizeof bytes, nullptr, nullptr);
    return "\"" + std::string(bytes) + "\"";
}

// A screen reader in another process, with the input method off in KORVAL:
// under Wine the input method enters COM on a window's thread when the window
// is first activated, and so hid that KORVAL never did it itself (the object
// could not cross, and the reader heard the standard object without names).
TEST(ListAccessibilityAcrossProcesses, RowsAreNamedWithTheInputMethodOff)
{
    std::string folder = ScratchFolder("a11y_no_ime");
    WriteFileBytes(folder + "KORVAL.INI", ReadFileBytes("K:\\window\\KORVAL.INI"));
    LibraryOverride inputMethodOff("KORVAL.EXE", "imm32", "");
    RunningProgram korval("\"" + KorvalExePath() + "\" " + folder);
    ASSERT_NE(korval.Handle(), nullptr);

    std::string output;
    EXPECT_EQ(RunProbe("wait rows 4 module imm32.dll no module ole32.dll no name 0 " + ProbeText(kAlpha)
                           + " latename 3 " + ProbeText(kDelta) + " module ole32.dll yes close",
                       folder + "probe.txt", output),
              0)
        << output;
    EXPECT_EQ(WaitExitCode(korval.Handle(), kPatience), 0);
}

// A library named like the accessibility library in KORVAL's own folder (a
// share, a medium) is never loaded: Windows looks in a program's folder first
// for a bare name, as Wine does here when told to take a file of that name
// before its own.
TEST(ListAccessibilityAcrossProcesses, TheAccessibilityLibraryComesFromTheSystemFolderOnly)
{
    std::string folder = ScratchFolder("a11y_planted");
    ASSERT_TRUE(CopyFileA(KorvalExePath().c_str(), (folder + "KORVAL.EXE").c_str(), FALSE));
    WriteFileBytes(folder + "KORVAL.INI", ReadFileBytes("K:\\window\\KORVAL.INI"));
    char self[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    ASSERT_TRUE(length > 0 && length < MAX_PATH);
    std::string planted = std::string(self, length);
    planted = planted.substr(0, planted.rfind('\\') + 1) + "planted.dll";
    ASSERT_TRUE(CopyFileA(planted.c_str(), (folder + "oleacc.dll").c_str(), FALSE));

    LibraryOverride ownFolderFirst("KORVAL.EXE", "oleacc", "native,builtin");
    RunningProgram korval("\"" + folder + "KORVAL.EXE\" " + folder);
    ASSERT_NE(korval.Handle(), nullptr);
    std::string output;
    EXPECT_EQ(RunProbe("wait name 0 " + ProbeText(kAlpha) + " module oleacc.dll yes", folder + "probe.txt", output),
              0)
        << output;
    HANDLE loaded = OpenEventA(SYNCHRONIZE, FALSE, "KorvalPlantedLibraryLoaded");
    EXPECT_EQ(loaded, nullptr) << "the planted oleacc.dll was loaded";
    if (loaded != nullptr)
        CloseHandle(loaded);
    EXPECT_EQ(RunProbe("close", folder + "probe.txt", output), 0) << output;
    EXPECT_EQ(WaitExitCode(korval.Handle(), kPatience), 0);
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
    }, kPatience);
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
