// What the tools need of the file system, on Linux and on Windows alike.
#pragma once

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
