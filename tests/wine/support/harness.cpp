#include "harness.h"

#include <psapi.h>

#include <cstdio>
#include <set>

namespace {

struct FindBoxes {
    DWORD process;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectBox(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<FindBoxes*>(context);
    char className[32];
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && IsWindowVisible(window)
        && GetClassNameA(window, className, sizeof className) && lstrcmpA(className, "#32770") == 0
        && GetDlgItem(window, 0xFFFF) != nullptr)       // a message box has its text in 0xFFFF
        search->found.push_back(window);
    return TRUE;
}

} // namespace

BoxWatcher::BoxWatcher(Answer answer, std::string caption)
    : answer_(std::move(answer)), caption_(std::move(caption)), thread_([this] { Watch(); })
{
}

BoxWatcher::~BoxWatcher()
{
    stop_ = true;
    thread_.join();
}

std::vector<SeenBox> BoxWatcher::Boxes()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return boxes_;
}

void BoxWatcher::Watch()
{
    std::set<HWND> answered;
    while (!stop_) {
        FindBoxes search{GetCurrentProcessId(), {}};
        EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&search));
        for (HWND box : search.found) {
            char caption[128] = "";
            GetWindowTextA(box, caption, sizeof caption);
            if (answered.count(box) != 0 || (!caption_.empty() && caption_ != caption))
                continue;
            answered.insert(box);
            char text[512] = "";
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            SeenBox seen;
            seen.caption = caption;
            seen.text = text;
            seen.hasRetry = GetDlgItem(box, IDRETRY) != nullptr;
            seen.hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
            seen.hasOk = GetDlgItem(box, IDOK) != nullptr;
            int number;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                boxes_.push_back(seen);
                number = static_cast<int>(boxes_.size());
            }
            int button = answer_(seen, number);
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
        }
        // Forget boxes that are gone, so a new box that reuses a handle is seen.
        for (auto it = answered.begin(); it != answered.end();)
            it = IsWindow(*it) ? std::next(it) : answered.erase(it);
        Sleep(20);
    }
}

namespace {

struct FindDialogs {
    DWORD process;
    const std::string* caption;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<FindDialogs*>(context);
    char className[32];
    char caption[128];
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && IsWindowVisible(window)
        && GetClassNameA(window, className, sizeof className) && lstrcmpA(className, "#32770") == 0
        && GetWindowTextA(window, caption, sizeof caption) >= 0 && *search->caption == caption)
        search->found.push_back(window);
    return TRUE;
}

} // namespace

DialogWatcher::DialogWatcher(std::string caption, Act act)
    : caption_(std::move(caption)), act_(std::move(act)), thread_([this] { Watch(); })
{
}

DialogWatcher::~DialogWatcher()
{
    stop_ = true;
    thread_.join();
}

void DialogWatcher::Watch()
{
    std::set<HWND> handled;
    while (!stop_) {
        FindDialogs search{GetCurrentProcessId(), &caption_, {}};
        EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
        for (HWND dialog : search.found) {
            if (handled.count(dialog) != 0)
                continue;
            handled.insert(dialog);
            act_(dialog, ++count_);
        }
        for (auto it = handled.begin(); it != handled.end();)
            it = IsWindow(*it) ? std::next(it) : handled.erase(it);
        Sleep(20);
    }
}

void WriteFileBytes(const std::string& path, const std::string& content)
{
    for (std::size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1))
        CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return;
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
}

std::string ReadFileBytes(const std::string& path)
{
    std::string content;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return content;
    char block[4096];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        content.append(block, got);
    std::fclose(file);
    return content;
}

void RemoveFile(const std::string& path)
{
    DeleteFileA(path.c_str());
}

namespace {

// Removes what a folder holds: files first, then its folders.
void ClearFolder(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    HANDLE each = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (each == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = entry.cFileName;
        if (name == "." || name == "..")
            continue;
        std::string child = folder + "\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ClearFolder(child);
            RemoveDirectoryA(child.c_str());
        } else {
            DeleteFileA(child.c_str());
        }
    } while (FindNextFileA(each, &entry));
    FindClose(each);
}

} // namespace

std::string ScratchFolder(const std::string& name)
{
    std::string folder = "T:\\" + name;
    ClearFolder(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
}

std::string ModuleBaseName()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string name = path;
    name = name.substr(name.find_last_of('\\') + 1);
    return name.substr(0, name.find_last_of('.'));
}

HANDLE StartProgram(const std::string& commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

long WaitExitCode(HANDLE process, DWORD milliseconds)
{
    if (WaitForSingleObject(process, milliseconds) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return static_cast<long>(code);
}

RunningProgram::~RunningProgram()
{
    if (process_ == nullptr)
        return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 10000);
    }
    CloseHandle(process_);
}

void Pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > milliseconds)
            return false;
        Pump();
        Sleep(10);
    }
    return true;
}

std::string KorvalExePath()
{
    return std::string(KORVAL_BUILD_DIR) + "KORVAL.EXE";
}

long RunProbe(const std::string& steps, const std::string& report, std::string& output)
{
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

DisplayDpi::DisplayDpi(DWORD dpi)
{
    RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_,
                    nullptr);
    DWORD size = sizeof before_;
    had_ = RegQueryValueExA(key_, "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&before_), &size)
           == ERROR_SUCCESS;
    RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
}

DisplayDpi::~DisplayDpi()
{
    if (had_)
        RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&before_), sizeof before_);
    else
        RegDeleteValueA(key_, "LogPixels");
    RegCloseKey(key_);
}

SIZE_T CommittedBytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}
