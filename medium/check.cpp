#include "medium/check.h"

#include "anim/flc_facts.h"
#include "anim/flc_reader.h"
#include "anim/flc_sources.h"
#include "base/text.h"
#include "catalogue/entry.h"
#include "catalogue/folder_setting.h"
#include "catalogue/key_name.h"
#include "catalogue/numbers.h"
#include "catalogue/profile_reader.h"
#include "catalogue/store.h"
#include "medium/draft.h"
#include "medium/file_system.h"
#include "res/resource.h"
#include "view/date_key.h"
#include "view/list_order.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace {

constexpr char kCatalogueName[] = "KORVAL.INI";
constexpr char kUnknownAuthor[] = "Unbekannt";
constexpr std::size_t kCataloguePathMax = 259;

struct Finding {
    int line;               // 0: the file as a whole
    std::string text;
    bool counts;            // false for what is only told (the two folders)
    int animation;          // the animation whose file holds it; -1 for others
};

// Every read the loader makes, with the key it found.
class RecordingSource final : public CatalogueSource {
public:
    struct Answer {
        int sectionId;
        int number;
        int length;
        const ProfileKey* key;
        std::string value;
    };

    explicit RecordingSource(const ProfileReader& reader) : inner_(reader) {}

    int Read(int sectionId, int keyId, int number, char (&value)[kProfileValueSize]) override
    {
        int length = inner_.Read(sectionId, keyId, number, value);
        answers.push_back({sectionId, number, length, inner_.LastKey(), value});
        return length;
    }

    std::vector<Answer> answers;

private:
    ProfileCatalogueSource inner_;
};

// A numbered section of the catalogue and what limits it.
struct NumberedSection {
    int sectionId;
    int keyId;
    const char* full;        // why reading stops at the table's end
    std::size_t textMax;     // the longest text its table slot holds; 0: not stored as a whole
    const char* textName;
};

const NumberedSection kNumberedSections[] = {
    {IDS_AUTHORS, IDS_AUTHOR_KEY, "the author table holds 49 authors", kAuthorNameSize - 1, "author name"},
    {IDS_KEYWORDS, IDS_KEYWORD_KEY, "the keyword table holds 50 keywords", kKeywordNameSize - 1, "keyword"},
    {IDS_ANIMATIONS, IDS_ANIMATION_KEY, "the list holds 200 animations", 0, nullptr},
};

std::string Number(long long value)
{
    return std::to_string(value);
}

std::string KeyName(int keyId, int number)
{
    char key[32] = "";
    FormatKeyName(key, sizeof key, CatalogueName(keyId), number);
    return key;
}

// The number a key name carries as the loader asks for it ("Animation12"
// under "Animation%d", letter case aside); 0 for a name it never asks for.
long long KeyNumber(const std::string& name, const char* keyTemplate)
{
    std::size_t prefix = std::strlen(keyTemplate) - 2;
    if (name.size() <= prefix || name.size() - prefix > 10 || name[prefix] == '0')
        return 0;
    for (std::size_t i = 0; i < prefix; ++i) {
        char a = name[i], b = keyTemplate[i];
        if ((a >= 'A' && a <= 'Z' ? a + 32 : a) != (b >= 'A' && b <= 'Z' ? b + 32 : b))
            return 0;
    }
    long long number = 0;
    for (std::size_t i = prefix; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return 0;
        number = number * 10 + (name[i] - '0');
    }
    return number <= INT32_MAX ? number : 0;
}

bool IsBlankText(const char* text)
{
    for (; *text != '\0'; ++text) {
        if (*text != ' ' && *text != '\t')
            return false;
    }
    return true;
}

bool HasDigit(const char* text)
{
    for (; *text != '\0'; ++text) {
        if (*text >= '0' && *text <= '9')
            return true;
    }
    return false;
}

// Finds a name in a folder as Windows does, blind to letter case; the name
// written exactly so wins over one that differs in case only.
bool FindName(const std::string& folder, const std::string& name, std::string& found)
{
    std::vector<std::string> names;
    if (!ListFolder(folder, names))
        return false;
    std::string wanted = FileSystemName(name);
    if (std::find(names.begin(), names.end(), wanted) != names.end()) {
        found = wanted;
        return true;
    }
    std::string folded = FoldedName(wanted);
    for (const std::string& candidate : names) {
        if (FoldedName(candidate) == folded) {
            found = candidate;
            return true;
        }
    }
    return false;
}

