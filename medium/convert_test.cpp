// korval-convert on real files: what it writes (read back and held against
// the decoder), what it says, its exit codes, and that a failed output
// leaves no file and keeps an old one.
#include "medium/convert.h"

#include "anim/flc_reader.h"
#include "medium/check.h"
#include "medium/output_file.h"
#include "anim/flc_sources.h"
#include "tests/support/gif_read.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

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
    // Lines end in CR LF on Windows.
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
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

// The GIF at `gif` holds every frame KORVAL decodes from `flc`, pixel for
// pixel as a viewer shows it; `frames` of them.
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
    for (std::size_t i = 0; i < read.frames.size(); ++i) {
        ASSERT_EQ(reader.NextFrame(), FlcStatus::Frame) << flc;
        int n = reader.FrameNumber();
        EXPECT_TRUE(shown[n - 1] == IndicesToRgb(reader.Indices(), static_cast<std::size_t>(info.width) * info.height, reader.Palette()))
            << gif << ", frame " << n;
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
        {"a whole animation", gimp, Join(out, "gimp.gif"), 1, 0, "gimp.gif: 5 frames\n", true},
        {"the same again: the old file replaced, and said", gimp, Join(out, "gimp.gif"), 1, 0,
         "gimp.gif: 5 frames, replacing the file that was there\n", true},
        {"one frame as a PNG, the name in capitals", gimp, Join(out, "GIMP3.PNG"), 3, 0, "GIMP3.PNG: frame 3", true},
        {"damaged: the frames before are kept", Join(anim, "KAPUTT.FLC"), Join(out, "kaputt.gif"), 1, 1,
         "KAPUTT.FLC: damaged at frame 3: 2 frames converted to ", true},
        {"damaged before the frame asked for", Join(anim, "KAPUTT.FLC"), Join(out, "kaputt.png"), 4, 2,
         "damaged at frame 3: nothing converted", false},
        {"a frame past the last", gimp, Join(out, "gimp9.png"), 9, 2, "has no frame 9 (5 frames)", false},
        {"not an animation", Join(anim, "TEXT.FLC"), Join(out, "text.gif"), 1, 2, "TEXT.FLC: not an FLC or FLI file", false},
        {"no such file", Join(anim, "FEHLT.FLC"), Join(out, "fehlt.gif"), 1, 2, "FEHLT.FLC: cannot be read", false},
        {"an output folder that does not exist", gimp, Join(Join(out, "nirgends"), "x.gif"), 1, 2,
         "x.gif: the folder " + Join(out, "nirgends") + " does not exist", false},
        {"an output folder that is a file", gimp, Join(Join(out, "gimp.gif"), "x.gif"), 1, 2,
         "x.gif: " + Join(out, "gimp.gif") + " is a file, not a folder", false},
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
        for (std::uint64_t room : {std::uint64_t{0}, std::uint64_t{40}, std::uint64_t{400}}) {
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
    // The demo medium's rejected entry and unknown author, as korval-check
    // prints them, before the conversions.
    EXPECT_EQ(run.exitCode, 1) << run.log;
    std::vector<std::string> checked = CheckCatalogue(CONVERT_EXAMPLE).lines;
    std::string told;
    for (const std::string& line : checked)
        told += line + "\n";
    EXPECT_EQ(run.log.substr(0, told.size()), told);
    EXPECT_NE(told.find(": Animation12: rejected: only 5 fields\n"), std::string::npos) << told;
    std::vector<std::string> names = Names(target);
    std::vector<std::string> flcs;
    std::string anim = Join(CONVERT_EXAMPLE, "ANIM");
    for (const auto& entry : fs::recursive_directory_iterator(anim))
        if (entry.is_regular_file())
            flcs.push_back(fs::relative(entry.path(), anim).replace_extension(".GIF").generic_string());
    std::sort(flcs.begin(), flcs.end());
    EXPECT_EQ(names, flcs);
    // One progress line per file.
    EXPECT_EQ(static_cast<std::size_t>(std::count(run.log.begin(), run.log.end(), '\n')), checked.size() + flcs.size())
        << run.log;
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
    // What a file holds is said once: by the conversion, not by the check too.
    for (const char* once : {"Animation4: not an FLC", "Animation6: damaged at frame 3"}) {
        std::size_t first = run.log.find(once);
        EXPECT_NE(first, std::string::npos) << once;
        EXPECT_EQ(run.log.find(once, first + 1), std::string::npos) << once << " twice in\n" << run.log;
    }

    // Not one file written for a disk that takes less than the smallest GIF
    // (68 bytes for EIN.FLC); the folder unreadable.
    std::string full = Scratch("findings-full");
    Outcome none = Logged(full, [&](std::FILE* log) { return ConvertCatalogue(catalogue, full, log, 40); });
    EXPECT_EQ(none.exitCode, 1) << none.log;
    EXPECT_TRUE(Names(full).empty()) << none.log;
    Outcome unreadable = Logged(full, [&](std::FILE* log) { return ConvertCatalogue(Join(full, "nothing.ini"), full, log); });
    EXPECT_EQ(unreadable.exitCode, 2) << unreadable.log;
}

// A folder of animations without a catalogue is read through its draft:
// every animation converted, what the draft leaves out named and counted.
TEST(ConvertCatalogue, AFolderWithoutACatalogueThroughItsDraft)
{
    std::string medium = Scratch("plain");
    std::string gimp = Join(kFixtures + "anim", "gimp-101x67.flc");
    fs::create_directories(Join(medium, "SUB"));
    fs::copy_file(gimp, Join(Join(medium, "SUB"), "gut.flc"));
    std::ofstream(Join(medium, "KEIN.FLC"), std::ios::binary) << "no animation";
    std::string out = Scratch("plain-out");
    Outcome run = Logged(out, [&](std::FILE* log) { return ConvertCatalogue(medium, out, log); });
    EXPECT_EQ(run.exitCode, 1) << run.log;
    EXPECT_NE(run.log.find(Join(medium, "KEIN.FLC") + ": left out: not an FLC or FLI file"), std::string::npos)
        << run.log;
    EXPECT_EQ(Names(out), std::vector<std::string>{"SUB/gut.GIF"}) << run.log;

    // Without that file: nothing to say.
    fs::remove(Join(medium, "KEIN.FLC"));
    std::string again = Scratch("plain-again");
    run = Logged(again, [&](std::FILE* log) { return ConvertCatalogue(medium, again, log); });
    EXPECT_EQ(run.exitCode, 0) << run.log;
    EXPECT_EQ(Names(again), std::vector<std::string>{"SUB/gut.GIF"}) << run.log;
}

// A medium of its own: KORVAL.INI with `entries` and `settings`, and the
// files `files` (name under the medium, fixture) copied in.
void WriteMedium(const std::string& medium, const std::string& entries, const std::string& settings,
                 const std::vector<std::pair<std::string, std::string>>& files)
{
    for (const auto& file : files) {
        fs::create_directories(fs::path(Join(medium, file.first)).parent_path());
        fs::copy_file(file.second, Join(medium, file.first));
    }
    std::ofstream(Join(medium, "KORVAL.INI"), std::ios::binary)
        << "[Authors]\r\nAuthor1=Anna Adler\r\n[Keywords]\r\nKeyword1=Sport\r\n[Animations]\r\n" << entries
        << "[Settings]\r\n" << settings;
}

// Two animations that would give the same GIF name get names apart, said in
// the output; what is named as an animation but is none is said as the
// checker says it; a run again replaces, and says so; an entry that gives
// nothing leaves no folder behind.
TEST(ConvertCatalogue, EveryAnimationGetsAFileOfItsOwn)
{
    std::string medium = Scratch("apart");
    std::string flc = Join(kFixtures + "anim", "gimp-101x67.flc");     // 5 frames
    std::string fli = Join(kFixtures + "anim", "gimp-320x200.fli");    // 7 frames
    std::string text = Join(Join(Join(kFixtures + "checker", "animations"), "ANIM"), "TEXT.FLC");
    std::string a = Join("ANIM", "A");
    WriteMedium(medium,
                "Animation1=0;1;Eins;A.FLC;12.03.1996;2;1\r\n"
                "Animation2=0;1;Zwei;a.fli;12.03.1996;2;1\r\n"
                "Animation3=0;1;Drei;A_FLI.FLC;12.03.1996;2;1\r\n"
                "Animation4=0;1;Vier;A.FLC;12.03.1996;2;1\r\n"
                "Animation5=0;1;Ordner;ORDNER.FLC;12.03.1996;2;1\r\n"
                "Animation6=0;1;Text;LEER\\TEXT.FLC;12.03.1996;2;1\r\n"
                "Animation7=0;1;Rohr;ROHR.FLC;12.03.1996;2;1\r\n",
                "BasePath=ANIM\r\n",
                {{a + ".FLC", flc}, {a + ".FLI", fli}, {a + "_FLI.FLC", flc}, {Join(Join("ANIM", "LEER"), "TEXT.FLC"), text}});
    fs::create_directories(Join(Join(medium, "ANIM"), "ORDNER.FLC"));
#ifndef _WIN32
    ASSERT_EQ(mkfifo(Join(Join(medium, "ANIM"), "ROHR.FLC").c_str(), 0600), 0);
#endif
    std::string out = Join(medium, "GIF");
    for (const char* replaced : {"", ", replacing the file that was there"}) {
        Outcome run = Logged(medium, [&](std::FILE* log) { return ConvertCatalogue(medium, out, log); });
        EXPECT_EQ(run.exitCode, 1) << run.log;
        std::vector<std::string> lines = {
              "A.FLC -> " + Join(out, "A.GIF") + ": 5 frames" + replaced + "\n",
              "A.FLI -> " + Join(out, "A_FLI.GIF") + ": 7 frames" + replaced + ", named apart: A.GIF is A.FLC's\n",
              "A_FLI.FLC -> " + Join(out, "A_FLI_FLC.GIF") + ": 5 frames" + replaced + ", named apart: A_FLI.GIF is A.FLI's\n",
              ":9: Animation4: the same file as Animation1: " + Join(out, "A.GIF") + "\n",
              ":10: Animation5: not a regular file (a folder): ", ":11: Animation6: not an FLC or FLI file: ",
#ifndef _WIN32
              ":12: Animation7: not a regular file (a named pipe): ",
#endif
        };
        for (const std::string& line : lines) {
            EXPECT_NE(run.log.find(line), std::string::npos) << line << " in\n" << run.log;
        }
        // Said once, as what it is; never "missing" as well.
        for (const char* name : {"ORDNER.FLC", "ROHR.FLC"}) {
            std::size_t first = run.log.find(name);
            EXPECT_EQ(run.log.find(name, first + 1), std::string::npos) << name << " twice in\n" << run.log;
        }
        EXPECT_EQ(Names(out), (std::vector<std::string>{"A.GIF", "A_FLI.GIF", "A_FLI_FLC.GIF"})) << run.log;
        EXPECT_FALSE(fs::exists(Join(out, "LEER"))) << "an empty folder left behind";
        ExpectSameFrames(Join(medium, a + ".FLC"), Join(out, "A.GIF"), 5);
        ExpectSameFrames(Join(medium, a + ".FLI"), Join(out, "A_FLI.GIF"), 7);
    }
    // A disk that is full: the folder made for the files goes again.
    std::string full = Join(medium, "VOLL");
    Outcome none = Logged(medium, [&](std::FILE* log) { return ConvertCatalogue(medium, full, log, 100); });
    EXPECT_NE(none.log.find("A.GIF: cannot be written: "), std::string::npos) << none.log;
    EXPECT_FALSE(fs::exists(full)) << none.log;
}

// A base folder that is missing or on no drive of this machine: nothing to
// convert, and the catalogue's findings say why.
TEST(ConvertCatalogue, ABaseFolderThatIsNotThereIsSaid)
{
    struct Case {
        const char* name;
        const char* settings;
        std::string says;
    };
    const Case cases[] = {
        {"missing", "BasePath=FEHLT\r\n", "KORVAL.INI:9: BasePath: folder missing: "},
        {"on another drive", "BasePath=Q:\\ANIM\r\n", "KORVAL.INI:9: BasePath: Q:\\ANIM\\"},
    };
    for (const Case& c : cases) {
        std::string medium = Scratch("base");
        WriteMedium(medium, "Animation1=0;1;Gut;GUT.FLC;12.03.1996;2;1\r\nAnimation2=0;1;Kurz;KURZ.FLC;1\r\n", c.settings,
                    {{Join("ANIM", "GUT.FLC"), Join(kFixtures + "anim", "gimp-101x67.flc")}});
        std::string out = Join(medium, "GIF");
        Outcome run = Logged(medium, [&](std::FILE* log) { return ConvertCatalogue(medium, out, log); });
        EXPECT_EQ(run.exitCode, 2) << c.name << ": " << run.log;
        EXPECT_NE(run.log.find(c.says), std::string::npos) << c.name << ": " << run.log;
        EXPECT_NE(run.log.find("KORVAL.INI:7: Animation2: rejected: only 5 fields\n"), std::string::npos)
            << c.name << ": " << run.log;
        EXPECT_FALSE(fs::exists(out)) << c.name;
    }
}

// Making the output's folders starts below a drive, a server and its share
// (no folders one can make: Windows answers ERROR_BAD_NETPATH for them).
TEST(MakeFolders, StartsBelowTheRoot)
{
    const std::size_t kRefused = std::wstring::npos;
    struct Case {
        const wchar_t* folder;
        std::size_t root;
    };
    const Case cases[] = {
        {L"C:\\GIF\\TIERE", 3},
        {L"C:/GIF", 3},
        {L"C:GIF", 2},
        {L"\\GIF", 1},
        {L"GIF\\TIERE", 0},
        {L"\\\\SERVER\\SHARE\\GIF\\TIERE", 15},
        {L"//SERVER/SHARE/GIF", 15},
        {L"\\\\SERVER\\SHARE", 14},
        {L"\\\\?\\C:\\GIF", 7},
        {L"\\\\?\\UNC\\SERVER\\SHARE\\GIF", 21},
        {L"\\\\?\\unc\\SERVER\\SHARE", 20},
        {L"\\\\SERVER", kRefused},
        {L"\\\\SERVER\\", kRefused},
        {L"\\\\?\\UNC\\SERVER", kRefused},
        {L"\\\\.\\PIPE\\GIF", kRefused},
    };
    for (const Case& c : cases) {
        std::wstring folder = c.folder;
        EXPECT_EQ(WindowsRootLength(folder), c.root) << std::string(folder.begin(), folder.end());
    }
}

#ifdef _WIN32
// The prefix's share \\KORVALSRV\ANIM is T:\share: the output folders made
// on it, in both spellings.
TEST(ConvertCatalogue, OntoANetworkShare)
{
    std::string medium = Scratch("share-medium");
    WriteMedium(medium, "Animation1=0;1;Gut;TIERE\\GUT.FLC;12.03.1996;4;1\r\n", "BasePath=ANIM\r\n",
                {{Join(Join("ANIM", "TIERE"), "GUT.FLC"), Join(kFixtures + "anim", "gimp-101x67.flc")}});
    std::error_code ignored;
    fs::remove_all("T:\\share\\convert", ignored);
    for (const std::string& share : {std::string("\\\\KORVALSRV\\ANIM\\convert\\GIF"),
                                     std::string("\\\\?\\UNC\\KORVALSRV\\ANIM\\convert\\LANG")}) {
        Outcome run = Logged(medium, [&](std::FILE* log) { return ConvertCatalogue(medium, share, log); });
        EXPECT_EQ(run.exitCode, 0) << share << ": " << run.log;
    }
    EXPECT_EQ(Names("T:\\share\\convert"), (std::vector<std::string>{"GIF/TIERE/GUT.GIF", "LANG/TIERE/GUT.GIF"}));
    fs::remove_all("T:\\share\\convert", ignored);
}
#endif

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
