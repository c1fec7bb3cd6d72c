// korval-bench: KORVAL under the platform, measured in one run on the full
// catalogue. Prints markdown table rows:
// - KORVAL.EXE against a program with one empty window, started in turns
//   (pairs, the order changing from pair to pair): the time from process start
//   to the first paint of each, and the ratio pair by pair, its median and
//   quartiles, so that a drift of the machine's speed touches both alike;
// - LoadCatalogue, a refill of the list in each order, and a paint of the
//   list's frame;
// - then a table of the steps of KORVAL's own start, from the benchmark build
//   tools\marked\KORVAL.EXE, which records them (KORVAL.EXE does not), beside
//   the empty window's benchmark build.
// - the preview: from F3 until the popup shows the first frame of a
//   320 x 200 FLC, painted; beside it, in turns, its floor: an empty popup of
//   the same size shown as the preview shows itself, and the difference;
// - the viewer: one 640 x 480 frame from its colour indices onto the window
//   at 100 % at 96 and at 192 DPI (1280 x 960 pixels);
//   korval-bench [RUNS] [FOLDER]
// RUNS (default 21) pairs, and runs per measure; FOLDER (default T:\BENCH\)
// receives the catalogues.
#include "app/layout.h"
#include "app/start_marks.h"
#include "base/instance.h"
#include "base/text.h"
#include "catalogue/catalogue_file.h"
#include "catalogue/settings.h"
#include "catalogue/store.h"
#include "res/resource.h"
#include "tests/support/flc_writer.h"
#include "tools/bench/full_catalogue.h"
#include "view/animation_list.h"
#include "view/list_order.h"
#include "watch/preview_player.h"
#include "watch/preview_popup.h"
#include "watch/reading_thread.h"
#include "watch/viewer_geometry.h"
#include "watch/viewer_window.h"
#include "view/row_drawing.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
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

// The value at fraction `at` (0 to 1) of the sorted values, between
// neighbours in proportion: 0.5 is the median, 0.25 and 0.75 the quartiles.
double Quantile(std::vector<double> values, double at)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    double position = at * static_cast<double>(values.size() - 1);
    std::size_t below = static_cast<std::size_t>(position);
    if (below + 1 >= values.size())
        return values.back();
    double part = position - static_cast<double>(below);
    return values[below] + (values[below + 1] - values[below]) * part;
}