struct Located {
    bool found = false;
    bool caseDiffers = false;    // in the names below the base folder
    std::string path;            // as far as it was found
};

// Walks from `root` through `names`; ".." climbs, "." stays.
Located Locate(const std::string& root, const std::vector<std::string>& names, std::size_t caseFrom)
{
    std::vector<std::string> walked;
    Located located;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == ".")
            continue;
        if (names[i] == "..") {
            if (!walked.empty())
                walked.pop_back();
            continue;
        }
        std::string folder = root;
        for (const std::string& name : walked)
            folder = JoinPath(folder, name);
        std::string found;
        if (!FindName(folder, names[i], found)) {
            located.path = JoinPath(folder, FileSystemName(names[i]));
            return located;
        }
        if (i >= caseFrom && found != FileSystemName(names[i]))
            located.caseDiffers = true;
        walked.push_back(found);
    }
    located.path = root;
    for (const std::string& name : walked)
        located.path = JoinPath(located.path, name);
    located.found = true;
    return located;
}

class Checker {
public:
    Checker(const ProfileReader& reader, std::string korvalPath, bool verbose)
        : reader_(reader), korvalPath_(std::move(korvalPath)), verbose_(verbose) {}

    std::vector<Finding> Run()
    {
        RecordingSource source(reader_);
        ClearCatalogue();
        LoadCatalogueFrom(source, kUnknownAuthor);
        answers_ = source.answers;

        CheckSections();
        for (const NumberedSection& section : kNumberedSections)
            CheckNumbering(section);
        CheckLoad();
        CheckEntries();
        CheckDates();
        CheckFolders();
        return findings_;
    }

private:
    void Add(int line, const std::string& text, bool counts = true) { findings_.push_back({line, text, counts, -1}); }
    void AddOnContent(int line, const std::string& text)
    {
        findings_.push_back({line, text, true, static_cast<int>(animations.size()) - 1});
    }

    // Repeated sections and keys before the first section are never read.
    void CheckSections()
    {
        for (const ProfileSection& section : reader_.Sections()) {
            if (section.keys.empty())
                continue;
            if (section.line == 0) {
                const ProfileKey& key = section.keys.front();
                Add(key.line, key.name + ": not read: it stands before the first section" + More(section.keys.size() - 1));
            } else if (section.hidden) {
                Add(section.line, "[" + section.name + "]: not read: the section began at line "
                                      + Number(reader_.FindSection(section.name.c_str())->line)
                                      + ", so the keys of this block are never read");
            }
        }
    }

    static std::string More(std::size_t count)
    {
        return count == 0 ? "" : " (nor " + Number(static_cast<long long>(count)) + " more after it)";
    }

    // Keys the loader never asks for: odd names, repeats, and whatever
    // follows a gap or a full table.
    void CheckNumbering(const NumberedSection& numbered)
    {
        const char* sectionName = CatalogueName(numbered.sectionId);
        const char* keyTemplate = CatalogueName(numbered.keyId);
        std::set<long long> asked;
        const RecordingSource::Answer* last = nullptr;
        for (const auto& answer : answers_) {
            if (answer.sectionId != numbered.sectionId)
                continue;
            asked.insert(answer.number);
            last = &answer;
            CheckText(numbered, answer);
        }
        const ProfileSection* section = reader_.FindSection(sectionName);
        if (section == nullptr)
            return;

        std::vector<std::pair<long long, const ProfileKey*>> unread;
        for (const ProfileKey& key : section->keys) {
            long long number = KeyNumber(key.name, keyTemplate);
            const ProfileKey* first = reader_.Find(sectionName, key.name.c_str());
            if (number == 0) {
                Add(key.line, key.name + ": not read: KORVAL asks for " + KeyName(numbered.keyId, 1) + ", "
                                  + KeyName(numbered.keyId, 2) + ", ... only");
            } else if (first != &key) {
                Add(key.line, key.name + ": not read: the same key at line " + Number(first->line) + " comes first");
            } else if (asked.count(number) == 0) {
                unread.emplace_back(number, &key);
            }
        }
        // Without the authors nothing further is read; CheckLoad says so.
        if (unread.empty() || last == nullptr)
            return;
        std::sort(unread.begin(), unread.end());
        std::string why;
        if (last->length > 0)
            why = numbered.full;
        else if (last->key != nullptr)
            why = "the list ends at " + last->key->name + " (line " + Number(last->key->line) + "), which is empty";
        else
            why = "the list ends at " + KeyName(numbered.keyId, last->number) + ", which is missing";
        const ProfileKey& key = *unread.front().second;
        Add(key.line, key.name + ": not read" + More(unread.size() - 1) + ": " + why);
    }

