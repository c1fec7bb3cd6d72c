// korval-check DIR-or-INI: what KORVAL will make of a catalogue.
#include "check.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: korval-check FOLDER-or-KORVAL.INI\n"
                             "Prints what KORVAL will make of the catalogue, one line per finding.\n"
                             "Exit code: 0 clean, 1 findings, 2 unreadable.\n");
        return 2;
    }
    CheckReport report = CheckCatalogue(argv[1]);
    for (const std::string& line : report.lines)
        std::printf("%s\n", line.c_str());
    if (!report.error.empty())
        std::fprintf(stderr, "%s\n", report.error.c_str());
    return report.exitCode;
}
