// korval-convert on real files: what it writes (read back and held against
// the decoder), what it says, its exit codes, and that a failed output
// leaves no file and keeps an old one.
#include "medium/convert.h"

#include "anim/flc_reader.h"
#include "anim/flc_sources.h"
#include "tests/support/gif_read.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const std::string kFixtures = CONVERT_FIXTURES;
const char kSeparator = CONVERT_SEPARATOR;

std::string Join(const std::string& folder, const std::string& name)
{
    return folder + kSeparator + name;
}

// An empty scratch folder of its own for each test.
std::string Scratch(const char* name)
{
    std::string folder = Join(CONVERT_SCRATCH, name);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    fs::create_directories(folder);
    return folder;
}

Bytes ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What a conversion printed and answered.
struct Outcome {
    int exitCode;
    std::string log;
};

template <typename Convert>
Outcome Logged(const std::string& folder, Convert convert)
{
    std::string logName = Join(folder, "log.txt");
    std::FILE* log = std::fopen(logName.c_str(), "w");
    int exitCode = convert(log);
    std::fclose(log);
    Bytes text = ReadAll(logName);
    fs::remove(logName);
    return {exitCode, std::string(text.begin(), text.end())};
}

std::vector<std::string> Names(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            names.push_back(fs::relative(entry.path(), folder).generic_string());
    std::sort(names.begin(), names.end());
    return names;
}

// The GIF at `gif` holds every frame KORVAL decodes from `flc`, each with
// its own colours; `frames` of them.
void ExpectSameFrames(const std::string& flc, const std::string& gif, std::size_t frames)
{
    Bytes bytes = ReadAll(gif);
    GifFile read = ReadGif(bytes.data(), bytes.size());
    ASSERT_EQ(read.error, "") << gif;
    ASSERT_EQ(read.frames.size(), frames) << gif;
    FlcFileSource source;
    ASSERT_EQ(source.Open(flc.c_str()), FlcFileSource::Opened::Yes);
    FlcReader reader;
    ASSERT_EQ(reader.Open(source), FlcStatus::Frame);
    const FlcInfo& info = reader.Info();
    std::vector<Bytes> shown = GifPictures(read);
    for (const GifFrame& frame : read.frames) {
        ASSERT_EQ(reader.NextFrame(), FlcStatus::Frame) << flc;
        int n = reader.FrameNumber();
        EXPECT_TRUE(shown[n - 1] == IndicesToRgb(reader.Indices(), static_cast<std::size_t>(info.width) * info.height, reader.Palette()))
            << gif << ", frame " << n;
        EXPECT_EQ(frame.palette, Bytes(reader.Palette(), reader.Palette() + 768)) << gif << ", frame " << n;
    }
}

TEST(ConvertFile, WritesWhatItReadsAndSaysWhatItCouldNot)
{
    std::string out = Scratch("file");
    std::string anim = Join(Join(kFixtures + "checker", "animations"), "ANIM");
    std::string gimp = Join(kFixtures + "anim", "gimp-101x67.flc");
    struct Case {
        const char* name;
        std::string in, out;
        int frame;
        int exitCode;
        std::string says;       // in the log
        bool written;
    };
    const Case cases[] = {
        {"a whole animation", gimp, Join(out, "gimp.gif"), 1, 0, "gimp.gif: 5 frames", true},
        {"one frame as a PNG, the name in capitals", gimp, Join(out, "GIMP3.PNG"), 3, 0, "GIMP3.PNG: frame 3", true},
        {"damaged: the frames before are kept", Join(anim, "KAPUTT.FLC"), Join(out, "kaputt.gif"), 1, 1,
         "KAPUTT.FLC: damaged at frame 3: 2 frames converted to ", true},
        {"damaged before the frame asked for", Join(anim, "KAPUTT.FLC"), Join(out, "kaputt.png"), 4, 2,
         "damaged at frame 3: nothing converted", false},
        {"a frame past the last", gimp, Join(out, "gimp9.png"), 9, 2, "has no frame 9 (5 frames)", false},
        {"not an animation", Join(anim, "TEXT.FLC"), Join(out, "text.gif"), 1, 2, "TEXT.FLC: not an FLC or FLI file", false},
        {"no such file", Join(anim, "FEHLT.FLC"), Join(out, "fehlt.gif"), 1, 2, "FEHLT.FLC: cannot be read", false},
        {"an output folder that does not exist", gimp, Join(Join(out, "nirgends"), "x.gif"), 1, 1, "x.gif: cannot be written",
         false},
    };
    for (const Case& c : cases) {
        Outcome run = Logged(out, [&](std::FILE* log) { return ConvertFile(c.in, c.out, c.frame, log); });
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << ": " << run.log;
        EXPECT_NE(run.log.find(c.says), std::string::npos) << c.name << ": " << run.log;
        EXPECT_EQ(fs::exists(c.out), c.written) << c.name;
    }
    ExpectSameFrames(gimp, Join(out, "gimp.gif"), 5);
    ExpectSameFrames(Join(anim, "KAPUTT.FLC"), Join(out, "kaputt.gif"), 2);
    Bytes png = ReadAll(Join(out, "GIMP3.PNG"));
    ASSERT_GE(png.size(), 8u);
    EXPECT_EQ(Bytes(png.begin() + 1, png.begin() + 4), (Bytes{'P', 'N', 'G'}));
    // Nothing but the files written: no temporary file stays behind.
    EXPECT_EQ(Names(out), (std::vector<std::string>{"GIMP3.PNG", "gimp.gif", "kaputt.gif"}));
}

