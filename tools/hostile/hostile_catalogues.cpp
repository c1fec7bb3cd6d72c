// hostile-catalogues OUTDIR [ROOT]
// Writes every hostile catalogue below OUTDIR and prints what KORVAL must make
// of each. ROOT (default T:\HOSTILE\) is the folder under which KORVAL is to
// see OUTDIR: the paths at a buffer's edge count its characters.
#include "tools/hostile/hostile_catalogues.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::filesystem::path Below(const std::filesystem::path& out, const std::string& root, const std::string& windowsPath)
{
    std::string relative = windowsPath.substr(root.size());
    for (char& c : relative) {
        if (c == '\\')
            c = '/';
    }
    return out / relative;
}

std::string Expected(const hostile::Catalogue& catalogue)
{
    if (catalogue.rows == hostile::kNoList)
        return "window without a list";
    if (catalogue.rows == hostile::kMediumPrompt)
        return "medium prompt";
    return std::to_string(catalogue.rows) + " rows";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: hostile-catalogues OUTDIR [ROOT]\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::string root = argc == 3 ? argv[2] : "T:\\HOSTILE\\";
    if (root.empty() || root.back() != '\\')
        root += '\\';

    std::error_code error;
    for (const hostile::Catalogue& catalogue : hostile::Catalogues(root)) {
        std::filesystem::path file = Below(out, root, hostile::CataloguePath(catalogue));
        std::filesystem::create_directories(file.parent_path(), error);
        if (catalogue.isFolder) {
            std::filesystem::create_directories(file, error);
        } else {
            std::ofstream stream(file, std::ios::binary | std::ios::trunc);
            stream.write(catalogue.content.data(), static_cast<std::streamsize>(catalogue.content.size()));
            if (!stream) {
                std::fprintf(stderr, "%s: cannot write %s\n", catalogue.name.c_str(), file.string().c_str());
                return 1;
            }
        }
        std::printf("%-44s %9zu bytes  %s\n", catalogue.name.c_str(), catalogue.content.size(),
                    Expected(catalogue).c_str());
        if (!catalogue.registeredPlay.empty())
            std::printf("    registered player: %s\n", catalogue.registeredPlay.c_str());
        for (const hostile::PlayCheck& play : catalogue.plays)
            std::printf("    play row %d: %s\n", play.row,
                        play.commandLine.empty() ? "nothing started, message 208" : play.commandLine.c_str());
    }
    return 0;
}
