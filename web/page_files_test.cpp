// The page's files on disk: an animation whose later frame finds no memory
// keeps nothing, and the page says why; animations whose pictures would
// share a name each keep their own.
#include "web/page_files.h"

#include "tests/native/flc_builder.h"
#include "tests/support/failing_allocator.h"
#include "tests/support/gif_read.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// What WriteCataloguePage answered and logged.
struct Written {
    int exitCode;
    std::string log;
};

Written WritePage(const fs::path& catalogue, const fs::path& out)
{
    std::FILE* log = std::tmpfile();
    Written written{WriteCataloguePage(catalogue.string(), out.string(), log), ""};
    std::rewind(log);
    for (int c; (c = std::fgetc(log)) != EOF;)
        written.log += static_cast<char>(c);
    std::fclose(log);
    return written;
}

// Three frames of 32 x 32; the third carries a chunk of no kind the decoder
// draws, which makes it larger than any array the conversion needs before.
TEST(PageFiles, NoMemoryForALaterFrameKeepsNothingOfTheAnimation)
{
    const fs::path folder = fs::path(PAGE_SCRATCH) / "later-frame";
    fs::remove_all(folder);
    fs::create_directories(folder / "ANIM");
    Bytes palette(768), first(32 * 32), second(32 * 32);
    for (std::size_t i = 0; i < palette.size(); ++i)
        palette[i] = static_cast<std::uint8_t>(i * 5);
    for (std::size_t i = 0; i < first.size(); ++i) {
        first[i] = static_cast<std::uint8_t>(i % 7);
        second[i] = static_cast<std::uint8_t>(i % 5);
    }
    const Bytes file = File(false, 32, 32, 3, 50,
                            {Frame({PaletteChunk(0, palette), CopyChunk(first)}), Frame({CopyChunk(second)}),
                             Frame({Chunk(18, Bytes(67000))})});
    WriteAll(folder / "ANIM" / "SPAET.FLC", std::string(file.begin(), file.end()));
    WriteAll(folder / "KORVAL.INI", "[Authors]\r\nAuthor1=Anna Adler\r\n[Animations]\r\n"
                                    "Animation1=0;1;Sp\xE4t;SPAET.FLC;1.1.1999;70\r\n[Settings]\r\nBasePath=ANIM\r\n");
    struct Case {
        const char* name;
        std::size_t failFrom;       // 0: every request served
        int exitCode;
        std::size_t gifFrames;      // 0: no GIF, no poster
        const char* page;           // what the page says of the entry
    };
    const Case cases[] = {
        {"memory enough", 0, 0, 3, "SPAET.GIF"},
        {"none for the third frame: nothing readable", 66000, 2, 0, "nicht genug Speicher"},
    };
    for (const Case& c : cases) {
        const fs::path out = folder / "out";
        fs::remove_all(out);
        if (c.failFrom != 0)
            FailNothrowArraysFrom(c.failFrom);
        Written written = WritePage(folder / "KORVAL.INI", out);
        ServeEveryArray();
        EXPECT_EQ(written.exitCode, c.exitCode) << c.name << "\n" << written.log;
        const std::string gif = ReadAll(out / "SPAET.GIF");
        if (c.gifFrames == 0) {
            EXPECT_FALSE(fs::exists(out / "SPAET.GIF")) << c.name;
            EXPECT_FALSE(fs::exists(out / "SPAET.PNG")) << c.name;
            EXPECT_NE(written.log.find("too large for this machine's memory"), std::string::npos) << c.name << "\n"
                                                                                                  << written.log;
        } else {
            GifFile read = ReadGif(reinterpret_cast<const std::uint8_t*>(gif.data()), gif.size());
            EXPECT_EQ(read.error, "") << c.name;
            EXPECT_EQ(read.frames.size(), c.gifFrames) << c.name;
            EXPECT_TRUE(fs::exists(out / "SPAET.PNG")) << c.name;
        }
        EXPECT_NE(ReadAll(out / "index.html").find(c.page), std::string::npos) << c.name;
        // Only the page and its icons besides the pictures kept.
        for (const auto& item : fs::recursive_directory_iterator(out))
            EXPECT_EQ(item.path().filename().string().find('~'), std::string::npos) << c.name << ": " << item.path();
    }
}

// A.FLC and A.FLI would both make A.GIF; A_FLI.FLC then what A.FLI takes.
TEST(PageFiles, AnimationsWhosePicturesShareANameEachKeepTheirOwn)
{
    const fs::path folder = fs::path(PAGE_SCRATCH) / "shared-names";
    fs::remove_all(folder);
    fs::create_directories(folder / "ANIM");
    const char* files[] = {"A.FLC", "A.FLI", "A_FLI.FLC"};
    std::string catalogue = "[Authors]\r\nAuthor1=Anna Adler\r\n[Animations]\r\n";
    for (int i = 0; i < 3; ++i) {
        // Animation i + 1 has i + 1 frames.
        std::vector<Bytes> frames;
        for (int f = 0; f <= i; ++f)
            frames.push_back(Frame({CopyChunk(Bytes(16, static_cast<std::uint8_t>(f)))}));
        Bytes file = File(std::string(files[i]).find(".FLI") != std::string::npos, 4, 4, i + 1, 50, {});
        for (const Bytes& frame : frames)
            file.insert(file.end(), frame.begin(), frame.end());
        for (int b = 0; b < 4; ++b)
            file[b] = static_cast<std::uint8_t>(file.size() >> (8 * b));
        WriteAll(folder / "ANIM" / files[i], std::string(file.begin(), file.end()));
        catalogue += "Animation" + std::to_string(i + 1) + "=0;1;T" + std::to_string(i) + ";" + files[i] + ";1.1.1999;1\r\n";
    }
    WriteAll(folder / "KORVAL.INI", catalogue + "[Settings]\r\nBasePath=ANIM\r\n");
    const fs::path out = folder / "out";
    Written written = WritePage(folder / "KORVAL.INI", out);
    EXPECT_EQ(written.exitCode, 0) << written.log;
    const char* gifs[] = {"A.GIF", "A_FLI.GIF", "A_FLI_FLC.GIF"};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string gif = ReadAll(out / gifs[i]);
        GifFile read = ReadGif(reinterpret_cast<const std::uint8_t*>(gif.data()), gif.size());
        EXPECT_EQ(read.error, "") << gifs[i];
        EXPECT_EQ(read.frames.size(), i + 1) << gifs[i];
        EXPECT_TRUE(fs::exists(out / (std::string(gifs[i], std::strlen(gifs[i]) - 4) + ".PNG"))) << gifs[i];
    }
}

} // namespace
