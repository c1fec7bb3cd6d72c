// The real KORVAL.EXE on hostile catalogues: each one opens the main window
// within 5 seconds (or the prompt for the medium), shows the list it should,
// survives every order, every row and Play, and ends with exit code 0.
// The files come from tools/hostile/hostile_catalogues.h.
#include "harness.h"
#include "res/resource.h"
#include "tools/hostile/hostile_catalogues.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <functional>
#include <mutex>
#include <thread>

namespace {

const std::string kRoot = "T:\\HOSTILE\\";
// Guards against a hang, not speed tests: a busy machine starts KORVAL slowly.
const DWORD kWindowUpMilliseconds = kPatience;
const DWORD kStepMilliseconds = kPatience;
const char* const kProgramMissing =
    "Die Programmdatei wurde nicht gefunden! Bitte installieren Sie Vantry erneut!";

const std::vector<hostile::Catalogue>& AllCatalogues()
{
    static const std::vector<hostile::Catalogue> all = hostile::Catalogues(kRoot);
    return all;
}

struct FindWindowOf {
    DWORD process;
    const char* className;
    std::function<bool(HWND)> wanted;
    HWND found;
};

BOOL CALLBACK CollectWindowOf(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<FindWindowOf*>(context);
    DWORD process = 0;
    char className[32] = "";
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && IsWindowVisible(window)
        && GetClassNameA(window, className, sizeof className) && lstrcmpA(className, search->className) == 0
        && search->wanted(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level window of `className` that belongs to `process` and is `wanted`.
HWND WindowOf(DWORD process, const char* className, std::function<bool(HWND)> wanted = [](HWND) { return true; })
{
    FindWindowOf search{process, className, std::move(wanted), nullptr};
    EnumWindows(CollectWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string TextOf(HWND window);

// A message box of `process`: captioned "Fehler", its text in control 0xFFFF.
HWND MessageBoxOf(DWORD process)
{
    return WindowOf(process, "#32770",
                    [](HWND box) { return TextOf(box) == "Fehler" && GetDlgItem(box, 0xFFFF) != nullptr; });
}

// The keyword dialog of `process`.
HWND KeywordDialogOf(DWORD process)
{
    return WindowOf(process, "#32770", [](HWND dialog) { return GetDlgItem(dialog, ID_KEYWORD_LIST) != nullptr; });
}

std::string TextOf(HWND window)
{
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool Send(HWND window, UINT message, WPARAM wordParam, LPARAM longParam, LRESULT* result = nullptr)
{
    DWORD_PTR answer = 0;
    bool handled = SendMessageTimeoutA(window, message, wordParam, longParam, SMTO_ABORTIFHUNG, kStepMilliseconds,
                                       &answer) != 0;
    if (result != nullptr)
        *result = static_cast<LRESULT>(answer);
    return handled;
}

int RowCount(HWND list)
{
    LRESULT rows = -1;
    return Send(list, LB_GETCOUNT, 0, 0, &rows) ? static_cast<int>(rows) : -1;
}

// Selecting a row the way a click does: the list moves, the main window is told.
bool SelectRow(HWND window, HWND list, int row)
{
    return Send(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0)
        && Send(window, WM_COMMAND, MAKEWPARAM(ID_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void Unregister()
{
    for (const char* type : {"vAnimation", "vBildsequenz"})
        for (const char* sub : {"\\shell\\open\\command", "\\shell\\open", "\\shell", ""})
            RegDeleteKeyA(HKEY_CLASSES_ROOT, (std::string(type) + sub).c_str());
}

std::string LogPath()
{
    return kRoot + "started.log";
}

// The command lines that the stand-in player noted.
std::vector<std::string> StartedCommandLines()
{
    std::vector<std::string> lines;
    std::ifstream file(LogPath(), std::ios::binary);
    std::string line;
    while (std::getline(file, line))
        lines.push_back(line.substr(0, line.find('\t')));
    return lines;
}

// One run of KORVAL.EXE as a debuggee, so that every fault it raises is seen:
// the platform swallows a fault inside a window procedure (drawing a row, say)
// and the program runs on as if nothing had happened. A run that did not end
// is ended, so that the next one does not find it as the running instance.
class KorvalRun {
public:
    explicit KorvalRun(const std::string& folder)
        : thread_([this, folder] { Debug("\"" + KorvalExePath() + "\" " + folder); })
    {
        std::unique_lock<std::mutex> lock(mutex_);
        ready_.wait(lock, [this] { return started_; });
    }
    // Every run is checked for faults, whatever else the test looked at.
    ~KorvalRun()
    {
        if (process_ != nullptr && !Ended())
            TerminateProcess(process_, 99);
        thread_.join();
        if (process_ != nullptr)
            CloseHandle(process_);
        std::string faults;
        for (const std::string& fault : faults_)
            faults += "\n  " + fault;
        EXPECT_TRUE(faults.empty()) << "KORVAL.EXE faulted:" << faults;
    }
    HANDLE Process() const { return process_; }
    DWORD Id() const { return id_; }
    DWORD Elapsed() const { return GetTickCount() - startTime_; }
    bool Ended() const { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }

private:
    // Debug events go to the thread that started the process.
    void Debug(const std::string& commandLine)
    {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info = {};
        std::vector<char> line(commandLine.begin(), commandLine.end());
        line.push_back('\0');
        BOOL created = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                                      nullptr, &startup, &info);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            process_ = created ? info.hProcess : nullptr;
            id_ = created ? info.dwProcessId : 0;
            startTime_ = GetTickCount();
            started_ = true;
        }
        ready_.notify_all();
        if (!created)
            return;
        // The first ten faults are kept, as "code at address".
        CloseHandle(info.hThread);
        DEBUG_EVENT event;
        while (WaitForDebugEvent(&event, INFINITE)) {
            DWORD answer = DBG_CONTINUE;
            switch (event.dwDebugEventCode) {
            case CREATE_PROCESS_DEBUG_EVENT:
                if (event.u.CreateProcessInfo.hFile != nullptr)
                    CloseHandle(event.u.CreateProcessInfo.hFile);
                break;
            case LOAD_DLL_DEBUG_EVENT:
                if (event.u.LoadDll.hFile != nullptr)
                    CloseHandle(event.u.LoadDll.hFile);
                break;
            case EXCEPTION_DEBUG_EVENT: {
                const EXCEPTION_RECORD& record = event.u.Exception.ExceptionRecord;
                if (record.ExceptionCode == EXCEPTION_BREAKPOINT)
                    break;                          // the loader's, when a debugger is attached
                answer = DBG_EXCEPTION_NOT_HANDLED;   // the program's own handling goes on
                if ((record.ExceptionCode & 0xC0000000u) == 0xC0000000u) {
                    char fault[64];
                    std::snprintf(fault, sizeof fault, "0x%08lX at %p", record.ExceptionCode,
                                  record.ExceptionAddress);
                    std::lock_guard<std::mutex> lock(mutex_);
                    if (faults_.size() < 10)
                        faults_.push_back(fault);
                }
                break;
            }
            default:
                break;
            }
            ContinueDebugEvent(event.dwProcessId, event.dwThreadId, answer);
            if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT)
                break;
        }
    }

    std::mutex mutex_;
    std::condition_variable ready_;
    bool started_ = false;
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
    DWORD startTime_ = 0;
    std::vector<std::string> faults_;
    std::thread thread_;
};

class HostileCatalogue : public ::testing::TestWithParam<std::size_t> {
protected:
    static void SetUpTestSuite()
    {
        ScratchFolder("HOSTILE");
        SetEnvironmentVariableA("VANTRY_STANDIN_LOG", LogPath().c_str());
    }
    static void TearDownTestSuite()
    {
        Unregister();
        SetEnvironmentVariableA("VANTRY_STANDIN_LOG", nullptr);
    }

    void SetUp() override
    {
        const hostile::Catalogue& catalogue = Catalogue();
        std::string path = hostile::CataloguePath(catalogue);
        if (catalogue.isFolder) {
            CreateDirectoryA(catalogue.folder.c_str(), nullptr);
            CreateDirectoryA(path.c_str(), nullptr);
        } else {
            // Written even where the path is too long for KORVAL's existence
            // test: the medium prompt must not depend on the file's absence.
            WriteFileBytes(path, catalogue.content);
        }
        for (const std::string& folder : catalogue.playerFolders) {
            CreateDirectoryA(folder.c_str(), nullptr);
            ASSERT_TRUE(CopyFileA(KORVAL_BUILD_DIR "tools\\VANSHOW.EXE", (folder + "VANSHOW.EXE").c_str(), FALSE))
                << "stand-in player not built, or no room for it in " << folder;
        }
        Unregister();
        if (!catalogue.registeredPlay.empty()) {
            const std::string& command = catalogue.registeredPlay;
            RegSetValueA(HKEY_CLASSES_ROOT, "vAnimation\\shell\\open\\command", REG_SZ, command.c_str(),
                         static_cast<DWORD>(command.size()));
        }
    }

    static const hostile::Catalogue& Catalogue() { return AllCatalogues()[GetParam()]; }

    // Play on `play.row`: the player started with the expected command line, or
    // nothing started and message 208 shown.
    static void CheckPlay(const KorvalRun& run, HWND window, HWND list, const hostile::PlayCheck& play)
    {
        SCOPED_TRACE("Play on row " + std::to_string(play.row));
        DeleteFileA(LogPath().c_str());
        ASSERT_TRUE(SelectRow(window, list, play.row));
        ASSERT_TRUE(PostMessageA(window, WM_COMMAND, ID_PLAY, 0));
        HWND box = nullptr;
        std::vector<std::string> started;
        DWORD begin = GetTickCount();
        while (GetTickCount() - begin < kStepMilliseconds) {
            started = StartedCommandLines();
            box = MessageBoxOf(run.Id());
            if (!started.empty() || box != nullptr)
                break;
            Sleep(20);
        }
        if (play.commandLine.empty()) {
            ASSERT_NE(box, nullptr) << "neither a start nor message 208";
            char text[512] = "";
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            EXPECT_EQ(std::string(text), kProgramMissing);
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            Sleep(200);
            EXPECT_TRUE(StartedCommandLines().empty());
        } else {
            EXPECT_EQ(box, nullptr) << "message: " << (box != nullptr ? TextOf(box) : "");
            ASSERT_EQ(started.size(), 1u);
            EXPECT_EQ(started[0], play.commandLine);
        }
    }
};

// "Selektieren...": every keyword chosen, linked with "Und" or "Oder"; then
// the list holds `expectedRows`, or nothing passes: message 209 and every row back.
void CheckKeywordSelection(const KorvalRun& run, HWND window, HWND list, bool matchAll, int expectedRows,
                           int allRows)
{
    SCOPED_TRACE(matchAll ? "every keyword with Und" : "every keyword with Oder");
    ASSERT_TRUE(PostMessageA(window, WM_COMMAND, ID_SELECT, 0));
    HWND dialog = nullptr;
    DWORD begin = GetTickCount();
    while ((dialog = KeywordDialogOf(run.Id())) == nullptr && GetTickCount() - begin < kStepMilliseconds)
        Sleep(20);
    ASSERT_NE(dialog, nullptr) << "no keyword dialog";
    HWND keywords = GetDlgItem(dialog, ID_KEYWORD_LIST);
    int count = RowCount(keywords);
    ASSERT_GT(count, 0);
    ASSERT_TRUE(Send(keywords, LB_SELITEMRANGE, TRUE, MAKELPARAM(0, count - 1)));
    ASSERT_TRUE(Send(GetDlgItem(dialog, ID_MATCH_ANY), BM_SETCHECK, matchAll ? BST_UNCHECKED : BST_CHECKED, 0));
    ASSERT_TRUE(Send(GetDlgItem(dialog, ID_MATCH_ALL), BM_SETCHECK, matchAll ? BST_CHECKED : BST_UNCHECKED, 0));
    // Posted: the refill after OK may show a message, which a sent OK would wait for.
    ASSERT_TRUE(PostMessageA(dialog, WM_COMMAND, IDOK, 0));
    if (expectedRows == 0) {
        HWND box = nullptr;
        begin = GetTickCount();
        while ((box = MessageBoxOf(run.Id())) == nullptr && GetTickCount() - begin < kStepMilliseconds)
            Sleep(20);
        ASSERT_NE(box, nullptr) << "no message 209";
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        expectedRows = allRows;
    }
    begin = GetTickCount();
    while ((IsWindow(dialog) || RowCount(list) != expectedRows) && GetTickCount() - begin < kStepMilliseconds)
        Sleep(20);
    EXPECT_EQ(RowCount(list), expectedRows);
}

TEST_P(HostileCatalogue, OpensShowsWhatItShouldAndEndsWithExitCode0)
{
    const hostile::Catalogue& catalogue = Catalogue();
    KorvalRun run(catalogue.folder);
    ASSERT_NE(run.Process(), nullptr) << "KORVAL.EXE did not start";

    HWND window = nullptr;
    HWND box = nullptr;
    while (run.Elapsed() < kWindowUpMilliseconds && !run.Ended()) {
        if ((window = WindowOf(run.Id(), "VRKORVAL")) != nullptr || (box = MessageBoxOf(run.Id())) != nullptr)
            break;
        Sleep(10);
    }
    const DWORD upAfter = run.Elapsed();
    RecordProperty("milliseconds_to_window", static_cast<int>(upAfter));
    ASSERT_FALSE(run.Ended()) << "ended before showing anything, exit code " << WaitExitCode(run.Process(), 0);

    if (catalogue.rows == hostile::kMediumPrompt) {
        ASSERT_NE(box, nullptr) << "no prompt for the medium within " << kWindowUpMilliseconds << " ms";
        char text[512] = "";
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        EXPECT_EQ(std::string(text).rfind("Bitte legen Sie die CD-ROM mit der Datei '", 0), 0u) << text;
        EXPECT_NE(GetDlgItem(box, IDRETRY), nullptr);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        EXPECT_EQ(WaitExitCode(run.Process(), kStepMilliseconds), 0);
        return;
    }

    ASSERT_NE(window, nullptr) << "no main window within " << kWindowUpMilliseconds << " ms"
                               << (box != nullptr ? ", a message instead: " + TextOf(box) : "");
    HWND list = GetDlgItem(window, ID_LIST);
    if (catalogue.rows == hostile::kNoList) {
        EXPECT_EQ(list, nullptr) << RowCount(list) << " rows";
        RecordProperty("rows", "no list");
        // Without a list the commands find nothing to act on.
        for (int command : {ID_SORT_AUTHOR, ID_SORT_DATE, ID_PLAY, ID_COPY})
            EXPECT_TRUE(Send(window, WM_COMMAND, command, 0));
    } else {
        ASSERT_NE(list, nullptr) << "no list";
        EXPECT_EQ(RowCount(list), catalogue.rows);
        RecordProperty("rows", RowCount(list));
        // Every order builds its keys from the records; every row is selected,
        // drawn and its path composed for the status bar.
        for (int order : {ID_SORT_AUTHOR, ID_SORT_FILE, ID_SORT_DATE, ID_SORT_TITLE}) {
            ASSERT_TRUE(Send(window, WM_COMMAND, order, 0)) << "order " << order;
            EXPECT_EQ(RowCount(list), catalogue.rows) << "order " << order;
        }
        for (int row = 0; row < catalogue.rows; ++row)
            ASSERT_TRUE(SelectRow(window, list, row)) << "row " << row;
        for (const hostile::PlayCheck& play : catalogue.plays)
            CheckPlay(run, window, list, play);
        if (catalogue.rowsWithAnyKeyword >= 0) {
            CheckKeywordSelection(run, window, list, false, catalogue.rowsWithAnyKeyword, catalogue.rows);
            CheckKeywordSelection(run, window, list, true, catalogue.rowsWithAllKeywords, catalogue.rows);
        }
    }

    ASSERT_FALSE(run.Ended()) << "exit code " << WaitExitCode(run.Process(), 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitExitCode(run.Process(), kStepMilliseconds), 0);
}

INSTANTIATE_TEST_SUITE_P(Files, HostileCatalogue, ::testing::Range<std::size_t>(0, AllCatalogues().size()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             return AllCatalogues()[info.param].name;
                         });

} // namespace
