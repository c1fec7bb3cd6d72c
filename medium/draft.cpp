#include "medium/draft.h"

#include "anim/flc_reader.h"
#include "anim/flc_sources.h"
#include "catalogue/folder_setting.h"
#include "catalogue/store.h"
#include "medium/file_system.h"
#include "view/list_order.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

constexpr char kUnknownAuthor[] = "Unbekannt";
constexpr std::size_t kFileMax = sizeof AnimationRecord{}.file - 1;
constexpr std::size_t kTitleMax = sizeof AnimationRecord{}.title - 1;
constexpr std::size_t kKeywordMax = kKeywordNameSize - 1;
constexpr std::size_t kAuthorMax = kAuthorNameSize - 1;

std::string Upper(std::string text)
{
    UpperCaseAnsi(&text[0]);
    return text;
}

// Folder by folder, blind to letter case first, so the order is one whatever
// the listing's.
bool PathBefore(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        std::string foldedA = Upper(a[i]), foldedB = Upper(b[i]);
        if (foldedA != foldedB)
            return foldedA < foldedB;
        if (a[i] != b[i])
            return a[i] < b[i];
    }
    return a.size() < b.size();
}

bool HasControl(const std::string& text)
{
    return std::any_of(text.begin(), text.end(), [](char c) {
        unsigned char code = static_cast<unsigned char>(c);
        return code < 0x20 || code == 0x7F;
    });
}

std::string Trimmed(const std::string& text)
{
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Two(int number)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", number);
    return text;
}

bool IsAnimationName(const std::string& name)
{
    std::string folded = Upper(name);
    return folded.size() > 4
        && (folded.compare(folded.size() - 4, 4, ".FLC") == 0 || folded.compare(folded.size() - 4, 4, ".FLI") == 0);
}

} // namespace

std::string DraftTitle(const std::string& fileName)
{
    std::size_t dot = fileName.find_last_of('.');
    std::string title = fileName.substr(0, dot == std::string::npos ? fileName.size() : dot);
    std::replace(title.begin(), title.end(), '_', ' ');
    std::replace(title.begin(), title.end(), '-', ' ');
    title = Trimmed(title);
    if (title.empty())
        return fileName;
    char first[2] = {title[0], '\0'};
    UpperCaseAnsi(first);
    title[0] = first[0];
    return title;
}

Draft DraftCatalogue(std::vector<DraftFile> files, const std::string& basePath, const std::string& author)
{
    Draft draft;
    std::string base = basePath;
    if (base.empty() || base.back() != '\\')
        base += '\\';

    std::vector<std::pair<std::vector<std::string>, const DraftFile*>> ordered;
    for (const DraftFile& file : files)
        ordered.emplace_back(PathNames(file.path), &file);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto& a, const auto& b) { return PathBefore(a.first, b.first); });

    struct Kept {
        const DraftFile* file;
        std::vector<std::string> folders;
        std::string title;
    };
    std::vector<Kept> kept;
    std::map<std::string, std::string> folded;     // the kept files as shown, by their paths' capitals
    for (const auto& [names, file] : ordered) {
        const std::string& path = file->path;
        std::string why;
        std::string title = DraftTitle(names.back());
        auto same = folded.find(Upper(path));
        if (HasControl(path))
            why = "its name holds a control character";
        else if (path.find(';') != std::string::npos)
            why = "a \";\" in its name would end the entry's field";
        else if (path.size() > kFileMax)
            why = "its path below the folder has " + std::to_string(path.size()) + " characters, KORVAL's field holds "
                + std::to_string(kFileMax);
        else if (base.size() + path.size() > kAnimationPathSize - 1)
            why = "its full path has " + std::to_string(base.size() + path.size()) + " characters, KORVAL takes "
                + std::to_string(kAnimationPathSize - 1);
        else if (same != folded.end())
            why = "Windows does not tell its name from " + same->second;
        else if ((file->size + 1023) / 1024 > INT32_MAX)
            why = "its size does not fit KORVAL's number";
        else if (title.size() > kTitleMax)
            why = "its title would be cut to " + std::to_string(kTitleMax) + " characters";
        else if (kept.size() == kAnimationSlots)
            why = "the list holds " + std::to_string(kAnimationSlots) + " animations";
        if (!why.empty()) {
            draft.findings.push_back(file->shown + ": left out: " + why);
            continue;
        }
        folded.emplace(Upper(path), file->shown);
        kept.push_back({file, std::vector<std::string>(names.begin(), names.end() - 1), title});
    }
    if (kept.empty())
        return draft;

    // Keywords in the order the entries first name them; a folder's name that
    // KORVAL would cut, or one past the table's end, is no keyword.
    std::vector<std::string> keywords;
    std::map<std::string, int> numbers;
    std::string text = "; Entwurf: Titel, Autor und Stichw\xF6rter nach Belieben bearbeiten.\r\n"
                       "[Authors]\r\nAuthor1=" + author + "\r\n";
    std::string entries = "[Animations]\r\n; Symbol;Autor;Titel;Datei;Datum;Gr\xF6\xDF" "e in KB;Stichw\xF6rter\r\n";
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const Kept& entry = kept[i];
        std::string list;
        int count = 0;
        for (const std::string& name : entry.folders) {
            if (count == kEntryKeywords) {
                draft.findings.push_back(entry.file->shown + ": only the keywords of its first "
                                         + std::to_string(kEntryKeywords) + " folders are kept");
                break;
            }
            auto known = numbers.find(name);
            if (known == numbers.end()) {
                int number = 0;
                std::string why;
                if (name.size() > kKeywordMax)
                    why = "it has " + std::to_string(name.size()) + " characters, a keyword holds "
                        + std::to_string(kKeywordMax);
                else if (keywords.size() == kKeywordSlots)
                    why = "the keyword table holds " + std::to_string(kKeywordSlots) + " keywords";
                if (why.empty()) {
                    keywords.push_back(name);
                    number = static_cast<int>(keywords.size());
                } else {
                    draft.findings.push_back(entry.file->shown + ": its folder's name \"" + FileSystemName(name)
                                             + "\" is no keyword: " + why);
                }
                known = numbers.emplace(name, number).first;
            }
            if (known->second == 0)
                continue;
            list += (count++ == 0 ? "" : ",") + std::to_string(known->second);
        }
        const DraftFile& file = *entry.file;
        entries += "Animation" + std::to_string(i + 1) + "=0;1;" + entry.title + ";" + file.path + ";" + Two(file.day)
                 + "." + Two(file.month) + "." + std::to_string(file.year) + ";"
                 + std::to_string((file.size + 1023) / 1024) + (list.empty() ? "" : ";" + list) + "\r\n";
    }
    if (!keywords.empty()) {
        text += "[Keywords]\r\n";
        for (std::size_t i = 0; i < keywords.size(); ++i)
            text += "Keyword" + std::to_string(i + 1) + "=" + keywords[i] + "\r\n";
    }
    text += entries + "[Settings]\r\nBasePath=" + base + "\r\n";
    draft.text = text;
    draft.entries = static_cast<int>(kept.size());
    return draft;
}