// A disk that fills up: the old file of that name stays as it was, no
// temporary file stays, the error is said; with room, the file is replaced.
TEST(ConvertFile, AFullDiskKeepsTheOldFile)
{
    std::string out = Scratch("full");
    std::string gimp = Join(kFixtures + "anim", "gimp-320x200.fli");
    for (const char* name : {"old.gif", "old.png"}) {
        std::string target = Join(out, name);
        std::ofstream(target, std::ios::binary) << "the old file";
        for (std::uint64_t room : {std::uint64_t{0}, std::uint64_t{40}, std::uint64_t{800}}) {
            Outcome run = Logged(out, [&](std::FILE* log) { return ConvertFile(gimp, target, 1, log, room); });
            EXPECT_EQ(run.exitCode, 1) << name << ", room " << room;
            EXPECT_NE(run.log.find(std::string(name) + ": cannot be written: "), std::string::npos) << run.log;
            Bytes kept = ReadAll(target);
            EXPECT_TRUE(std::string(kept.begin(), kept.end()) == "the old file") << name << ", room " << room;
            for (const std::string& left : Names(out))
                EXPECT_EQ(left.find(".~"), std::string::npos) << left << ": a temporary file stayed";
        }
        // A file that holds the first temporary name is someone else's.
        std::ofstream(target + ".~1", std::ios::binary) << "not ours";
        Outcome run = Logged(out, [&](std::FILE* log) { return ConvertFile(gimp, target, 1, log); });
        EXPECT_EQ(run.exitCode, 0) << run.log;
        EXPECT_NE(ReadAll(target).size(), 12u);
        Bytes other = ReadAll(target + ".~1");
        EXPECT_EQ(std::string(other.begin(), other.end()), "not ours");
        fs::remove(target + ".~1");
    }
    ExpectSameFrames(gimp, Join(out, "old.gif"), 7);
#ifndef _WIN32
    // A real full device, written as it is.
    Outcome device = Logged(out, [&](std::FILE* log) { return ConvertFile(gimp, "/dev/full", 1, log); });
    EXPECT_EQ(device.exitCode, 1) << device.log;
    EXPECT_NE(device.log.find("/dev/full: cannot be written: No space left on device"), std::string::npos) << device.log;
#endif
}

