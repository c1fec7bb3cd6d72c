#include "medium/file_system.h"

#include "base/windows_1252.h"
#include "catalogue/folder_setting.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

#ifdef _WIN32
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#else
#include <dirent.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#endif

namespace {

void ListBelow(const std::string& folder, std::vector<std::string>& below, std::size_t length, std::size_t deepest,
               std::vector<ListedName>& found)
{
    std::vector<std::string> names;
    ListFolder(folder, names);
    for (const std::string& name : names) {
        std::string path = JoinPath(folder, name);
        ListedName listed;
        listed.names = below;
        listed.names.push_back(name);
        listed.kind = KindOf(path);
        if (listed.kind == EntryKind::File) {
            if (FactsOf(path, listed.facts))
                found.push_back(listed);
        } else if (listed.kind == EntryKind::Folder) {
            std::vector<std::string> inside;
            std::size_t deeper = length + (length != 0 ? 1 : 0) + name.size();
            if (deeper > deepest || !ListFolder(path, inside)) {
                listed.listed = deeper > deepest;
                found.push_back(listed);
                continue;
            }
            below.push_back(name);
            ListBelow(path, below, deeper, deepest, found);
            below.pop_back();
        }
    }
}

} // namespace

std::string FolderOf(const std::string& path)
{
    std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::vector<std::string> PathNames(const std::string& path)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start)
            names.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

bool ListFilesBelow(const std::string& folder, std::size_t deepest, std::vector<ListedName>& found)
{
    found.clear();
    std::vector<std::string> names;
    if (!ListFolder(folder, names))
        return false;
    std::vector<std::string> below;
    ListBelow(folder, below, 0, deepest, found);
    return true;
}

bool WriteStandardOutput(const std::string& bytes)
{
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0;
}

const char* KindName(EntryKind kind)
{
    switch (kind) {
    case EntryKind::None: return "nothing";
    case EntryKind::File: return "a file";
    case EntryKind::Folder: return "a folder";
    case EntryKind::Pipe: return "a named pipe";
    case EntryKind::Device: return "a device";
    case EntryKind::Other: break;
    }
    return "a special file";
}

#ifdef _WIN32

EntryKind KindOf(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return EntryKind::None;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return EntryKind::Folder;
    return (attributes & FILE_ATTRIBUTE_DEVICE) != 0 ? EntryKind::Device : EntryKind::File;
}

bool ListFolder(const std::string& folder, std::vector<std::string>& names)
{
    names.clear();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(JoinPath(folder, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    do {
        if (std::strcmp(found.cFileName, ".") != 0 && std::strcmp(found.cFileName, "..") != 0)
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return true;
}

std::string FullPath(const std::string& path)
{
    char full[MAX_PATH * 4];
    DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return length == 0 || length >= sizeof full ? std::string() : std::string(full, length);
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty() || folder.back() == '\\' || folder.back() == '/')
        return folder + name;
    return folder + "\\" + name;
}

std::string KorvalPathOf(const std::string& fullPath)
{
    return fullPath;
}

bool CatalogueText(const std::string& fileSystemName, std::string& text)
{
    text = fileSystemName;
    return fileSystemName.find('?') == std::string::npos;
}

bool FactsOf(const std::string& path, FileFacts& facts)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    FILETIME local;
    SYSTEMTIME time;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)
        || !FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &time))
        return false;
    facts.size = static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    facts.day = time.wDay;
    facts.month = time.wMonth;
    facts.year = time.wYear;
    return true;
}

std::string FileSystemName(const std::string& catalogueName)
{
    return catalogueName;
}

std::string ConsoleText(const std::string& text)
{
    // A console shows its own code page (the OEM one, unless changed):
    // Windows-1252 text goes through UTF-16 into it. A file or pipe gets the
    // bytes as they are.
    DWORD mode;
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (text.empty() || !GetConsoleMode(output, &mode))
        return text;
    wchar_t wide[512];
    int length = MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), wide, 512);
    char converted[1024];
    int size = length > 0 ? WideCharToMultiByte(GetConsoleOutputCP(), 0, wide, length, converted, sizeof converted, nullptr, nullptr) : 0;
    return size > 0 ? std::string(converted, static_cast<std::size_t>(size)) : text;
}

std::string FoldedName(const std::string& name)
{
    std::string folded = name;
    UpperCaseAnsi(&folded[0]);
    return folded;
}