DraftReport DraftFolder(const std::string& folder, const std::string& author)
{
    DraftReport report;
    report.exitCode = 2;
    std::string name = author.empty() ? kUnknownAuthor : "";
    if (!author.empty() && (!CatalogueText(Trimmed(author), name) || HasControl(name) || name.empty()
                            || name.size() > kAuthorMax)) {
        report.error = "--author: a name of 1 to " + std::to_string(kAuthorMax)
                     + " characters of Windows-1252, no line break";
        return report;
    }
    if (KindOf(folder) != EntryKind::Folder) {
        report.error = folder + ": not a folder";
        return report;
    }
    std::string full = FullPath(folder);
    std::string base;
    if (full.empty() || !CatalogueText(KorvalPathOf(full), base) || HasControl(base)) {
        report.error = folder + ": KORVAL cannot name this folder (its path has characters outside Windows-1252)";
        return report;
    }
    if (base.size() + 1 > kFolderValueMax) {
        report.error = folder + ": the folder's path " + base + " does not fit KORVAL's "
                     + std::to_string(kFolderValueMax) + " characters";
        return report;
    }

    // Folders whose path alone is longer than any entry's (in the file
    // system's bytes, up to three for a character) are not gone into.
    std::vector<ListedName> listed;
    if (!ListFilesBelow(folder, 3 * kFileMax, listed)) {
        report.error = folder + ": cannot be listed";
        return report;
    }
    std::stable_sort(listed.begin(), listed.end(),
                     [](const ListedName& a, const ListedName& b) { return PathBefore(a.names, b.names); });
    std::vector<DraftFile> files;
    for (const ListedName& found : listed) {
        std::string shown = folder;
        for (const std::string& part : found.names)
            shown = JoinPath(shown, part);
        if (found.kind == EntryKind::Folder) {
            report.findings.push_back(shown + ": left out with all it holds: "
                                      + (found.listed ? "its path is longer than an entry's " + std::to_string(kFileMax)
                                                            + " characters"
                                                      : std::string("cannot be listed")));
            continue;
        }
        bool named = IsAnimationName(found.names.back());
        FlcFileSource source;
        if (source.Open(shown.c_str()) != FlcFileSource::Opened::Yes) {
            if (named)
                report.findings.push_back(shown + ": left out: cannot be read");
            continue;
        }
        FlcReader reader;
        if (reader.Open(source) == FlcStatus::NotFlc) {
            if (named)
                report.findings.push_back(shown + ": left out: not an FLC or FLI file");
            continue;
        }
        DraftFile file;
        file.shown = shown;
        file.size = found.facts.size;
        file.day = found.facts.day;
        file.month = found.facts.month;
        file.year = found.facts.year;
        bool fits = true;
        for (std::size_t i = 0; i < found.names.size() && fits; ++i) {
            std::string part;
            fits = CatalogueText(found.names[i], part);
            file.path += (i == 0 ? "" : "\\") + part;
        }
        if (!fits) {
            report.findings.push_back(shown + ": left out: its name has characters outside Windows-1252, "
                                              "which KORVAL cannot name");
            continue;
        }
        files.push_back(file);
    }
    Draft draft = DraftCatalogue(std::move(files), base, name);
    report.findings.insert(report.findings.end(), draft.findings.begin(), draft.findings.end());
    if (draft.entries == 0) {
        report.error = folder + ": no FLC or FLI file that KORVAL can list";
        return report;
    }
    report.text = draft.text;
    report.exitCode = report.findings.empty() ? 0 : 1;
    return report;
}