    // Texts cut by the 256-byte value or by their table slot.
    void CheckText(const NumberedSection& numbered, const RecordingSource::Answer& answer)
    {
        if (answer.length == 0 || answer.key == nullptr)
            return;
        std::size_t length = ReadableValue(*answer.key).size();
        const std::string& name = answer.key->name;
        if (numbered.textMax != 0 && static_cast<std::size_t>(answer.length) > numbered.textMax)
            Add(answer.key->line, name + ": " + numbered.textName + " cut to " + Number(static_cast<long long>(numbered.textMax))
                                      + " characters (it has " + Number(static_cast<long long>(length)) + ")");
        else if (length > kProfileValueSize - 1)
            Add(answer.key->line, name + ": value cut to 255 characters (it has " + Number(static_cast<long long>(length)) + ")");
    }

    void CheckLoad()
    {
        if (AuthorCount < 2) {
            const RecordingSource::Answer& first = answers_.front();
            const ProfileSection* authors = reader_.FindSection(CatalogueName(IDS_AUTHORS));
            int line = first.key != nullptr ? first.key->line : authors != nullptr ? authors->line : 0;
            Add(line, KeyName(IDS_AUTHOR_KEY, 1) + (first.key != nullptr ? ": empty" : ": missing")
                          + ": KORVAL reads nothing further and shows a window without a list");
        } else if (AnimationCount < 1) {
            const ProfileSection* animations = reader_.FindSection(CatalogueName(IDS_ANIMATIONS));
            Add(animations != nullptr ? animations->line : 0,
                "[" + std::string(CatalogueName(IDS_ANIMATIONS)) + "]: no entry accepted: KORVAL shows a window without a list");
        }
    }

    // Each entry as the loader parsed it: rejected, or what it lost.
    void CheckEntries()
    {
        for (const auto& answer : answers_) {
            if (answer.sectionId != IDS_ANIMATIONS || answer.length == 0)
                continue;
            int line = answer.key->line;
            const std::string& name = answer.key->name;
            char value[kProfileValueSize];
            CopyText(value, answer.value.c_str());
            AnimationRecord record{};
            if (!ParseEntry(value, record, AuthorCount, KeywordCount)) {
                Add(line, name + ": rejected: " + WhyRejected(answer.value));
                continue;
            }
            entries_.push_back({line, name, record});

            CopyText(value, answer.value.c_str());
            char* cursor = value;
            char* fields[6];
            for (char*& field : fields)
                field = NextField(cursor, ';');
            std::int32_t author = ReadNumber(fields[1]);
            if (author < 0 || author >= AuthorCount)
                Add(line, name + ": author " + Number(author) + " does not exist: shown as \"" + kUnknownAuthor + "\"");
            if (std::strlen(fields[2]) >= sizeof record.title)
                Add(line, name + ": title cut to 63 characters (it has " + Number(static_cast<long long>(std::strlen(fields[2]))) + ")");
            if (std::strlen(fields[4]) >= sizeof record.date)
                Add(line, name + ": date cut to 19 characters (it has " + Number(static_cast<long long>(std::strlen(fields[4]))) + ")");
            CheckKeywords(line, name, cursor);
        }
    }

    static std::string WhyRejected(const std::string& text)
    {
        char value[kProfileValueSize];
        CopyText(value, text.c_str());
        char* cursor = value;
        char* file = nullptr;
        int fields = 0;
        for (char* field; fields < 6 && (field = NextField(cursor, ';')) != nullptr; ++fields) {
            if (fields == 3)
                file = field;
        }
        if (fields < 6)
            return "only " + Number(fields) + (fields == 1 ? " field" : " fields");
        if (file != nullptr && std::strlen(file) >= sizeof AnimationRecord{}.file)
            return "file name of " + Number(static_cast<long long>(std::strlen(file))) + " characters, the field holds 39";
        return "not an entry";
    }

