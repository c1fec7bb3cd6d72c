// korval-bench: KORVAL under the platform, measured in one run on the full
// catalogue. Prints markdown table rows: the median time from process start
// to the first paint of KORVAL.EXE and of a program with one empty window
// (and their ratio), LoadCatalogue, and a refill of the list in each order.
//   korval-bench [RUNS] [FOLDER]
// RUNS (default 15) per measure; FOLDER (default T:\BENCH\) receives the catalogues.
#include "base/instance.h"
#include "base/text.h"
#include "catalogue/catalogue_file.h"
#include "catalogue/settings.h"
#include "catalogue/store.h"
#include "res/resource.h"
#include "tools/bench/full_catalogue.h"
#include "view/animation_list.h"
#include "view/list_order.h"
#include "view/row_drawing.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

void Row(const std::string& measure, double milliseconds, int runs)
{
    if (milliseconds >= 1.0)
        std::printf("| %-52s | %10.1f ms | %5d |\n", measure.c_str(), milliseconds, runs);
    else
        std::printf("| %-52s | %10.1f us | %5d |\n", measure.c_str(), milliseconds * 1000.0, runs);
    std::fflush(stdout);
}

bool WriteWholeFile(const std::string& path, const std::string& content)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool whole = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr)
        && written == content.size();
    CloseHandle(file);
    return whole;
}

std::string OwnFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

// Milliseconds from CreateProcess until the program's window of `className`
// is visible and the program waits for input, its first paint done; -1 when
// it does not get there. The program is closed and must end with exit code 0.
double StartToFirstPaint(const std::string& commandLine, const char* className)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    double start = Now();
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1.0;
    WaitForInputIdle(process.hProcess, 20000);
    HWND window = nullptr;
    while ((window = FindWindowA(className, nullptr)) == nullptr || !IsWindowVisible(window)) {
        if (Now() - start > 20000.0)
            break;
        Sleep(1);
    }
    double elapsed = Now() - start;
    if (window != nullptr)
        PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 1;
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return window != nullptr && code == 0 ? elapsed : -1.0;
}

void MeasureStarts(const std::string& folder, int runs)
{
    const std::string korval = "\"" + OwnFolder() + "..\\KORVAL.EXE\" " + folder;
    const std::string empty = "\"" + OwnFolder() + "bench-empty-window.exe\"";
    // One start of each first, so that neither pays for loading the platform's libraries.
    StartToFirstPaint(korval, "VRKORVAL");
    StartToFirstPaint(empty, "KORVALBENCHEMPTY");
    std::vector<double> korvalTimes;
    std::vector<double> emptyTimes;
    for (int i = 0; i < runs; ++i) {
        double k = StartToFirstPaint(korval, "VRKORVAL");
        double e = StartToFirstPaint(empty, "KORVALBENCHEMPTY");
        if (k < 0 || e < 0) {
            std::fprintf(stderr, "korval-bench: a start did not reach its first paint or did not end with 0\n");
            std::exit(1);
        }
        korvalTimes.push_back(k);
        emptyTimes.push_back(e);
    }
    double k = Median(korvalTimes);
    double e = Median(emptyTimes);
    Row("Start to first paint: KORVAL.EXE, full catalogue", k, runs);
    Row("Start to first paint: one empty window", e, runs);
    std::printf("| %-52s | %13.2f | %5d |\n", "Ratio KORVAL.EXE / empty window", k / e, runs);
}

// Each load reads a copy of its own: KORVAL reads its catalogue once per run,
// and the platform may keep a file it has read before.
void MeasureLoads(const std::string& folder, const std::string& text, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        std::string copy = folder + "COPY" + std::to_string(i);
        CreateDirectoryA(copy.c_str(), nullptr);
        std::string path = copy + "\\KORVAL.INI";
        WriteWholeFile(path, text);
        CopyText(CataloguePath, path.c_str());
        ClearCatalogue();
        double start = Now();
        int loaded = LoadCatalogue();
        times.push_back(Now() - start);
        if (!loaded || AnimationCount != 200) {
            std::fprintf(stderr, "korval-bench: the full catalogue did not load\n");
            std::exit(1);
        }
    }
    Row("LoadCatalogue, full catalogue", Median(times), runs);
}

void MeasureRefills(const std::string& folder, int runs)
{
    CopyText(CataloguePath, (folder + "KORVAL.INI").c_str());
    ClearCatalogue();
    LoadCatalogue();
    ResolveFolderSetting(IDS_SETTINGS, IDS_BASE_PATH, BasePath, 0);

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = ModuleInstance;
    windowClass.lpszClassName = "KorvalBenchParent";
    RegisterClassA(&windowClass);
    HWND parent = CreateWindowA("KorvalBenchParent", "", WS_OVERLAPPEDWINDOW, 0, 0, 520, 500, nullptr, nullptr,
                                ModuleInstance, nullptr);
    LoadRowLabels();
    CreateAnimationList(parent, ID_LIST);
    // Shown, as the user meets it: a refill counts until the list is drawn again.
    ShowWindow(parent, SW_SHOW);
    UpdateWindow(parent);
    HWND list = GetDlgItem(parent, ID_LIST);
    const char* const names[] = {"title", "author", "file", "date"};
    for (int order = kSortByTitle; order <= kSortByDate; ++order) {
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            double start = Now();
            int rows = FillAnimationList(parent, ID_LIST, order);
            UpdateWindow(list);
            times.push_back(Now() - start);
            if (rows != 200) {
                std::fprintf(stderr, "korval-bench: the list holds %d rows, not 200\n", rows);
                std::exit(1);
            }
        }
        Row(std::string("FillAnimationList, 200 rows by ") + names[order], Median(times), runs);
    }
    DestroyWindow(parent);
    ReleaseListResources();
}

} // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? std::atoi(argv[1]) : 15;
    std::string folder = argc > 2 ? argv[2] : "T:\\BENCH\\";
    if (runs < 1)
        runs = 1;
    if (folder.back() != '\\')
        folder += '\\';
    SetModuleInstance(GetModuleHandleA(nullptr));

    const std::string text = bench::FullCatalogueText();
    CreateDirectoryA(folder.c_str(), nullptr);
    if (!WriteWholeFile(folder + "KORVAL.INI", text)) {
        std::fprintf(stderr, "korval-bench: cannot write %sKORVAL.INI\n", folder.c_str());
        return 1;
    }
    MeasureStarts(folder, runs);
    MeasureLoads(folder, text, runs);
    MeasureRefills(folder, runs);
    return 0;
}