bool SplitKorvalFolder(const std::string& folder, std::string& root, std::vector<std::string>& names)
{
    if (folder.size() < 3 || folder[1] != ':' || folder[2] != '\\')
        return false;
    root = folder.substr(0, 3);
    names = PathNames(folder.substr(3));
    return true;
}

#else

EntryKind KindOf(const std::string& path)
{
    struct stat status;
    if (stat(path.c_str(), &status) != 0)
        return EntryKind::None;
    if (S_ISREG(status.st_mode))
        return EntryKind::File;
    if (S_ISDIR(status.st_mode))
        return EntryKind::Folder;
    if (S_ISFIFO(status.st_mode))
        return EntryKind::Pipe;
    return S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode) ? EntryKind::Device : EntryKind::Other;
}

bool ListFolder(const std::string& folder, std::vector<std::string>& names)
{
    names.clear();
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr)
        return false;
    while (dirent* entry = readdir(listing)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.push_back(entry->d_name);
    }
    closedir(listing);
    return true;
}

std::string FullPath(const std::string& path)
{
    char full[PATH_MAX];
    return realpath(path.c_str(), full) != nullptr ? std::string(full) : std::string();
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty() || folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

std::string KorvalPathOf(const std::string& fullPath)
{
    std::string path = "Z:" + fullPath;
    for (char& c : path)
        c = c == '/' ? '\\' : c;
    return path;
}

namespace {

// The code points of Windows-1252's 0x80 to 0x9F (its five unused bytes as
// themselves, as the platform's conversion maps them).
const unsigned short kHigh1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

bool CatalogueText(const std::string& fileSystemName, std::string& text)
{
    // UTF-8 to Windows-1252: each character whole, in its shortest form.
    text.clear();
    const std::string& name = fileSystemName;
    for (std::size_t i = 0; i < name.size();) {
        unsigned lead = static_cast<unsigned char>(name[i]);
        std::size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : 0;
        if (length == 0 || i + length > name.size())
            return false;
        unsigned code = length == 1 ? lead : length == 2 ? lead & 0x1F : lead & 0x0F;
        for (std::size_t k = 1; k < length; ++k) {
            unsigned next = static_cast<unsigned char>(name[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = code << 6 | (next & 0x3F);
        }
        if ((length == 2 && code < 0x80) || (length == 3 && code < 0x800))
            return false;
        i += length;
        int byte = Windows1252Byte(code);
        if (byte < 0)
            return false;
        text += static_cast<char>(byte);
    }
    return true;
}

bool FactsOf(const std::string& path, FileFacts& facts)
{
    struct stat status;
    std::tm local;
    if (stat(path.c_str(), &status) != 0 || localtime_r(&status.st_mtime, &local) == nullptr)
        return false;
    facts.size = static_cast<std::uint64_t>(status.st_size);
    facts.day = local.tm_mday;
    facts.month = local.tm_mon + 1;
    facts.year = local.tm_year + 1900;
    return true;
}

std::string FileSystemName(const std::string& catalogueName)
{
    // Windows-1252 to UTF-8, the names' encoding on Linux.
    std::string name;
    for (char c : catalogueName) {
        char bytes[3];
        name.append(bytes, Utf8Of(Windows1252CodePoint(static_cast<unsigned char>(c)), bytes));
    }
    return name;
}

std::string ConsoleText(const std::string& text)
{
    return FileSystemName(text);
}

std::string FoldedName(const std::string& name)
{
    // ASCII letters and the accented Latin-1 letters (UTF-8 C3 A0 to C3 BE,
    // not the division sign C3 B7) in capitals.
    std::string folded = name;
    for (std::size_t i = 0; i < folded.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(folded[i]);
        if (c >= 'a' && c <= 'z') {
            folded[i] = static_cast<char>(c - 0x20);
        } else if (c == 0xC3 && i + 1 < folded.size()) {
            unsigned char next = static_cast<unsigned char>(folded[i + 1]);
            if (next >= 0xA0 && next <= 0xBE && next != 0xB7)
                folded[i + 1] = static_cast<char>(next - 0x20);
            ++i;
        }
    }
    return folded;
}

bool SplitKorvalFolder(const std::string& folder, std::string& root, std::vector<std::string>& names)
{
    if (folder.size() < 3 || (folder[0] != 'Z' && folder[0] != 'z') || folder[1] != ':' || folder[2] != '\\')
        return false;
    root = "/";
    names = PathNames(folder.substr(3));
    return true;
}

#endif