    // The keyword list as the loader takes it: numbers of existing keywords,
    // the first ten of them.
    void CheckKeywords(int line, const std::string& name, char* cursor)
    {
        int stored = 0;
        std::string ignored;
        int ignoredCount = 0;
        while (char* piece = NextField(cursor, ',')) {
            if (stored == kEntryKeywords) {
                if (!IsBlankText(piece) && ++ignoredCount <= 5)
                    ignored += (ignored.empty() ? "" : ",") + std::string(piece);
                continue;
            }
            std::int32_t number = ReadNumber(piece);
            if (number >= 1 && number <= KeywordCount)
                ++stored;
            else if (!HasDigit(piece) && !IsBlankText(piece))
                Add(line, name + ": keyword \"" + piece + "\" is not a number: skipped");
            else if (!IsBlankText(piece))
                Add(line, name + ": keyword " + Number(number) + " does not exist: skipped");
        }
        if (ignoredCount > 5)
            ignored += ",... (" + Number(ignoredCount) + " in all)";
        if (ignoredCount > 0)
            Add(line, name + ": more than 10 keywords: " + ignored + " ignored");
    }

    // "Nach Datum" orders by the year modulo 99: right for four-digit years
    // from 1980 to 2078 and for two-digit years up to 98, but a two-digit 99
    // counts as 0, and the two kinds do not order among each other.
    void CheckDates()
    {
        const Entry* firstShort = nullptr;
        const Entry* firstLong = nullptr;
        std::int32_t longYear = 0;
        bool mixReported = false;
        for (const Entry& entry : entries_) {
            std::int32_t year = 0;
            if (!WrittenYear(entry.record.date, year))
                continue;
            bool isShort = year >= 0 && year <= 99;
            bool isLong = year >= 1000;
            if (year == 99)
                Add(entry.line, entry.name + ": " + entry.record.date
                                    + ": \"Nach Datum\" counts the two-digit year 99 as 00: it sorts before every other year");
            if (isShort && firstShort == nullptr)
                firstShort = &entry;
            if (isLong && firstLong == nullptr) {
                firstLong = &entry;
                longYear = year;
            }
            if (!mixReported && firstShort != nullptr && firstLong != nullptr) {
                mixReported = true;
                const Entry& other = isShort ? *firstLong : *firstShort;
                char sortsAs[kDateKeySize];
                FormatText(sortsAs, "%02d", static_cast<int>(longYear % 99));
                Add(entry.line, entry.name + ": " + entry.record.date + " mixes a " + (isShort ? "two" : "four")
                                    + "-digit year with the " + (isShort ? "four" : "two") + "-digit one of "
                                    + other.name + " (" + other.record.date + "): \"Nach Datum\" puts "
                                    + Number(longYear) + " where " + sortsAs + " goes");
            }
        }
    }

    // The year a date is written with, as the date order reads it; false
    // when no year is written (no second full stop, or no digits after it).
    static bool WrittenYear(const char* date, std::int32_t& year)
    {
        const char* text = DateYearText(date);
        if (text == nullptr)
            return false;
        const char* digits = text;
        while (*digits == ' ' || *digits == '\t')
            ++digits;
        if (*digits == '+' || *digits == '-')
            ++digits;
        if (*digits < '0' || *digits > '9')
            return false;
        year = ReadNumber(text);
        return true;
    }

    // The two folders, and the animation files under the first.
    void CheckFolders()
    {
        if (korvalPath_.size() > kCataloguePathMax)
            Add(0, "the catalogue's path is longer than " + Number(kCataloguePathMax) + " characters: KORVAL cannot name it");
        char base[kFolderSize];
        int baseLine = 0;
        bool baseResolved = ResolveSetting(IDS_BASE_PATH, base, baseLine);
        char programs[kFolderSize];
        int programLine = 0;
        ResolveSetting(IDS_PROGRAM_PATH, programs, programLine);
        if (!baseResolved)
            return;

        std::string root;
        std::vector<std::string> names;
        if (!SplitKorvalFolder(base, root, names)) {
            Add(baseLine, std::string(CatalogueName(IDS_BASE_PATH)) + ": " + base
                              + " is not on this machine: the animation files are not checked", false);
            return;
        }
        Located folder = Locate(root, names, names.size());
        if (!folder.found || KindOf(folder.path) != EntryKind::Folder) {
            Add(baseLine, std::string(CatalogueName(IDS_BASE_PATH)) + ": folder missing: " + base);
            return;
        }
        for (const Entry& entry : entries_) {
            char path[kAnimationPathSize];
            animations.push_back({entry.line, entry.name, std::string(base) + entry.record.file, "", "", {}});
            if (!ComposeAnimationPath(path, base, entry.record.file)) {
                Add(entry.line, entry.name + ": the path " + base + entry.record.file + " is longer than "
                                    + Number(kAnimationPathSize - 1) + " characters: KORVAL cannot pass it on");
                continue;
            }
            std::vector<std::string> all = names;
            std::vector<std::string> fileNames = PathNames(entry.record.file);
            all.insert(all.end(), fileNames.begin(), fileNames.end());
            Located file = Locate(root, all, names.size());
            if (!file.found) {
                Add(entry.line, entry.name + ": file missing: " + path);
                continue;
            }
            // A folder or a pipe is nothing to read: it keeps no path.
            bool regular = KindOf(file.path) == EntryKind::File;
            if (regular) {
                animations.back().path = file.path;
                std::string below = JoinPath(folder.path, "");
                if (file.path.compare(0, below.size(), below) == 0)
                    animations.back().relative = file.path.substr(below.size());
            }
            if (file.caseDiffers && regular)
                Add(entry.line, entry.name + ": " + entry.record.file + " is " + file.path.substr(folder.path.size() + 1)
                                    + " on disk: the names differ in letter case");
            if (regular)
                CheckSize(entry.line, entry.name, entry.record.sizeText, file.path);
            CheckAnimation(entry.line, entry.name, file.path, path);
        }
    }

