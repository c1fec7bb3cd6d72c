// korval-probe: finds KORVAL's main window by its class and drives it with
// window messages only, step by step as given on the command line:
//   wait            wait for the main window to show (at most 2 minutes: a
//                   safety net; a busy machine starts KORVAL slowly)
//   rows N          the list holds N rows
//   row I TEXT      row I's key text is TEXT
//   selected I      row I is selected
//   name I TEXT     a screen reader names row I TEXT (its accessible object)
//   latename I TEXT a late-bound client (IDispatch::Invoke of accName, the
//                   id as a 16-bit integer) names row I TEXT
//   status TEXT     the status bar reads TEXT (its window text)
//   module DLL yes|no   KORVAL has loaded DLL, or has not
//   command ID      sends WM_COMMAND ID (and waits until it is handled)
//   post ID         posts WM_COMMAND ID (for commands that open a dialog)
//   close           posts WM_CLOSE
//   client W H      the main window's client area is W x H
//   window          prints the client size, the outer size and the largest
//                   size the platform lets a window take (always holds)
//   itemheight N    the list's rows are N pixels high
//   place ID X Y W H  child ID stands at X, Y in the client area, W x H
// Prints one line per step; exits 0 when every step held, 1 otherwise.
#include <windows.h>

#include <oleacc.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

