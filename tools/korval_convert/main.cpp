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

int Usage()
{
    std::fprintf(stderr, "usage: korval-convert [--frame N] ANIMATION.FLC OUT.GIF|OUT.PNG\n"
                         "       korval-convert FOLDER-or-KORVAL.INI OUTFOLDER\n"
                         "       korval-convert --web FOLDER-or-KORVAL.INI OUTFOLDER\n"
                         "Writes an FLC/FLI animation as a GIF that loops forever, or one frame\n"
                         "(--frame N, from 1; default 1) as a PNG; or every animation a catalogue\n"
                         "names as a GIF under OUTFOLDER, in the same sub-folders; with --web also\n"
                         "a PNG of each first frame and a web page of the catalogue, index.html.\n"
                         "Exit code: 0 all converted, 1 findings, 2 nothing readable or bad arguments.\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--web") == 0) {
        if (argc != 4)
            return Usage();
        return WriteCataloguePage(argv[2], argv[3], stdout);
    }
    int frame = 1;
    bool frameGiven = false;
    int first = 1;
    if (argc >= 2 && std::strcmp(argv[1], "--frame") == 0) {
        if (argc < 3)
            return Usage();
        char* end = nullptr;
        long value = std::strtol(argv[2], &end, 10);
        if (end == argv[2] || *end != '\0' || value < 1 || value > 65535)
            return Usage();
        frame = static_cast<int>(value);
        frameGiven = true;
        first = 3;
    }
    if (argc - first != 2)
        return Usage();
    std::string in = argv[first], out = argv[first + 1];
    std::string folded = FoldedName(in);
    bool catalogue = KindOf(in) == EntryKind::Folder
                  || (folded.size() >= 4 && folded.compare(folded.size() - 4, 4, FoldedName(".INI")) == 0);
    if (catalogue) {
        if (frameGiven || OutputKind(out) != "")
            return Usage();
        return ConvertCatalogue(in, out, stdout);
    }
    std::string kind = OutputKind(out);
    if (kind.empty() || (frameGiven && kind != "PNG"))
        return Usage();
    return ConvertFile(in, out, frame, stdout);
}
