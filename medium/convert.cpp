#include "medium/convert.h"

#include "anim/flc_convert.h"
#include "anim/flc_sources.h"
#include "medium/check.h"
#include "medium/file_system.h"
#include "medium/output_file.h"

namespace {

enum class Outcome { Converted, Damaged, Unreadable, OutputFailed };

struct Converted {
    Outcome outcome = Outcome::Converted;
    std::string text;       // the finding, or the progress line's end
};

std::string Frames(int count)
{
    return std::to_string(count) + (count == 1 ? " frame" : " frames");
}

// One file converted, its outcome in words; `png` writes frame `frame`.
Converted ConvertOne(const std::string& in, const std::string& out, bool png, int frame, std::uint64_t room)
{
    Converted converted;
    FlcFileSource source;
    if (source.Open(in.c_str()) != FlcFileSource::Opened::Yes) {
        converted.outcome = Outcome::Unreadable;
        converted.text = "cannot be read";
        return converted;
    }
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
    if (result.status == FlcStatus::Damaged && !png) {
        converted.outcome = Outcome::Damaged;
        converted.text = "damaged at frame " + std::to_string(result.damagedAt) + ": " + Frames(result.frames)
                       + " converted to " + out;
        return converted;
    }
    converted.text = png ? "frame " + std::to_string(frame) : Frames(result.frames);
    if (result.slowed)
        converted.text += ", plays slower: faster than 50 frames a second";
    return converted;
}

// `name` with the extension `extension` in place of its own.
std::string Renamed(const std::string& name, const char* extension)
{
    std::size_t slash = name.find_last_of("\\/");
    std::size_t dot = name.find_last_of('.');
    std::string stem = dot != std::string::npos && (slash == std::string::npos || dot > slash) ? name.substr(0, dot) : name;
    return stem + extension;
}

std::string Folder(const std::string& path)
{
    std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
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
    CheckReport report = CheckCatalogue(catalogue);
    if (!report.error.empty()) {
        std::fprintf(log, "%s\n", report.error.c_str());
        return 2;
    }
    int findings = 0;
    int readable = 0;
    for (const CatalogueAnimation& animation : report.animations) {
        std::string where = report.catalogue + ":" + std::to_string(animation.line) + ": " + animation.key + ": ";
        if (animation.path.empty()) {
            std::fprintf(log, "%sfile missing: %s\n", where.c_str(), animation.korvalPath.c_str());
            ++findings;
            continue;
        }
        if (animation.relative.empty()) {
            std::fprintf(log, "%soutside the base folder, not converted: %s\n", where.c_str(), animation.korvalPath.c_str());
            ++findings;
            continue;
        }
        std::string out = JoinPath(outFolder, Renamed(animation.relative, ".GIF"));
        if (!MakeFolders(Folder(out))) {
            std::fprintf(log, "%s%s: the folder cannot be made\n", where.c_str(), Folder(out).c_str());
            ++findings;
            std::fflush(log);
            continue;
        }
        Converted converted = ConvertOne(animation.path, out, false, 1, room);
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