namespace {

const int kListId = 500;
const int kStatusBarId = 501;

HWND MainWindow()
{
    return FindWindowA("VRKORVAL", nullptr);
}

HWND List()
{
    return GetDlgItem(MainWindow(), kListId);
}

// Wine hands wide text across processes even to LB_GETTEXT's A form: ask in wide.
std::string RowText(int row)
{
    wchar_t wide[512] = L"";
    LRESULT length = SendMessageW(List(), LB_GETTEXTLEN, row, 0);
    if (length < 0 || length >= 512)
        return "<none>";
    SendMessageW(List(), LB_GETTEXT, row, reinterpret_cast<LPARAM>(wide));
    char text[1024] = "";
    WideCharToMultiByte(1252, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

std::string FromWide(const wchar_t* wide)
{
    char text[1024] = "";
    WideCharToMultiByte(1252, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

std::string StatusText()
{
    wchar_t wide[512] = L"";
    SendMessageW(GetDlgItem(MainWindow(), kStatusBarId), WM_GETTEXT, 512, reinterpret_cast<LPARAM>(wide));
    return FromWide(wide);
}

// The list's accessible object as `Interface`, as a client in another
// process gets it; null when there is none.
template <typename Interface>
Interface* ListObject()
{
    Interface* object = nullptr;
    return SUCCEEDED(AccessibleObjectFromWindow(List(), OBJID_CLIENT, __uuidof(Interface),
                                                reinterpret_cast<void**>(&object)))
               ? object
               : nullptr;
}

// What a screen reader in another process hears for row `row`.
std::string AccessibleName(int row)
{
    IAccessible* object = ListObject<IAccessible>();
    if (object == nullptr)
        return "<no object>";
    VARIANT child;
    child.vt = VT_I4;
    child.lVal = row + 1;
    BSTR name = nullptr;
    std::string text = SUCCEEDED(object->get_accName(child, &name)) && name != nullptr ? FromWide(name) : "<none>";
    SysFreeString(name);
    object->Release();
    return text;
}

// What a late-bound client in another process (a script) hears for row `row`.
std::string LateBoundName(int row)
{
    IDispatch* object = ListObject<IDispatch>();
    if (object == nullptr)
        return "<no object>";
    VARIANT child;
    child.vt = VT_I2;
    child.iVal = static_cast<SHORT>(row + 1);
    DISPPARAMS parameters = {&child, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    HRESULT answer = object->Invoke(DISPID_ACC_NAME, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                    &parameters, &result, nullptr, nullptr);
    std::string text = SUCCEEDED(answer) && result.vt == VT_BSTR && result.bstrVal != nullptr
                           ? FromWide(result.bstrVal)
                           : "<none>";
    VariantClear(&result);
    object->Release();
    return text;
}

bool HasModule(const char* name)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(MainWindow(), &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr)
        return false;
    HMODULE modules[512];
    DWORD bytes = 0;
    bool found = false;
    if (EnumProcessModules(process, modules, sizeof modules, &bytes)) {
        for (DWORD n = 0; n < bytes / sizeof modules[0] && n < 512; ++n) {
            char base[MAX_PATH] = "";
            GetModuleBaseNameA(process, modules[n], base, sizeof base);
            found = found || lstrcmpiA(base, name) == 0;
        }
    }
    CloseHandle(process);
    return found;
}

// The window can be found while it is still being created, before its list
// exists; it shows only once creation and the first fill are done. The limit
// is by the clock: counted tries would end the sooner the busier the machine.
bool Wait()
{
    const DWORD start = GetTickCount();
    for (;;) {
        HWND window = MainWindow();
        if (window != nullptr && IsWindowVisible(window))
            return true;
        if (GetTickCount() - start > 120000)
            return false;
        Sleep(100);
    }
}

std::string Numbers(std::initializer_list<long> numbers)
{
    std::string text;
    for (long n : numbers)
        text += (text.empty() ? "" : " ") + std::to_string(n);
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    CoInitialize(nullptr);
    bool allHeld = true;
    for (int i = 1; i < argc; ++i) {
        std::string step = argv[i];
        bool held = true;
        std::string seen;
        auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : ""; };
        if (step == "wait") {
            held = Wait();
        } else if (step == "rows") {
            int expected = std::atoi(next());
            int rows = static_cast<int>(SendMessageA(List(), LB_GETCOUNT, 0, 0));
            seen = std::to_string(rows);
            held = rows == expected;
        } else if (step == "row") {
            int row = std::atoi(next());
            std::string expected = next();
            seen = RowText(row);
            held = seen == expected;
        } else if (step == "selected") {
            int expected = std::atoi(next());
            int row = static_cast<int>(SendMessageA(List(), LB_GETCURSEL, 0, 0));
            seen = std::to_string(row);
            held = row == expected;
        } else if (step == "name") {
            int row = std::atoi(next());
            std::string expected = next();
            seen = AccessibleName(row);
            held = seen == expected;
        } else if (step == "latename") {
            int row = std::atoi(next());
            std::string expected = next();
            seen = LateBoundName(row);
            held = seen == expected;
        } else if (step == "status") {
            std::string expected = next();
            seen = StatusText();
            held = seen == expected;
        } else if (step == "module") {
            std::string name = next();
            bool expected = std::string(next()) == "yes";
            bool loaded = HasModule(name.c_str());
            held = loaded == expected;
            seen = name + (loaded ? " loaded" : " not loaded");
        } else if (step == "command") {
            SendMessageA(MainWindow(), WM_COMMAND, std::atoi(next()), 0);
        } else if (step == "post") {
            held = PostMessageA(MainWindow(), WM_COMMAND, std::atoi(next()), 0) != 0;
        } else if (step == "client") {
            std::string expected = next();
            expected += std::string(" ") + next();
            RECT client = {};
            GetClientRect(MainWindow(), &client);
            seen = Numbers({client.right, client.bottom});
            held = seen == expected;
        } else if (step == "window") {
            RECT client = {};
            RECT outer = {};
            GetClientRect(MainWindow(), &client);
            GetWindowRect(MainWindow(), &outer);
            seen = Numbers({client.right, client.bottom, outer.right - outer.left, outer.bottom - outer.top,
                            GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)});
        } else if (step == "itemheight") {
            std::string expected = next();
            seen = std::to_string(SendMessageA(List(), LB_GETITEMHEIGHT, 0, 0));
            held = seen == expected;
        } else if (step == "place") {
            int id = std::atoi(next());
            std::string expected;
            for (int n = 0; n < 4; ++n)
                expected += (n ? " " : "") + std::string(next());
            RECT rect = {};
            HWND child = GetDlgItem(MainWindow(), id);
            GetWindowRect(child, &rect);
            MapWindowPoints(nullptr, MainWindow(), reinterpret_cast<POINT*>(&rect), 2);
            seen = child != nullptr ? Numbers({rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top})
                                    : "no such child";
            held = seen == expected;
        } else if (step == "close") {
            held = PostMessageA(MainWindow(), WM_CLOSE, 0, 0) != 0;
        } else {
            held = false;
            seen = "unknown step";
        }
        std::printf("%s %s%s%s\n", held ? "ok" : "FAILED", step.c_str(), seen.empty() ? "" : ": ", seen.c_str());
        allHeld = allHeld && held;
    }
    std::fflush(stdout);
    return allHeld ? 0 : 1;
}
