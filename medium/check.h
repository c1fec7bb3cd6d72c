// What KORVAL will make of a catalogue, in the words of a compiler: one line
// per finding, "KORVAL.INI:23: Animation7: rejected: only 5 fields".
#pragma once

#include <string>
#include <vector>

// An animation the catalogue names, and where it was looked for.
struct CatalogueAnimation {
    int line;
    std::string key;            // "Animation7"
    std::string korvalPath;     // BasePath and file, as KORVAL names it
    std::string path;           // on this machine; empty when missing
    std::string relative;       // `path` below the base folder; empty when outside it
    // The findings about what the file holds (damaged, not an FLC file, ...)
    // as `CheckReport::lines` has them: a tool that reads the file itself
    // says these in its own words.
    std::vector<std::string> contentFindings;
};

struct CheckReport {
    // The findings, and the two folders the catalogue resolves to, in the
    // order of the file's lines.
    std::vector<std::string> lines;
    // Why the catalogue could not be checked; empty when it was.
    std::string error;
    int findings = 0;
    // 0 clean, 1 findings, 2 unreadable.
    int exitCode = 0;
    // The catalogue file as the findings name it, and its animations (each
    // accepted entry, in the file's order) once the base folder is found.
    std::string catalogue;
    std::vector<CatalogueAnimation> animations;
    // The catalogue drafted in memory for a folder without one (ReadMedium);
    // empty when a file was read.
    std::string draft;
    // What the draft left out, one line per file (also the first of `lines`).
    std::vector<std::string> leftOut;
};

// Checks the catalogue that `argument` names: a catalogue file, or a folder
// holding KORVAL.INI. It is read by the same loader as KORVAL's, through the
// native profile reader. Every animation file is read as the preview plays
// it; `verbose` adds a line with each animation's facts (size, frames, time).
CheckReport CheckCatalogue(const std::string& argument, bool verbose = false);

// The medium that `argument` names, as CheckCatalogue reads it; a folder
// without KORVAL.INI is read through its draft (DraftFolder), made in memory
// as `korval-check --draft` prints it and checked as though it were the
// folder's KORVAL.INI: the same findings, animations and loaded tables as for
// that file. The lines begin with what the draft left out; `catalogue` is
// the folder followed by " (draft)", which the lines name with the draft's
// line numbers. A folder without a single animation KORVAL can list is
// unreadable (exit code 2). Nothing is written anywhere.
CheckReport ReadMedium(const std::string& argument, bool verbose = false);
