// korval-check [-v] DIR-or-INI: what KORVAL will make of a catalogue.
#include "medium/check.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    bool verbose = argc == 3 && std::strcmp(argv[1], "-v") == 0;
    if (argc != 2 + (verbose ? 1 : 0)) {
        std::fprintf(stderr, "usage: korval-check [-v] FOLDER-or-KORVAL.INI\n"
                             "Prints what KORVAL will make of the catalogue, one line per finding;\n"
                             "-v adds a line per animation: size, frames, playing time.\n"
                             "Exit code: 0 clean, 1 findings, 2 unreadable.\n");
        return 2;
    }
    CheckReport report = CheckCatalogue(argv[argc - 1], verbose);
    for (const std::string& line : report.lines)
        std::printf("%s\n", line.c_str());
    if (!report.error.empty())
        std::fprintf(stderr, "%s\n", report.error.c_str());
    return report.exitCode;
}
