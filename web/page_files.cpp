#include "web/page_files.h"

#include "anim/flc_convert.h"
#include "anim/flc_sources.h"
#include "medium/check.h"
#include "medium/file_system.h"
#include "medium/output_file.h"
#include "medium/output_names.h"
#include "web/page.h"
#include "web/page_text.h"

#include <vector>

namespace {

// `relative` (as the file system names it, either separator) split into its
// names; false when one of them could lead out of the folder.
bool SafeNames(const std::string& relative, std::vector<std::string>& names)
{
    names.clear();
    std::string name;
    for (std::size_t at = 0; at <= relative.size(); ++at) {
        if (at == relative.size() || relative[at] == '/' || relative[at] == '\\') {
            if (name.empty() || name == "." || name == "..")
                return false;
            names.push_back(name);
            name.clear();
        } else {
            name += relative[at];
        }
    }
    return !names.empty();
}

// The names joined for the file system and for the page (with '/'), the
// extension after the last one.
struct Placed {
    std::string path;
    std::string url;
};

Placed Place(const std::string& outFolder, const std::vector<std::string>& names, const char* extension)
{
    Placed placed{outFolder, ""};
    for (std::size_t n = 0; n < names.size(); ++n) {
        std::string name = names[n];
        if (n + 1 == names.size())
            name += extension;
        placed.path = JoinPath(placed.path, name);
#ifdef _WIN32
        // Names on Windows are in the ANSI code page; a page's URLs are UTF-8.
        name = Utf8FromWindows1252(name);
#endif
        placed.url += (n == 0 ? "" : "/") + name;
    }
    return placed;
}

// A file of the page written whole; the reason in `error` when not.
bool WriteWhole(const std::string& path, const std::string& bytes, std::uint64_t room, std::string& error)
{
    OutputFile file(room);
    if (!file.Open(path) || !file.Write(bytes.data(), bytes.size()) || !file.Commit()) {
        error = path + ": " + file.Error();
        file.Discard();
        return false;
    }
    return true;
}

PreviewState StateOf(FlcStatus status)
{
    switch (status) {
    case FlcStatus::NotFlc: return PreviewState::NotFlc;
    case FlcStatus::TooLarge: return PreviewState::TooLarge;
    case FlcStatus::NoMemory: return PreviewState::NoMemory;
    default: return PreviewState::Damaged;
    }
}

const char* StateWords(PreviewState state)
{
    switch (state) {
    case PreviewState::NotFlc: return "not an FLC or FLI file";
    case PreviewState::TooLarge: return "picture too large";
    case PreviewState::NoMemory: return "too large for this machine's memory";
    case PreviewState::NotAFile: return "not a regular file";
    case PreviewState::Missing: return "file missing";
    default: return "damaged at frame 1: nothing converted";
    }
}

struct Tally {
    int findings = 0;
    int readable = 0;
};

// One animation's GIF and poster; the entry's pictures and preview filled in.
void WritePictures(PageEntry& entry, const CatalogueAnimation& animation, const std::string& where,
                   const std::vector<std::string>& names, const std::string& outFolder, std::FILE* log,
                   std::uint64_t room, Tally& tally, OutputNames& taken)
{
    // Pictures are named for the animation (A.FLC: A.GIF, A.PNG); a second
    // animation of that name (A.FLI) takes A_FLI.GIF, A_FLI.PNG.
    std::vector<std::string> placed = names;
    placed.back() = PathNames(taken.Take(animation.relative)).back();
    FlcFileSource source;
    FlcFileSource::Opened opened = source.Open(animation.path.c_str());
    if (opened != FlcFileSource::Opened::Yes) {
        entry.preview = opened == FlcFileSource::Opened::NotRegular ? PreviewState::NotAFile : PreviewState::Missing;
        std::fprintf(log, "%scannot be read: %s\n", where.c_str(), animation.korvalPath.c_str());
        ++tally.findings;
        return;
    }
    FlcReader probe;
    FlcStatus status = probe.Open(source);
    if (status == FlcStatus::Frame)
        status = probe.NextFrame();
    if (status != FlcStatus::Frame) {
        entry.preview = StateOf(status);
        std::fprintf(log, "%s%s: %s\n", where.c_str(), StateWords(entry.preview), animation.korvalPath.c_str());
        ++tally.findings;
        return;
    }
    Placed gif = Place(outFolder, placed, ".GIF");
    Placed poster = Place(outFolder, placed, ".PNG");
    std::vector<std::string> made;
    std::string why;
    if (!MakeFolders(FolderOf(gif.path), made, why)) {
        std::fprintf(log, "%s%s\n", where.c_str(), why.c_str());
        ++tally.findings;
        entry.preview = PreviewState::Missing;
        return;
    }
    OutputFile gifFile(room), posterFile(room);
    if (!gifFile.Open(gif.path) || !posterFile.Open(poster.path)) {
        std::fprintf(log, "%s%s\n", where.c_str(), (gifFile.Error() + posterFile.Error()).c_str());
        gifFile.Discard();
        RemoveFolders(made);
        ++tally.findings;
        entry.preview = PreviewState::Missing;
        return;
    }
    FlcConversion frames = ConvertFlcToGif(source, gifFile);
    FlcConversion first = ConvertFlcFrameToPng(source, 1, posterFile);
    // No room to read a later frame: the frames before it are no whole
    // animation, and nothing is kept, as korval-convert keeps nothing.
    const bool memory = frames.outOfMemory || first.outOfMemory || frames.status == FlcStatus::NoMemory
                     || first.status == FlcStatus::NoMemory;
    bool failed = frames.outputFailed || first.outputFailed || frames.frames == 0 || first.frames == 0 || memory;
    if (failed || !gifFile.Commit() || !posterFile.Commit()) {
        gifFile.Discard();
        posterFile.Discard();
        RemoveFolders(made);
        entry.preview = memory ? PreviewState::NoMemory : PreviewState::Missing;
        std::string why = memory ? StateWords(entry.preview) : gifFile.Error() + posterFile.Error();
        std::fprintf(log, "%s%s\n", where.c_str(), why.empty() ? "cannot be written" : why.c_str());
        ++tally.findings;
        return;
    }
    ++tally.readable;
    entry.preview = PreviewState::Shown;
    entry.gif = gif.url;
    entry.poster = poster.url;
    entry.width = probe.Info().width;
    entry.height = probe.Info().height;
    if (frames.status == FlcStatus::Damaged) {
        entry.damagedAt = frames.damagedAt;
        std::fprintf(log, "%sdamaged at frame %d: %d frames converted to %s\n", where.c_str(), frames.damagedAt,
                     frames.frames, gif.path.c_str());
        ++tally.findings;
        return;
    }
    std::fprintf(log, "%s -> %s, %s: %d frames\n", animation.relative.c_str(), gif.path.c_str(),
                 poster.path.c_str(), frames.frames);
}

} // namespace

