// korval-check [-v] DIR-or-INI: what KORVAL will make of a catalogue.
// korval-check --draft DIR [--author NAME]: a catalogue for the animations under DIR.
#include "medium/check.h"
#include "medium/draft.h"
#include "medium/file_system.h"

#include <cstdio>
#include <cstring>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: korval-check [-v] FOLDER-or-KORVAL.INI\n"
                         "       korval-check --draft FOLDER [--author NAME]\n"
                         "Prints what KORVAL will make of the catalogue, one line per finding;\n"
                         "-v adds a line per animation: size, frames, playing time.\n"
                         "--draft prints a catalogue for the FLC/FLI files under FOLDER (save it\n"
                         "as KORVAL.INI and edit it); what it leaves out goes to standard error.\n"
                         "Exit code: 0 clean, 1 findings, 2 unreadable.\n");
    return 2;
}

int PrintDraft(int argc, char** argv)
{
    const char* author = "";
    if (argc == 5 && std::strcmp(argv[3], "--author") == 0)
        author = argv[4];
    else if (argc != 3)
        return Usage();
    DraftReport report = DraftFolder(argv[2], author);
    for (const std::string& line : report.findings)
        std::fprintf(stderr, "%s\n", line.c_str());
    if (!report.error.empty())
        std::fprintf(stderr, "%s\n", report.error.c_str());
    if (!report.text.empty() && !WriteStandardOutput(report.text)) {
        std::fprintf(stderr, "the draft could not be written to standard output\n");
        return 2;
    }
    return report.exitCode;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--draft") == 0)
        return PrintDraft(argc, argv);
    bool verbose = argc == 3 && std::strcmp(argv[1], "-v") == 0;
    if (argc != 2 + (verbose ? 1 : 0))
        return Usage();
    CheckReport report = CheckCatalogue(argv[argc - 1], verbose);
    for (const std::string& line : report.lines)
        std::printf("%s\n", line.c_str());
    if (!report.error.empty())
        std::fprintf(stderr, "%s\n", report.error.c_str());
    return report.exitCode;
}