    // No total is smaller than the animation file alone: the stated size is
    // taken as rounded either way, so only one below the file's whole KB counts.
    void CheckSize(int line, const std::string& name, const char* sizeText, const std::string& path)
    {
        FileFacts facts;
        std::int32_t stated = ReadNumber(sizeText);
        if (!FactsOf(path, facts) || (stated >= 0 && static_cast<std::uint64_t>(stated) >= facts.size / 1024))
            return;
        Add(line, name + ": total size " + sizeText
                            + " is smaller than its animation file alone (" + Number(static_cast<long long>(facts.size))
                            + " bytes)");
    }

    // Every frame of the file as the preview plays it; with -v the facts of
    // the preview's line. Only a regular file is opened: a named pipe would
    // make the check wait for ever.
    void CheckAnimation(int line, const std::string& name, const std::string& fileSystemPath, const char* path)
    {
        FlcFileSource source;
        switch (source.Open(fileSystemPath.c_str())) {
        case FlcFileSource::Opened::Yes:
            break;
        case FlcFileSource::Opened::NotFound:
            Add(line, name + ": file missing: " + path);
            return;
        case FlcFileSource::Opened::NotRegular: {
            // Wine tells no attributes of a named pipe.
            EntryKind kind = KindOf(fileSystemPath);
            if (kind == EntryKind::None || kind == EntryKind::File)
                kind = EntryKind::Other;
            Add(line, name + ": not a regular file (" + KindName(kind) + "): " + path);
            return;
        }
        case FlcFileSource::Opened::CannotRead:
            AddOnContent(line, name + ": cannot be read: " + path);
            return;
        }
        FlcReader reader;
        FlcStatus status = reader.Open(source);
        const FlcInfo& info = reader.Info();
        std::string size = Number(info.width) + " x " + Number(info.height) + " pixels";
        if (status == FlcStatus::NotFlc) {
            AddOnContent(line, name + ": not an FLC or FLI file: " + path);
            return;
        }
        if (status == FlcStatus::TooLarge) {
            AddOnContent(line, name + ": picture too large: " + size + ", KORVAL shows at most " + Number(kFlcMaxPixels) + ": " + path);
            return;
        }
        if (status == FlcStatus::NoMemory) {
            AddOnContent(line, name + ": not checked: no memory for its picture of " + size + ": " + path);
            return;
        }
        while (status == FlcStatus::Frame)
            status = reader.NextFrame();
        int brokenAt = status == FlcStatus::Damaged ? reader.FrameNumber() + 1 : 0;
        if (brokenAt != 0)
            AddOnContent(line, name + ": damaged at frame " + Number(brokenAt) + ": " + path);
        if (status == FlcStatus::NoMemory)
            AddOnContent(line, name + ": not checked from frame " + Number(reader.FrameNumber() + 1) + " on: no memory to read it: "
                          + path);
        if (!verbose_ || info.frames == 0 || info.width == 0 || info.height == 0)
            return;
        char facts[96];
        FormatFlcFacts(facts, info);
        std::string text = facts;
        if (brokenAt > 1)
            text += ", besch\xE4\x64igt ab Bild " + Number(brokenAt);
        Add(line, name + ": " + ConsoleText(text), false);
    }