double Median(const std::vector<double>& values)
{
    return Quantile(values, 0.5);
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

// Whether a tooltip window owned by `window` exists.
bool HasTooltips(HWND window)
{
    struct Search {
        HWND owner;
        bool found;
    } search = {window, false};
    EnumWindows([](HWND candidate, LPARAM context) {
        auto* search = reinterpret_cast<Search*>(context);
        char className[64] = "";
        GetClassNameA(candidate, className, sizeof className);
        if (GetWindow(candidate, GW_OWNER) == search->owner && lstrcmpiA(className, "tooltips_class32") == 0)
            search->found = true;
        return TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Milliseconds from CreateProcess until the program's window of `className`
// is visible and the program waits for input, its first paint done; -1 when
// it does not get there. The program is closed and must end with exit code 0.
// `started`, when given, receives the performance counter's reading (in ms)
// taken just before CreateProcess. With `awaitTooltips` the window is closed
// only once its tooltips exist (they are made after the start).
double StartToFirstPaint(const std::string& commandLine, const char* className, double* started = nullptr,
                         bool awaitTooltips = false)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    double start = Now();
    if (started != nullptr)
        *started = start;
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
    while (window != nullptr && awaitTooltips && !HasTooltips(window) && Now() - start < 20000.0)
        Sleep(1);
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

void Fail(const char* what)
{
    std::fprintf(stderr, "korval-bench: %s\n", what);
    std::exit(1);
}

// KORVAL.EXE and the empty window in pairs: one start of each, the order
// changing from pair to pair, so that neither always comes first.
void MeasureStarts(const std::string& folder, int pairs)
{
    const std::string korval = "\"" + OwnFolder() + "..\\KORVAL.EXE\" " + folder;
    const std::string empty = "\"" + OwnFolder() + "bench-empty-window.exe\"";
    // One start of each first, so that neither pays for loading the platform's libraries.
    StartToFirstPaint(korval, "VRKORVAL");
    StartToFirstPaint(empty, "KORVALBENCHEMPTY");
    std::vector<double> korvalTimes;
    std::vector<double> emptyTimes;
    std::vector<double> ratios;
    for (int i = 0; i < pairs; ++i) {
        double k = 0.0;
        double e = 0.0;
        if (i % 2 == 0) {
            k = StartToFirstPaint(korval, "VRKORVAL");
            e = StartToFirstPaint(empty, "KORVALBENCHEMPTY");
        } else {
            e = StartToFirstPaint(empty, "KORVALBENCHEMPTY");
            k = StartToFirstPaint(korval, "VRKORVAL");
        }
        if (k < 0 || e < 0)
            Fail("a start did not reach its first paint or did not end with 0");
        korvalTimes.push_back(k);
        emptyTimes.push_back(e);
        ratios.push_back(k / e);
    }
    Row("Start to first paint: KORVAL.EXE, full catalogue", Median(korvalTimes), pairs);
    Row("Start to first paint: one empty window", Median(emptyTimes), pairs);
    std::printf("| %-52s | %13.2f | %5d |\n", "Ratio KORVAL.EXE / empty window, median of pairs", Median(ratios),
                pairs);
    std::printf("| %-52s | %6.2f - %4.2f | %5d |\n", "Ratio KORVAL.EXE / empty window, quartiles", Quantile(ratios, 0.25),
                Quantile(ratios, 0.75), pairs);
    std::fflush(stdout);
}

// The points the benchmark build records, as "number milliseconds" lines.
bool ReadMarks(const std::string& path, std::vector<double>& marks)
{
    FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr)
        return false;
    marks.assign(static_cast<std::size_t>(StartMark::Count), -1.0);
    int number = 0;
    double milliseconds = 0.0;
    while (std::fscanf(file, "%d %lf", &number, &milliseconds) == 2)
        if (number >= 0 && number < static_cast<int>(StartMark::Count))
            marks[static_cast<std::size_t>(number)] = milliseconds;
    std::fclose(file);
    return std::none_of(marks.begin(), marks.end(), [](double mark) { return mark < 0.0; });
}

// One benchmark build's start, step by step: the time up to each point of
// the start from the one before (the first from CreateProcess), the rest until
// the driver sees the window idle (the message loop, the driver's polling),
// and after the start, from the first paint until the tooltips are made.
struct StartSteps {
    StartSteps(std::string line, const char* windowClass, bool hasTooltips)
        : commandLine(std::move(line)), className(windowClass), tooltips(hasTooltips), times(kRows)
    {
    }

    static constexpr std::size_t kFirstPaint = static_cast<std::size_t>(StartMark::FirstPaintDone);
    static constexpr std::size_t kSeenIdle = kFirstPaint + 1;
    static constexpr std::size_t kTooltips = kFirstPaint + 2;
    static constexpr std::size_t kRows = kFirstPaint + 3;

    std::string commandLine;
    const char* className;
    bool tooltips;
    std::vector<std::vector<double>> times;
    std::vector<double> whole;

    void Run(const std::string& marksFile)
    {
        DeleteFileA(marksFile.c_str());
        double started = 0.0;
        double seen = StartToFirstPaint(commandLine, className, &started, tooltips);
        std::vector<double> marks;
        if (seen < 0 || !ReadMarks(marksFile, marks))
            Fail("a benchmark build did not report its start");
        double previous = started;
        for (std::size_t point = 0; point <= kFirstPaint; ++point) {
            times[point].push_back(marks[point] - previous);
            previous = marks[point];
        }
        times[kSeenIdle].push_back(seen - (previous - started));
        times[kTooltips].push_back(marks[static_cast<std::size_t>(StartMark::TooltipsMade)] - previous);
        whole.push_back(seen);
    }
};

// KORVAL's own start from its benchmark build, beside the empty window's
// benchmark build (which passes the points it has not at once), in pairs.
void MeasureStartSteps(const std::string& folder, int pairs)
{
    const std::string marksFile = folder + "START-MARKS.TXT";
    SetEnvironmentVariableA("KORVAL_START_MARKS", marksFile.c_str());
    const std::string korvalLine = "\"" + OwnFolder() + "marked\\KORVAL.EXE\" " + folder;
    const std::string emptyLine = "\"" + OwnFolder() + "marked\\bench-empty-window.exe\"";
    // One start of each first, not counted.
    StartSteps(korvalLine, "VRKORVAL", true).Run(marksFile);
    StartSteps(emptyLine, "KORVALBENCHEMPTY", false).Run(marksFile);
    StartSteps korval(korvalLine, "VRKORVAL", true);
    StartSteps empty(emptyLine, "KORVALBENCHEMPTY", false);
    for (int i = 0; i < pairs; ++i) {
        StartSteps& first = i % 2 == 0 ? korval : empty;
        StartSteps& second = i % 2 == 0 ? empty : korval;
        first.Run(marksFile);
        second.Run(marksFile);
    }
    SetEnvironmentVariableA("KORVAL_START_MARKS", nullptr);

    const char* const steps[] = {
        "process start to entry point",
        "entry point to WM_CREATE (catalogue found, classes)",
        "WM_CREATE to catalogue loaded (pictures, buttons)",
        "catalogue loaded to controls placed",
        "controls placed to list filled",
        "list filled to window created",
        "window created to first paint done",
        "first paint done to seen idle by the driver",
    };
    static_assert(sizeof steps / sizeof steps[0] == StartSteps::kSeenIdle + 1, "one name per step");
    std::printf("\n| Step of the start (benchmark builds, median) | KORVAL | Empty window | Pairs |\n");
    std::printf("|---|---:|---:|---:|\n");
    for (std::size_t step = 0; step <= StartSteps::kSeenIdle; ++step)
        std::printf("| %-52s | %7.1f ms | %7.1f ms | %5d |\n", steps[step], Median(korval.times[step]),
                    Median(empty.times[step]), pairs);
    std::printf("| %-52s | %7.1f ms | %7.1f ms | %5d |\n", "whole: process start to seen idle", Median(korval.whole),
                Median(empty.whole), pairs);
    std::printf("| %-52s | %7.1f ms | %10s | %5d |\n", "after the start: first paint done to tooltips made",
                Median(korval.times[StartSteps::kTooltips]), "none", pairs);
    std::fflush(stdout);
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
    // The main window's first client area, the list where the main window puts it.
    const Placement client = InitialClientArea(kBaseDpi, GetSystemMetrics(SM_CYVSCROLL));
    RECT outer = {0, 0, client.width, client.height};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
    HWND parent = CreateWindowA("KorvalBenchParent", "", WS_OVERLAPPEDWINDOW, 0, 0, outer.right - outer.left,
                                outer.bottom - outer.top, nullptr, nullptr, ModuleInstance, nullptr);
    LoadRowLabels();
    CreateAnimationList(parent, ID_LIST);
    HWND list = GetDlgItem(parent, ID_LIST);
    const Placement place = ComputeMainLayout(client.width, client.height, kBaseDpi).list;
    SetWindowPos(list, nullptr, place.x, place.y, place.width, place.height, SWP_NOZORDER);
    // Shown, as the user meets it: a refill counts until the list is drawn again.
    ShowWindow(parent, SW_SHOW);
    UpdateWindow(parent);
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
    // The list's frame: its border and both scroll bars, which the platform
    // draws (under Wine in the theme's pictures) at every first paint.
    std::vector<double> frames;
    for (int i = 0; i < runs; ++i) {
        double start = Now();
        SendMessageA(list, WM_NCPAINT, 1, 0);
        frames.push_back(Now() - start);
    }
    Row("List frame painted (border, both scroll bars)", Median(frames), runs);
    DestroyWindow(parent);
    ReleaseListResources();
}

// The floor under the preview: a popup of the preview's styles, made hidden
// with no size, then placed, shown without activation and painted (one fill
// of the tooltip colour), as the preview shows itself; the time until
// UpdateWindow returns. The window is destroyed untimed.
LRESULT CALLBACK FloorPopupProc(HWND popup, UINT message, WPARAM wordParam, LPARAM longParam)
{
    switch (message) {
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(popup, &paint);
        RECT client;
        GetClientRect(popup, &client);
        FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
        EndPaint(popup, &paint);
        return 0;
    }
    default:
        return DefWindowProcA(popup, message, wordParam, longParam);
    }
}

double ShowEmptyPopup(HWND owner, const RECT& box)
{
    double start = Now();
    HWND popup = CreateWindowExA(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, "KorvalBenchPopup", "", WS_POPUP | WS_BORDER, 0, 0,
                                 0, 0, owner, nullptr, ModuleInstance, nullptr);
    if (popup == nullptr)
        Fail("the empty popup was not made");
    SetWindowPos(popup, nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(popup, nullptr, FALSE);
    ShowWindow(popup, SW_SHOWNOACTIVATE);
    UpdateWindow(popup);
    double elapsed = Now() - start;
    DestroyWindow(popup);
    return elapsed;
}

// F3 on the first row, whose file is a 320 x 200 FLC of 24 frames: the time
// until the popup is on the screen with the first frame painted (it paints
// itself as it shows). The reading thread of each run has ended before the
// next. Each run is followed by one of the floor at the popup's place and
// size, and the difference is taken run by run.
void MeasurePreview(const std::string& folder, int runs)
{
    CopyText(CataloguePath, (folder + "KORVAL.INI").c_str());
    ClearCatalogue();
    LoadCatalogue();
    ResolveFolderSetting(IDS_SETTINGS, IDS_BASE_PATH, BasePath, 0);
    HWND parent = CreateWindowA("KorvalBenchParent", "", WS_OVERLAPPEDWINDOW, 0, 0, 600, 500, nullptr, nullptr,
                                ModuleInstance, nullptr);
    LoadRowLabels();
    CreateAnimationList(parent, ID_LIST);
    HWND list = GetDlgItem(parent, ID_LIST);
    SetWindowPos(list, nullptr, 0, 32, 580, 400, SWP_NOZORDER);
    WatchListForPreview(list, kBaseDpi);
    PrepareReadingThread();     // as the program does once its start is done
    ShowWindow(parent, SW_SHOW);
    UpdateWindow(parent);
    FillAnimationList(parent, ID_LIST, kSortByTitle);
    SendMessageA(list, LB_SETCURSEL, 0, 0);

    // The row's file, with the folders it lies in.
    std::string path = SelectedAnimationPath(parent, ID_LIST, 0);
    for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    if (!WriteWholeFile(path, flc_writer::GradientFlc(320, 200, 24, 100)))
        Fail("cannot write the preview's animation");

    WNDCLASSA popupClass = {};
    popupClass.lpfnWndProc = FloorPopupProc;
    popupClass.hInstance = ModuleInstance;
    popupClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    popupClass.lpszClassName = "KorvalBenchPopup";
    RegisterClassA(&popupClass);

    std::vector<double> times;
    std::vector<double> floors;
    std::vector<double> above;
    for (int i = 0; i < runs; ++i) {
        double start = Now();
        TogglePreview(parent, ID_LIST);
        MSG message;
        while (PreviewWindow() == nullptr || !IsWindowVisible(PreviewWindow())) {
            if (PreviewWindow() == nullptr || Now() - start > 10000.0)
                Fail("the preview did not show");
            if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            } else {
                WaitMessage();
            }
        }
        times.push_back(Now() - start);
        RECT box;
        GetWindowRect(PreviewWindow(), &box);
        TogglePreview(parent, ID_LIST);
        while (PreviewPlayer::LiveThreads() != 0)
            Sleep(1);
        floors.push_back(ShowEmptyPopup(parent, box));
        above.push_back(times.back() - floors.back());
    }
    Row("Preview: F3 to first frame on screen, 320 x 200 FLC", Median(times), runs);
    Row("Preview's floor: an empty popup of its size shown", Median(floors), runs);
    Row("Preview: F3 to first frame less the floor (by run)", Median(above), runs);
    DestroyWindow(parent);
    ReleaseListResources();
}

// The viewer's paint of one 640 x 480 frame into its window at 100 %, as
// its WM_PAINT does it, the drawing flushed; frames of two pictures by
// turns, so nothing of one paint is left for the next. Each run times 20
// paints and counts their mean.
void MeasureViewerFrame(int runs)
{
    constexpr int kWidth = 640;
    constexpr int kHeight = 480;
    constexpr int kPaints = 20;
    ViewerFrame frames[2];
    for (int n = 0; n < 2; ++n) {
        ViewerFrame& frame = frames[n];
        frame.width = kWidth;
        frame.height = kHeight;
        frame.stride = kWidth;
        frame.number = n + 1;
        frame.capacity = static_cast<std::size_t>(kWidth) * kHeight;
        frame.indices.reset(new std::uint8_t[frame.capacity]);
        std::vector<std::uint8_t> picture = flc_writer::Gradient(kWidth, kHeight, n);
        std::copy(picture.begin(), picture.end(), frame.indices.get());
        std::vector<std::uint8_t> palette = flc_writer::RampPalette();
        std::copy(palette.begin(), palette.end(), frame.palette);
    }
    for (int dpi : {96, 192}) {
        ViewerSize shown = ViewerBaseSize(kWidth, kHeight, false, dpi);
        HWND window = CreateWindowA("KorvalBenchParent", "", WS_POPUP, 0, 0, shown.width, shown.height, nullptr,
                                    nullptr, ModuleInstance, nullptr);
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
        const RECT area = {0, 0, shown.width, shown.height};
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            double start = Now();
            for (int n = 0; n < kPaints; ++n) {
                HDC dc = GetDC(window);
                PaintViewerPicture(dc, area, &frames[n % 2], area, L"");
                GdiFlush();
                ReleaseDC(window, dc);
            }
            times.push_back((Now() - start) / kPaints);
        }
        Row("Viewer: a 640 x 480 frame to the window at " + std::to_string(dpi) + " DPI", Median(times), runs);
        DestroyWindow(window);
    }
}

} // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? std::atoi(argv[1]) : 21;
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
    MeasurePreview(folder, runs);
    MeasureViewerFrame(runs);
    MeasureStartSteps(folder, runs);
    return 0;
}