TEST(ConvertCatalogue, EveryAnimationUnderTheSameFolders)
{
    std::string out = Scratch("medium");
    std::string target = Join(out, "GIF");
    Outcome run = Logged(out, [&](std::FILE* log) { return ConvertCatalogue(CONVERT_EXAMPLE, target, log); });
    EXPECT_EQ(run.exitCode, 0) << run.log;
    std::vector<std::string> names = Names(target);
    std::vector<std::string> flcs;
    std::string anim = Join(CONVERT_EXAMPLE, "ANIM");
    for (const auto& entry : fs::recursive_directory_iterator(anim))
        if (entry.is_regular_file())
            flcs.push_back(fs::relative(entry.path(), anim).replace_extension(".GIF").generic_string());
    std::sort(flcs.begin(), flcs.end());
    EXPECT_EQ(names, flcs);
    // One progress line per file.
    EXPECT_EQ(static_cast<std::size_t>(std::count(run.log.begin(), run.log.end(), '\n')), flcs.size()) << run.log;
    std::string pferd = Join("TIERE", "PFERD.FLC");
    EXPECT_NE(run.log.find(pferd + " -> " + Join(Join(target, "TIERE"), "PFERD.GIF") + ": "), std::string::npos) << run.log;
    ExpectSameFrames(Join(anim, pferd), Join(Join(target, "TIERE"), "PFERD.GIF"), 24);
}

TEST(ConvertCatalogue, FindingsInTheCheckersWords)
{
    std::string out = Scratch("findings");
    std::string catalogue = Join(Join(kFixtures + "checker", "animations"), "KORVAL.INI");
    Outcome run = Logged(out, [&](std::FILE* log) { return ConvertCatalogue(catalogue, out, log); });
    EXPECT_EQ(run.exitCode, 1) << run.log;
    for (const std::string& line : {catalogue + ":10: Animation4: not an FLC or FLI file: ",
                                   catalogue + ":11: Animation5: picture too large: ",
                                   catalogue + ":12: Animation6: damaged at frame 3: 2 frames converted to ",
                                   catalogue + ":14: Animation8: file missing: ", std::string("GUT.FLC -> ")}) {
        EXPECT_NE(run.log.find(line), std::string::npos) << line << " in\n" << run.log;
    }
    EXPECT_EQ(Names(out), (std::vector<std::string>{"ALT.GIF", "EIN.GIF", "GUT.GIF", "KAPUTT.GIF"})) << run.log;

    // Not one file written for a full disk; the folder unreadable.
    std::string full = Scratch("findings-full");
    Outcome none = Logged(full, [&](std::FILE* log) { return ConvertCatalogue(catalogue, full, log, 100); });
    EXPECT_EQ(none.exitCode, 1) << none.log;
    EXPECT_TRUE(Names(full).empty()) << none.log;
    Outcome unreadable = Logged(full, [&](std::FILE* log) { return ConvertCatalogue(Join(full, "nothing.ini"), full, log); });
    EXPECT_EQ(unreadable.exitCode, 2) << unreadable.log;
}

// An entry whose file climbs out of the base folder would have its GIF put
// beside the output folder: it is reported and left out.
TEST(ConvertCatalogue, NothingIsWrittenOutsideTheOutputFolder)
{
    std::string medium = Scratch("outside");
    fs::create_directories(Join(medium, "ANIM"));
    fs::create_directories(Join(medium, "DRAUSSEN"));
    std::string gimp = Join(kFixtures + "anim", "gimp-101x67.flc");
    fs::copy_file(gimp, Join(Join(medium, "ANIM"), "GUT.FLC"));
    fs::copy_file(gimp, Join(Join(medium, "DRAUSSEN"), "X.FLC"));
    std::ofstream(Join(medium, "KORVAL.INI"), std::ios::binary)
        << "[Authors]\r\nAuthor1=Anna Adler\r\n[Keywords]\r\nKeyword1=Sport\r\n[Animations]\r\n"
           "Animation1=0;1;Gut;GUT.FLC;12.03.1996;2;1\r\n"
           "Animation2=0;1;Draussen;..\\DRAUSSEN\\X.FLC;12.03.1996;2;1\r\n"
           "[Settings]\r\nBasePath=ANIM\r\n";
    std::string out = Join(medium, "GIF");
    Outcome run = Logged(medium, [&](std::FILE* log) { return ConvertCatalogue(medium, out, log); });
    EXPECT_EQ(run.exitCode, 1) << run.log;
    EXPECT_NE(run.log.find(":7: Animation2: outside the base folder, not converted: "), std::string::npos) << run.log;
    EXPECT_EQ(Names(medium), (std::vector<std::string>{"ANIM/GUT.FLC", "DRAUSSEN/X.FLC", "GIF/GUT.GIF", "KORVAL.INI"}));
}

} // namespace