    bool ResolveSetting(int keyId, char (&folder)[kFolderSize], int& line)
    {
        ProfileCatalogueSource source(reader_);
        char read[kProfileValueSize];
        int length = source.Read(IDS_SETTINGS, keyId, 0, read);
        line = source.LastKey() != nullptr ? source.LastKey()->line : 0;
        // KORVAL reads a setting with room for more than kFolderValueMax
        // characters: the whole value, as it is read, decides.
        std::string value = length > 0 ? ReadableValue(*source.LastKey()) : "";
        std::string name = CatalogueName(keyId);
        bool resolved = korvalPath_.size() <= kCataloguePathMax
                     && ResolveFolder(folder, sizeof folder, korvalPath_.c_str(), value.c_str(), UpperCaseAnsi);
        if (!resolved)
            Add(line, name + ": cannot be resolved: the folder does not fit KORVAL's " + Number(kFolderSize - 1)
                          + " characters");
        else if (length == 0)
            Add(line, name + ": not set: the catalogue's folder " + folder, false);
        else
            Add(line, name + ": " + folder, false);
        return resolved;
    }

public:
    std::vector<CatalogueAnimation> animations;

private:
    struct Entry {
        int line;
        std::string name;
        AnimationRecord record;
    };

    const ProfileReader& reader_;
    std::string korvalPath_;
    bool verbose_;
    std::vector<RecordingSource::Answer> answers_;
    std::vector<Entry> entries_;
    std::vector<Finding> findings_;
};

// The catalogue in a folder, named like the program in any letter case.
std::string CatalogueIn(const std::string& folder)
{
    std::string found;
    return FindName(folder, kCatalogueName, found) ? JoinPath(folder, found) : std::string();
}

// The checker's findings added to `report`, each line named after
// `report.catalogue`; the exit code for all of its findings.
void Check(CheckReport& report, const ProfileReader& reader, const std::string& korvalPath, bool verbose)
{
    Checker checker(reader, korvalPath, verbose);
    std::vector<Finding> findings = checker.Run();
    report.animations = checker.animations;
    // In the file's order; what concerns the whole file comes last.
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
        return (a.line == 0 ? INT32_MAX : a.line) < (b.line == 0 ? INT32_MAX : b.line);
    });
    for (const Finding& finding : findings) {
        report.lines.push_back(report.catalogue + ":" + (finding.line != 0 ? Number(finding.line) + ":" : "") + " "
                               + finding.text);
        if (finding.animation >= 0)
            report.animations[static_cast<std::size_t>(finding.animation)].contentFindings.push_back(report.lines.back());
        if (finding.counts)
            ++report.findings;
    }
    report.exitCode = report.findings != 0 ? 1 : 0;
}

} // namespace

CheckReport CheckCatalogue(const std::string& argument, bool verbose)
{
    CheckReport report;
    std::string file = argument;
    if (KindOf(argument) == EntryKind::Folder) {
        file = CatalogueIn(argument);
        if (file.empty()) {
            report.error = argument + ": no " + kCatalogueName + " in this folder";
            report.exitCode = 2;
            return report;
        }
    }
    ProfileReader reader;
    std::string full = FullPath(file);
    EntryKind kind = KindOf(file);
    if (kind != EntryKind::File && kind != EntryKind::None) {
        report.error = file + ": not a regular file (" + KindName(kind) + ")";
        report.exitCode = 2;
        return report;
    }
    if (kind != EntryKind::File || full.empty() || !reader.Load(file.c_str())) {
        report.error = file + ": cannot be read";
        report.exitCode = 2;
        return report;
    }

    report.catalogue = file;
    Check(report, reader, KorvalPathOf(full), verbose);
    return report;
}

CheckReport ReadMedium(const std::string& argument, bool verbose)
{
    if (KindOf(argument) != EntryKind::Folder || !CatalogueIn(argument).empty())
        return CheckCatalogue(argument, verbose);
    CheckReport report;
    DraftReport draft = DraftFolder(argument);
    report.lines = draft.findings;
    report.leftOut = draft.findings;
    report.findings = static_cast<int>(draft.findings.size());
    if (draft.text.empty()) {
        report.error = draft.error;
        report.exitCode = 2;
        return report;
    }
    // The draft stands where a KORVAL.INI of the folder would; its BasePath
    // names the folder whole, so where it stands decides nothing else.
    ProfileReader reader;
    reader.Parse(draft.text.data(), draft.text.size());
    report.catalogue = argument + " (draft)";
    report.draft = draft.text;
    Check(report, reader, KorvalPathOf(FullPath(argument)) + "\\" + kCatalogueName, verbose);
    return report;
}