int WriteCataloguePage(const std::string& catalogue, const std::string& outFolder, std::FILE* log,
                       std::uint64_t room)
{
    // A folder without KORVAL.INI is read through its draft, made in memory.
    CheckReport report = ReadMedium(catalogue);
    for (const std::string& line : report.leftOut)
        std::fprintf(log, "%s\n", line.c_str());
    if (!report.error.empty()) {
        std::fprintf(log, "%s\n", report.error.c_str());
        return 2;
    }
    // The checker has loaded the tables; its animations are their entries, in order.
    CataloguePage page = PageFromCatalogue();
    std::vector<std::string> made;
    std::string why;
    if (!MakeFolders(outFolder, made, why)) {
        std::fprintf(log, "%s\n", why.c_str());
        return 2;
    }
    Tally tally;
    OutputNames taken;
    // No animation was looked for (the base folder is missing or not on this
    // machine): the checker's findings say why.
    if (report.animations.empty() && !page.entries.empty()) {
        for (std::size_t n = report.leftOut.size(); n < report.lines.size(); ++n) {
            const std::string& line = report.lines[n];
            std::fprintf(log, "%s\n", line.c_str());
        }
    }
    for (std::size_t i = 0; i < page.entries.size(); ++i) {
        PageEntry& entry = page.entries[i];
        if (i >= report.animations.size()) {
            ++tally.findings;
            continue;
        }
        const CatalogueAnimation& animation = report.animations[i];
        std::string where = report.catalogue + ":" + std::to_string(animation.line) + ": " + animation.key + ": ";
        std::vector<std::string> names;
        if (animation.path.empty()) {
            std::fprintf(log, "%sfile missing: %s\n", where.c_str(), animation.korvalPath.c_str());
            ++tally.findings;
        } else if (animation.relative.empty() || !SafeNames(animation.relative, names)) {
            std::fprintf(log, "%soutside the base folder, not converted: %s\n", where.c_str(),
                         animation.korvalPath.c_str());
            ++tally.findings;
        } else {
            WritePictures(entry, animation, where, names, outFolder, log, room, tally, taken);
        }
        std::fflush(log);
    }
    std::string error;
    for (int icon = 0; icon < kPageIcons; ++icon) {
        if (!WriteWhole(JoinPath(outFolder, kPageIconNames[icon]), PageIconBytes(icon), room, error)) {
            std::fprintf(log, "%s\n", error.c_str());
            return 2;
        }
    }
    // Last, so that a page is never seen before its pictures are there.
    std::string index = JoinPath(outFolder, "index.html");
    if (!WriteWhole(index, WritePage(page), room, error)) {
        std::fprintf(log, "%s\n", error.c_str());
        return 2;
    }
    std::fprintf(log, "%s: %zu entries\n", index.c_str(), page.entries.size());
    if (tally.readable == 0)
        return 2;
    return tally.findings != 0 ? 1 : 0;
}
