// korval-convert [--frame N] IN.FLC OUT.GIF|OUT.PNG
// korval-convert FOLDER-or-KORVAL.INI OUTFOLDER
// korval-convert --web FOLDER-or-KORVAL.INI OUTFOLDER
#include "medium/convert.h"
#include "medium/file_system.h"
#include "web/page_files.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char kUsage[] = "usage: korval-convert [--frame N] ANIMATION.FLC OUT.GIF|OUT.PNG\n"
                      "       korval-convert FOLDER-or-KORVAL.INI OUTFOLDER\n"
                      "       korval-convert --web FOLDER-or-KORVAL.INI OUTFOLDER\n";

int Usage(std::FILE* to, int exitCode)
{
    std::fprintf(to, "%s", kUsage);
    std::fprintf(to, "Writes an FLC/FLI animation as a GIF that loops forever, or one frame\n"
                     "(--frame N, from 1; default 1) as a PNG; or every animation a catalogue\n"
                     "names as a GIF under OUTFOLDER, in the same sub-folders. Two animations\n"
                     "that would give the same name (A.FLC, A.FLI) give A.GIF and A_FLI.GIF.\n"
                     "With --web, also a PNG of each animation's first frame and a web page of\n"
                     "the catalogue, OUTFOLDER/index.html.\n"
                     "Exit code: 0 all converted, 1 findings, 2 nothing readable or bad arguments.\n");
    return exitCode;
}

// A command line that cannot be carried out: why, then how it goes.
int Refuse(const std::string& why)
{
    std::fprintf(stderr, "korval-convert: %s\n%s", why.c_str(), kUsage);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0
                      || std::strcmp(argv[1], "/?") == 0))
        return Usage(stdout, 0);
    if (argc >= 2 && std::strcmp(argv[1], "--web") == 0) {
        if (argc != 4)
            return Refuse("--web takes a folder or KORVAL.INI and an output folder");
        return WriteCataloguePage(argv[2], argv[3], stdout);
    }
    int frame = 1;
    bool frameGiven = false;
    int first = 1;
    if (argc >= 2 && std::strcmp(argv[1], "--frame") == 0) {
        if (argc < 3)
            return Refuse("--frame needs a frame number");
        char* end = nullptr;
        long value = std::strtol(argv[2], &end, 10);
        if (end == argv[2] || *end != '\0' || value < 1 || value > 65535)
            return Refuse(std::string("--frame ") + argv[2] + ": the frame number is one from 1 to 65535");
        frame = static_cast<int>(value);
        frameGiven = true;
        first = 3;
    }
    if (argc - first != 2)
        return Usage(stderr, 2);
    std::string in = argv[first], out = argv[first + 1];
    std::string folded = FoldedName(in);
    EntryKind inKind = KindOf(in);
    std::string kind = OutputKind(out);
    bool catalogue = inKind == EntryKind::Folder
                  || (folded.size() >= 4 && folded.compare(folded.size() - 4, 4, FoldedName(".INI")) == 0);
    if (catalogue) {
        if (frameGiven)
            return Refuse("--frame is for one animation: a catalogue's animations are written whole, as GIFs");
        if (!kind.empty())
            return Refuse(out + ": a catalogue's animations go into a folder, not into one " + kind + " file");
        return ConvertCatalogue(in, out, stdout);
    }
    if (inKind == EntryKind::None)
        return Refuse(in + ": no such file or folder");
    if (inKind != EntryKind::File)
        return Refuse(in + ": not a regular file (" + KindName(inKind) + ")");
    if (kind.empty())
        return Refuse(out + ": unknown output type: an animation is written to a name ending in .gif, one frame"
                            " to .png; a catalogue is a folder or a .INI file");
    if (frameGiven && kind != "PNG")
        return Refuse("--frame writes one frame: name the output .png");
    return ConvertFile(in, out, frame, stdout);
}
