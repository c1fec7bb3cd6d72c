// Helpers of the Win32 tests: message boxes answered by a watcher thread,
// scratch files on drive T:, child processes.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// One message box as a user saw it.
struct SeenBox {
    std::string caption;
    std::string text;
    bool hasRetry = false;
    bool hasCancel = false;
    bool hasOk = false;
};

// Watches for message boxes of this process; for each one it records what it
// shows and presses the button that `answer` chooses (IDOK, IDRETRY, ...).
class BoxWatcher {
public:
    using Answer = std::function<int(const SeenBox& box, int boxNumber)>;
    // With a caption, only boxes of that caption count (a dialog of the
    // program's own may look like a box to the watcher).
    explicit BoxWatcher(Answer answer, std::string caption = "");
    ~BoxWatcher();
    std::vector<SeenBox> Boxes();

private:
    void Watch();
    Answer answer_;
    std::string caption_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<SeenBox> boxes_;
    std::thread thread_;
};

// Watches for dialogs of this process captioned `caption`; runs `act` on each
// new one from the watcher's thread (it answers by sending or posting
// messages to the dialog's controls and must end the dialog).
class DialogWatcher {
public:
    using Act = std::function<void(HWND dialog, int dialogNumber)>;
    DialogWatcher(std::string caption, Act act);
    ~DialogWatcher();
    int Count() const { return count_; }

private:
    void Watch();
    std::string caption_;
    Act act_;
    std::atomic<bool> stop_{false};
    std::atomic<int> count_{0};
    std::thread thread_;
};

// Writes `content` to `path` byte for byte, making missing folders.
void WriteFileBytes(const std::string& path, const std::string& content);
// A file's bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
void RemoveFile(const std::string& path);
// An empty scratch folder T:\<name>\ (emptied if it exists); returns it with its backslash.
std::string ScratchFolder(const std::string& name);

// This test program's own file name without folder and extension.
std::string ModuleBaseName();

// Starts a program; returns its process handle (null on failure).
HANDLE StartProgram(const std::string& commandLine);
// Waits for a process to end; its exit code, or -1 on timeout.
long WaitExitCode(HANDLE process, DWORD milliseconds);

// A started program that a failed test leaves behind is ended when the test
// ends, so that no later test finds it as the running instance.
class RunningProgram {
public:
    explicit RunningProgram(const std::string& commandLine) : process_(StartProgram(commandLine)) {}
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    HANDLE Handle() const { return process_; }

private:
    HANDLE process_;
};

// Waits until `condition` holds, pumping this thread's messages meanwhile.
bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds);

// The limit of a wait for what must come (a window, a picture, a thread's
// end, a process's exit): only a safety net, far beyond what it takes even
// while the machine runs other builds. A test waits for the event, never for
// a time it guessed would be enough.
constexpr DWORD kPatience = 120000;

// Dispatches every message waiting for this thread.
void Pump();

// The full path of KORVAL.EXE in the build folder.
std::string KorvalExePath();

// Runs korval-probe (tools/probe) with `steps` against the running KORVAL,
// its report written to the file `report`; its exit code (0 when every step
// held), and the report in `output`.
long RunProbe(const std::string& steps, const std::string& report, std::string& output);

// The display's DPI as the desktop's settings give it to every program
// started from now on (Wine reads it when a program starts); the value
// before is put back when the test ends.
class DisplayDpi {
public:
    explicit DisplayDpi(DWORD dpi);
    ~DisplayDpi();
    DisplayDpi(const DisplayDpi&) = delete;
    DisplayDpi& operator=(const DisplayDpi&) = delete;

private:
    HKEY key_ = nullptr;
    DWORD before_ = 0;
    bool had_ = false;
};

// This process's committed memory (Wine leaves PrivateUsage at 0).
SIZE_T CommittedBytes();
