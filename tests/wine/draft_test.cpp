// A catalogue drafted by korval-check --draft from the demo medium's
// animation folder, saved as KORVAL.INI and loaded by the real KORVAL.EXE,
// driven from outside by korval-probe: every file is a row, with the file's
// own date and size.
#include "base/text.h"
#include "harness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Runs `commandLine` with its standard output going into the file `output`;
// its exit code, or a negative number when it could not be run.
long RunInto(const std::string& commandLine, const std::string& output)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE file = CreateFileA(output.c_str(), GENERIC_WRITE, 0, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return -3;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = file;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(file);
    if (!started)
        return -2;
    CloseHandle(process.hThread);
    long code = WaitExitCode(process.hProcess, 60000);
    CloseHandle(process.hProcess);
    return code;
}

std::string Upper(std::string text)
{
    CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// The file's last change as the draft should date it: the local day.
std::string DayOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    FILETIME local;
    SYSTEMTIME time;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)
        || !FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &time))
        return "?";
    char text[16];
    if (!FormatText(text, "%02u.%02u.%04u", time.wDay, time.wMonth, time.wYear))
        return "?";
    return text;
}

// Its size in KB, rounded up.
std::string KbOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return "?";
    unsigned long long size = static_cast<unsigned long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    return std::to_string((size + 1023) / 1024) + " KB";
}

TEST(DraftedCatalogue, LoadsInKorvalWithARowPerAnimation)
{
    const std::string folder = ScratchFolder("draft");
    const std::string animations = std::string(KORVAL_SOURCE_DIR) + "examples\\medium\\ANIM";
    const std::string check = std::string(KORVAL_BUILD_DIR) + "tools\\korval_check\\korval-check.exe";
    ASSERT_EQ(RunInto("\"" + check + "\" --draft " + animations, folder + "KORVAL.INI"), 0);

    // Lines end in CR LF, not in the CR CR LF a text-mode output would make.
    std::string draft = ReadFileBytes(folder + "KORVAL.INI");
    ASSERT_FALSE(draft.empty());
    EXPECT_EQ(draft.find("\r\r"), std::string::npos);
    // The checker finds nothing in it where it stands.
    EXPECT_EQ(RunInto("\"" + check + "\" " + folder, folder + "check.txt"), 0) << ReadFileBytes(folder + "check.txt");

    // The demo's files in title order (the titles are their names, which are
    // in capitals), each with the folder above it as its keyword.
    struct Row {
        const char* file;
        const char* keyword;
    };
    const Row rows[] = {
        {"BALL.FLC", ""},           {"TECHNIK\\BALLON.FLC", "TECHNIK"}, {"NATUR\\FISCH.FLC", "NATUR"},
        {"JONGLEUR.FLC", ""},       {"WELTALL\\MOND.FLC", "WELTALL"},  {"NATUR\\MUEHLE.FLC", "NATUR"},
        {"NOTEN.FLC", ""},          {"TIERE\\PFERD.FLC", "TIERE"},     {"WELTALL\\PLANETEN.FLC", "WELTALL"},
        {"TECHNIK\\RAKETE.FLC", "TECHNIK"}, {"NATUR\\SCHNEE.FLC", "NATUR"}, {"SPIRALE.FLC", ""},
        {"NATUR\\WELLEN.FLC", "NATUR"}, {"TECHNIK\\ZAHNRAD.FLC", "TECHNIK"},
    };
    std::string steps = "wait rows 14 status \"Animation: 1 von 14 " + Upper(animations) + "\\BALL.FLC\"";
    for (int i = 0; i < 14; ++i) {
        std::string file = rows[i].file;
        std::string name = file.substr(file.find_last_of('\\') + 1);
        std::string title = name.substr(0, name.size() - 4);
        std::string path = animations + "\\" + file;
        std::string keywords = *rows[i].keyword != '\0' ? std::string(", Stichw\xF6rter: ") + rows[i].keyword : "";
        steps += " row " + std::to_string(i) + " " + title + " name " + std::to_string(i) + " \"" + title
               + ", Autor: Unbekannt, Datei: " + name + ", Datum: " + DayOf(path) + ", Gesamtgr\xF6\xDF" "e: "
               + KbOf(path) + keywords + "\"";
    }

    RunningProgram korval("\"" + KorvalExePath() + "\" " + folder);
    ASSERT_NE(korval.Handle(), nullptr);
    std::string output;
    EXPECT_EQ(RunProbe(steps + " close", folder + "probe.txt", output), 0) << output;
    EXPECT_EQ(WaitExitCode(korval.Handle(), 30000), 0);
}

} // namespace
