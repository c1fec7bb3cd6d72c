// What the tools need of the file system, on Linux and on Windows alike.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// File: a regular file, the only kind that is read.
enum class EntryKind { None, File, Folder, Pipe, Device, Other };

EntryKind KindOf(const std::string& path);

// "a folder", "a named pipe", ...: what a name that is no regular file is.
const char* KindName(EntryKind kind);

// The names in `folder` ("." and ".." left out); false when it cannot be listed.
bool ListFolder(const std::string& folder, std::vector<std::string>& names);

// `path` made absolute; empty when that fails.
std::string FullPath(const std::string& path);

// `name` inside `folder`.
std::string JoinPath(const std::string& folder, const std::string& name);

// The folder `path` lies in (either separator); empty when it names none.
std::string FolderOf(const std::string& path);

// The names of a path, split at either separator, empty ones left out.
std::vector<std::string> PathNames(const std::string& path);

// The catalogue's absolute path as KORVAL sees it: on Linux the way Wine
// shows it, Z: followed by the path with backslashes; on Windows unchanged.
std::string KorvalPathOf(const std::string& fullPath);

// A folder as KORVAL names it (drive-qualified, backslashes, upper case)
// split into the root it starts from and the names under it; false when the
// folder is not on this machine as KORVAL names it (another drive letter).
bool SplitKorvalFolder(const std::string& folder, std::string& root, std::vector<std::string>& names);

// A name from the catalogue (Windows-1252 text) as the file system writes it.
std::string FileSystemName(const std::string& catalogueName);

// Windows-1252 text for standard output: UTF-8 on Linux; on Windows in the
// console's code page when the output is a console, unchanged otherwise.
std::string ConsoleText(const std::string& text);

// `name` with its letters in one case, for comparing names as Windows does.
std::string FoldedName(const std::string& name);

// A file system name (UTF-8 on Linux, the ANSI code page on Windows) as
// Windows-1252 text, the catalogue's; false when it has no such form: on
// Linux a name that is no UTF-8 or holds a character outside Windows-1252, on
// Windows one the ANSI code page could not give (a "?" in its place).
bool CatalogueText(const std::string& fileSystemName, std::string& text);

// What a draft catalogue tells of a file: its size and the day it was last
// written, in local time, as a file manager shows it.
struct FileFacts {
    std::uint64_t size = 0;
    int day = 0;
    int month = 0;
    int year = 0;
};

// False when `path` cannot be asked about.
bool FactsOf(const std::string& path, FileFacts& facts);

// A name found under a folder, its path below it as file system names.
struct ListedName {
    std::vector<std::string> names;     // the sub-folders, then its own name
    EntryKind kind = EntryKind::None;   // File: a regular file; Folder: one not gone into
    bool listed = true;                 // false: a folder that cannot be listed
    FileFacts facts;                    // of a regular file
};

// The regular files under `folder`, sub-folders included, and the folders not
// gone into: those that cannot be listed and those whose path below `folder`
// is longer than `deepest` bytes (which also ends a loop of links). Names
// that are neither (pipes, devices) are left out. False when `folder` itself
// cannot be listed.
bool ListFilesBelow(const std::string& folder, std::size_t deepest, std::vector<ListedName>& found);

// Writes `bytes` to standard output as they are (on Windows not in text
// mode, which would turn each LF into CR LF); false when not all were written.
bool WriteStandardOutput(const std::string& bytes);
