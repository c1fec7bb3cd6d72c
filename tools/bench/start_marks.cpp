// The benchmark build's record of KORVAL's start: each point's time on the
// performance counter, which all processes share, so the driver that started
// the program can subtract its own reading taken before CreateProcess.
// Written when the first paint is done to the file named by the environment
// variable KORVAL_START_MARKS, one line per point: its number and milliseconds.
// A point a program does not pass (the empty window loads no catalogue) is
// reported at the one before it, a step of no length.
#include "app/start_marks.h"

#include <windows.h>

#include <cstdio>

namespace {

double Marks[static_cast<int>(StartMark::Count)];

double NowMilliseconds()
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

} // namespace

void MarkStart(StartMark mark)
{
    Marks[static_cast<int>(mark)] = NowMilliseconds();
}

void ReportStartMarks()
{
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("KORVAL_START_MARKS", path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return;
    FILE* file = std::fopen(path, "w");
    if (file == nullptr)
        return;
    for (int n = 0; n < static_cast<int>(StartMark::Count); ++n) {
        if (Marks[n] == 0.0 && n > 0)
            Marks[n] = Marks[n - 1];
        std::fprintf(file, "%d %.4f\n", n, Marks[n]);
    }
    std::fclose(file);
}
