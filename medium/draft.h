// A catalogue drafted from a folder of FLC/FLI files, which KORVAL loads as it
// is: the maker saves it as KORVAL.INI and edits titles, authors and keywords.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One animation file under the drafted folder.
struct DraftFile {
    std::string path;       // below the folder, Windows-1252, names joined by "\"
    std::string shown;      // the file as findings name it
    std::uint64_t size = 0; // bytes
    int day = 0;            // the day it was last written
    int month = 0;
    int year = 0;
};

struct Draft {
    // The catalogue: Windows-1252, lines ending in CR LF. Empty when no file
    // fits.
    std::string text;
    // One line per file or keyword left out, and per entry that lost
    // keywords, in the entries' order: "SHOWN: left out: why".
    std::vector<std::string> findings;
    int entries = 0;
};

// The draft over `files`, in any order. Entries go by path (blind to letter
// case, folder by folder), each with the title its file name gives, author 1
// (`author`), the file's date as TT.MM.JJJJ, its size in KB rounded up and
// the names of the folders above it as keywords. `basePath` is the folder as
// KORVAL names it (Windows-1252, drive-qualified). Files that KORVAL could not
// hold or name whole are left out: a control character or ";" in the path, a
// path over 39 characters or a full path over 259, a second name that differs
// only in letter case, a size over the field's number, the 201st file on.
Draft DraftCatalogue(std::vector<DraftFile> files, const std::string& basePath, const std::string& author);

// The title a file name gives: without its extension, "_" and "-" as blanks,
// no blanks around it, the first letter a capital; the name itself when
// nothing else is left.
std::string DraftTitle(const std::string& fileName);

struct DraftReport {
    std::string text;                   // the draft; empty when none was made
    std::vector<std::string> findings;  // everything left out, in the files' order
    std::string error;                  // why no draft was made
    int exitCode = 0;                   // 0 nothing left out, 1 findings, 2 no draft
};

// The draft of `folder`: every regular file under it, sub-folders included,
// that is an FLC or FLI file by its contents (whatever its name), with
// BasePath the folder itself. A file named *.FLC or *.FLI that is none, or
// cannot be read, and one whose name has no Windows-1252 form, is named and
// left out; so is a folder too deep to hold a path KORVAL takes, or one that
// cannot be listed. `author` is the command line's text (UTF-8 on Linux);
// empty gives "Unbekannt". Nothing is written anywhere.
DraftReport DraftFolder(const std::string& folder, const std::string& author = "");
