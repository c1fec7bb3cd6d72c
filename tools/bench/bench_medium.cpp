// The bench catalogue as a medium on disk, for the page's figures in make
// bench: KORVAL.INI with every table full, and for each of its 200 entries an
// animation file, copied round the given ones in turn.
//   korval-bench-medium FOLDER ANIMATION.FLC...
#include "full_catalogue.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: korval-bench-medium FOLDER ANIMATION.FLC...\n");
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path folder = argv[1];
    const std::string text = bench::FullCatalogueText();
    fs::create_directories(folder / "ANIM");
    std::ofstream(folder / "KORVAL.INI", std::ios::binary) << text;
    // Each entry's file: "...;CLIPS\NAME.FLC;..." after the title.
    int entry = 0;
    for (std::size_t at = text.find("CLIPS\\"); at != std::string::npos; at = text.find("CLIPS\\", at + 1)) {
        std::string name = text.substr(at + 6, text.find(';', at) - at - 6);
        fs::create_directories(folder / "ANIM" / "CLIPS");
        fs::copy_file(argv[2 + entry % (argc - 2)], folder / "ANIM" / "CLIPS" / name,
                      fs::copy_options::overwrite_existing);
        ++entry;
    }
    std::printf("%d animations\n", entry);
    return entry == 200 ? 0 : 1;
}
