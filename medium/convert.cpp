#include "medium/convert.h"

#include "anim/flc_convert.h"
#include "anim/flc_sources.h"
#include "medium/check.h"
#include "medium/file_system.h"
#include "medium/output_file.h"
#include "medium/output_names.h"

#include <map>
#include <set>

namespace {

enum class Outcome { Converted, Damaged, Unreadable, OutputFailed };

struct Converted {
    Outcome outcome = Outcome::Converted;
    std::string text;       // the finding, or the progress line's end
    bool replaces = false;  // a file of the output's name was there
};

std::string Frames(int count)
{
    return std::to_string(count) + (count == 1 ? " frame" : " frames");
}

// One file converted, its outcome in words; `png` writes frame `frame`.
// With `makeFolder` the output's folders are made once there is something
// to write, and removed again when nothing is kept in them.
Converted ConvertOne(const std::string& in, const std::string& out, bool png, int frame, std::uint64_t room,
                     bool makeFolder = false)
{
    Converted converted;
    FlcFileSource source;
    FlcFileSource::Opened how = source.Open(in.c_str());
    if (how != FlcFileSource::Opened::Yes) {
        converted.outcome = Outcome::Unreadable;
        converted.text = "cannot be read";
        if (how == FlcFileSource::Opened::NotRegular)
            converted.text = std::string("not a regular file (") + KindName(KindOf(in)) + ")";
        return converted;
    }
    // Folders made for a file not kept go again, after the file (declared
    // later, so removed first).
    std::vector<std::string> made;
    struct Tidy {
        std::vector<std::string>& made;
        ~Tidy() { RemoveFolders(made); }
    } tidy{made};
    OutputFile file(room);
    bool opened = false;
    // The output is begun only for a readable file: nothing is left where
    // nothing could be converted.
    FlcReader probe;
    FlcStatus status = probe.Open(source);
    if (status == FlcStatus::Frame)
        status = probe.NextFrame();
    FlcConversion result;
    if (status == FlcStatus::Frame) {
        std::string why;
        if (makeFolder && !MakeFolders(FolderOf(out), made, why)) {
            converted.outcome = Outcome::OutputFailed;
            converted.text = "the folder cannot be made: " + why;
            return converted;
        }
        converted.replaces = KindOf(out) == EntryKind::File;
        opened = file.Open(out);
        if (!opened) {
            converted.outcome = Outcome::OutputFailed;
            converted.text = out + ": " + file.Error();
            return converted;
        }
        result = png ? ConvertFlcFrameToPng(source, frame, file) : ConvertFlcToGif(source, file);
    } else {
        result.status = status;
        result.damagedAt = status == FlcStatus::Damaged ? 1 : 0;
    }
    // The reader found no memory for a picture or frame: nothing whole is made.
    if (result.status == FlcStatus::NoMemory)
        result.outOfMemory = true;
    const FlcInfo& info = probe.Info();
    if (result.frames == 0 || result.outputFailed || result.outOfMemory) {
        file.Discard();
        converted.outcome = Outcome::Unreadable;
        if (result.outputFailed) {
            converted.outcome = Outcome::OutputFailed;
            converted.text = out + ": " + file.Error();
        } else if (result.outOfMemory) {
            converted.text = "too large for this machine's memory";
        } else if (result.status == FlcStatus::NotFlc) {
            converted.text = "not an FLC or FLI file";
        } else if (result.status == FlcStatus::TooLarge) {
            converted.text = "picture too large: " + std::to_string(info.width) + " x " + std::to_string(info.height)
                           + " pixels, at most " + std::to_string(kFlcMaxPixels);
        } else if (result.status == FlcStatus::Damaged) {
            converted.text = "damaged at frame " + std::to_string(result.damagedAt) + ": nothing converted";
        } else {
            converted.text = "has no frame " + std::to_string(frame) + " (" + Frames(info.frames) + ")";
        }
        return converted;
    }
    if (!file.Commit()) {
        converted.outcome = Outcome::OutputFailed;
        converted.text = out + ": " + file.Error();
        return converted;
    }
    made.clear();
    if (result.status == FlcStatus::Damaged && !png) {
        converted.outcome = Outcome::Damaged;
        converted.text = "damaged at frame " + std::to_string(result.damagedAt) + ": " + Frames(result.frames)
                       + " converted to " + out;
        if (converted.replaces)
            converted.text += ", replacing the file that was there";
        return converted;
    }
    converted.text = png ? "frame " + std::to_string(frame) : Frames(result.frames);
    if (result.slowed)
        converted.text += ", plays slower: faster than 50 frames a second";
    if (converted.replaces)
        converted.text += ", replacing the file that was there";
    return converted;
}

bool EndsWith(const std::string& name, const char* end)
{
    std::string folded = FoldedName(name);
    std::string wanted = FoldedName(end);
    return folded.size() >= wanted.size() && folded.compare(folded.size() - wanted.size(), wanted.size(), wanted) == 0;
}

} // namespace

std::string OutputKind(const std::string& name)
{
    if (EndsWith(name, ".gif"))
        return "GIF";
    if (EndsWith(name, ".png"))
        return "PNG";
    return "";
}

int ConvertFile(const std::string& in, const std::string& out, int frame, std::FILE* log, std::uint64_t room)
{
    // A folder that is missing is a mistyped argument: nothing is made.
    std::string folder = FolderOf(out);
    if (!folder.empty() && KindOf(folder) != EntryKind::Folder && KindOf(JoinPath(folder, "")) != EntryKind::Folder) {
        EntryKind kind = KindOf(folder);
        std::string why = kind == EntryKind::None ? "the folder " + folder + " does not exist"
                                                   : folder + " is " + KindName(kind) + ", not a folder";
        std::fprintf(log, "%s: %s\n", out.c_str(), why.c_str());
        return 2;
    }
    bool png = OutputKind(out) == "PNG";
    Converted converted = ConvertOne(in, out, png, frame, room);
    switch (converted.outcome) {
    case Outcome::Converted:
        std::fprintf(log, "%s -> %s: %s\n", in.c_str(), out.c_str(), converted.text.c_str());
        return 0;
    case Outcome::Damaged:
        std::fprintf(log, "%s: %s\n", in.c_str(), converted.text.c_str());
        return 1;
    case Outcome::OutputFailed:
        std::fprintf(log, "%s\n", converted.text.c_str());
        return 1;
    case Outcome::Unreadable:
        break;
    }
    std::fprintf(log, "%s: %s\n", in.c_str(), converted.text.c_str());
    return 2;
}

int ConvertCatalogue(const std::string& catalogue, const std::string& outFolder, std::FILE* log, std::uint64_t room)
{
    CheckReport report = ReadMedium(catalogue);
    if (!report.error.empty()) {
        // What a folder's draft left out, then why nothing could be read.
        for (const std::string& line : report.lines)
            std::fprintf(log, "%s\n", line.c_str());
        std::fprintf(log, "%s\n", report.error.c_str());
        return 2;
    }
    // The catalogue's findings as korval-check prints them, but for what a
    // file to be converted holds: the conversion says that in its own line.
    std::set<std::string> ownLines;
    for (const CatalogueAnimation& animation : report.animations) {
        if (!animation.path.empty() && !animation.relative.empty())
            ownLines.insert(animation.contentFindings.begin(), animation.contentFindings.end());
    }
    int findings = report.findings;
    for (const std::string& line : report.lines) {
        if (ownLines.count(line) == 0)
            std::fprintf(log, "%s\n", line.c_str());
        else
            --findings;
    }
    std::fflush(log);

    int readable = 0;
    OutputNames names;
    std::map<std::string, const CatalogueAnimation*> done;  // file converted: its entry
    std::map<std::string, std::string> outputs;    // file converted: its output
    for (const CatalogueAnimation& animation : report.animations) {
        std::string where = report.catalogue + ":" + std::to_string(animation.line) + ": " + animation.key + ": ";
        // Missing, no regular file, a path too long: the checker's line said so.
        if (animation.path.empty())
            continue;
        if (animation.relative.empty()) {
            std::fprintf(log, "%soutside the base folder, not converted: %s\n", where.c_str(), animation.korvalPath.c_str());
            ++findings;
            continue;
        }
        auto same = done.find(animation.path);
        if (same != done.end()) {
            std::fprintf(log, "%sthe same file as %s: %s\n", where.c_str(), same->second->key.c_str(),
                         outputs[animation.path].c_str());
            continue;
        }
        // A.FLC and A.FLI would both be A.GIF, and the second would replace the first.
        const std::string plain = WithoutExtension(animation.relative);
        const std::string name = names.Take(animation.relative) + ".GIF";
        std::string out = JoinPath(outFolder, name);
        done[animation.path] = &animation;
        outputs[animation.path] = out;

        Converted converted = ConvertOne(animation.path, out, false, 1, room, true);
        if (name != plain + ".GIF" && (converted.outcome == Outcome::Converted || converted.outcome == Outcome::Damaged))
            converted.text += ", named apart: " + plain + ".GIF is " + names.Owner(plain) + "'s";
        if (converted.outcome == Outcome::Converted) {
            std::fprintf(log, "%s -> %s: %s\n", animation.relative.c_str(), out.c_str(), converted.text.c_str());
            ++readable;
        } else {
            std::string file = converted.outcome == Outcome::OutputFailed ? "" : ": " + animation.korvalPath;
            std::fprintf(log, "%s%s%s\n", where.c_str(), converted.text.c_str(), file.c_str());
            ++findings;
            readable += converted.outcome == Outcome::Unreadable ? 0 : 1;
        }
        std::fflush(log);
    }
    if (readable == 0)
        return 2;
    return findings != 0 ? 1 : 0;
}
