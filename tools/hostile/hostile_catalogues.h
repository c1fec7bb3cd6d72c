// Hostile catalogues: files that a medium made by somebody else may hold, each
// with what KORVAL must make of it. Platform-free, so that the generator
// program (hostile_catalogues.cpp) and the Win32 test of the real KORVAL.EXE
// build the very same files.
//
// Paths at a buffer's edge are only at that edge where KORVAL sees the
// catalogues under `root` (the test's T:\HOSTILE\): every length below counts
// the root's characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace hostile {

constexpr int kNoList = -1;         // the main window opens without a list
constexpr int kMediumPrompt = -2;   // no window: the prompt for the medium shows

// Play on one row of the list (in title order) and what the player is started with.
struct PlayCheck {
    int row;
    std::string commandLine;        // empty: nothing is started, message 208 shows
};

struct Catalogue {
    std::string name;               // also the last name of its folder
    std::string folder;             // the catalogue's folder as given on the command line
    std::string content;            // the bytes of KORVAL.INI
    bool isFolder = false;          // KORVAL.INI is a folder, not a file
    int rows = 0;                   // rows of the list, kNoList or kMediumPrompt
    std::vector<std::string> playerFolders;     // folders that need the player VANSHOW.EXE
    std::string registeredPlay;     // the command registered for the animation type; empty: none
    std::vector<PlayCheck> plays;
    // Rows after "Selektieren..." with every keyword chosen, linked with "Oder"
    // and with "Und"; 0 shows message 209 and brings every row back. -1: not tried.
    int rowsWithAnyKeyword = -1;
    int rowsWithAllKeywords = -1;
};

namespace detail {

constexpr const char* kCatalogueName = "\\KORVAL.INI";
constexpr std::size_t kCatalogueNameLength = 11;

// A small fixed generator: the same bytes on every platform and compiler.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next()
    {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 0x2545F4914F6CDD1DULL;
    }

private:
    std::uint64_t state_;
};

inline std::string Line(const std::string& text)
{
    return text + "\r\n";
}

// Two authors, two keywords, three good entries; `extra` goes into the
// Animations section after them, `settings` is the Settings section's body.
inline std::string SmallCatalogue(const std::string& extra = "",
                                  const std::string& settings = "ProgramPath=..\\PROG\r\n")
{
    return Line("[Authors]") + Line("Author1=J\xFCrgen Muster") + Line("Author2=Bert Beispiel")
        + Line("[Keywords]") + Line("Keyword1=Ball") + Line("Keyword2=Wasser") + Line("[Animations]")
        + Line("Animation1=0;1;A Ball;BALL.FLC;24.12.99;850;1")
        + Line("Animation2=1;2;B Welle;WELLE.FLC;1.1.2000;120;2,1")
        + Line("Animation3=0;0;C Stern;STERN.FLC;3.3.98;33;") + extra + Line("[Settings]") + settings;
}

// Windows-1252 text below 0x80 or in the Latin-1 range as UTF-16LE with its mark.
inline std::string Utf16(const std::string& text)
{
    std::string wide = "\xFF\xFE";
    for (char c : text) {
        wide += c;
        wide += '\0';
    }
    return wide;
}

inline std::string RandomBytes(std::size_t size, std::uint64_t seed)
{
    Random random(seed);
    std::string bytes(size, '\0');
    for (char& b : bytes)
        b = static_cast<char>(random.Next() >> 56);
    return bytes;
}

// `root` + `stem` filled up with "X" to `length` characters.
inline std::string Padded(const std::string& root, const std::string& stem, std::size_t length)
{
    std::string text = root + stem;
    if (text.size() < length)
        text.append(length - text.size(), 'X');
    return text;
}

inline std::string Repeated(const std::string& piece, int times)
{
    std::string text;
    text.reserve(piece.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

inline std::string Upper(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

inline std::string Numbered(const std::string& key, int number, const std::string& value)
{
    return Line(key + std::to_string(number) + "=" + value);
}

} // namespace detail

inline std::vector<Catalogue> Catalogues(const std::string& root)
{
    using namespace detail;
    std::vector<Catalogue> all;
    auto add = [&](const std::string& name, std::string content, int rows) -> Catalogue& {
        Catalogue catalogue;
        catalogue.name = name;
        catalogue.folder = root + Upper(name);
        catalogue.content = std::move(content);
        catalogue.rows = rows;
        all.push_back(std::move(catalogue));
        return all.back();
    };
    const std::string programs = root + "PROG\\";
    const std::string player = programs + "VANSHOW.EXE ";

    add("EmptyFile", "", kNoList);
    add("OnlyUtf16Mark", "\xFF\xFE", kNoList);
    add("OnlyUtf8Mark", "\xEF\xBB\xBF", kNoList);
    add("Utf16", Utf16(SmallCatalogue()), 3);
    add("CatalogueIsAFolder", "", kNoList).isFolder = true;
    add("RandomBytes", RandomBytes(1 << 20, 1), kNoList);
    // Whatever comes before the first section header does not disturb the sections after it.
    add("RandomBytesThenACatalogue", RandomBytes(1 << 20, 2) + "\r\n" + SmallCatalogue(), 3);
    add("NulBytes", std::string(64 * 1024, '\0'), kNoList);
    {
        // A NUL byte ends a value: Author2 reads "Bert", the second entry is
        // cut inside its title and rejected.
        std::string content = SmallCatalogue();
        content.replace(content.find("Bert Beispiel"), 13, std::string("Bert\0Beispiel", 13));
        content.replace(content.find("B Welle"), 7, std::string("B W\0elle", 8));
        content.insert(content.find("[Keywords]"), std::string(1000, '\0') + "\r\n");
        add("NulBytesInACatalogue", content, 2);
    }
    {
        const std::string wide(100000, 'W');
        std::string animations = Line("[Animations]") + Line("Animation1=0;1;A;A.FLC;1.1.99;1;1")
            // cut inside the title when read: fewer than six fields
            + Line("Animation2=0;1;" + wide + ";B.FLC;1.1.99;1;")
            // cut inside the keyword list: the first ten count
            + Line("Animation3=0;1;C;C.FLC;1.1.99;1;" + Repeated("1,", 50000))
            // a size of 100 000 digits
            + Line("Animation4=0;1;D;D.FLC;1.1.99;" + std::string(100000, '9'));
        add("LinesOf100000Characters",
            Line(";" + wide) + Line("[" + wide + "]") + Line(wide + "=x") + Line("[Authors]")
                + Line("Author1=" + wide) + Line("Author2=" + wide + "=") + Line("[Keywords]")
                + Line("Keyword1=" + wide) + animations + Line("[Settings]") + Line("BasePath=" + wide)
                + Line("ProgramPath=" + wide),
            3);
    }
    {
        // 10 MB: the entries, a gap, then 10 000 lines of 1000 characters in the same section.
        std::string filler;
        filler.reserve(10u << 20);
        for (int i = 1; filler.size() < (10u << 20); ++i)
            filler += Numbered("Padding", i, std::string(1000, 'p'));
        add("TenMegabytes", SmallCatalogue(Line("Animation5=0;1;E;E.FLC;1.1.99;1;") + filler), 3);
    }
    {
        // Every key is read: 100 000 entries, one in a thousand accepted.
        std::string content = Line("[Authors]") + Line("Author1=A") + Line("[Animations]");
        for (int m = 1; m <= 100000; ++m)
            content += Numbered("Animation", m, m % 1000 == 0 ? "0;1;T" + std::to_string(m) + ";F.FLC;1.1.99;1;"
                                                              : "rejected " + std::to_string(m));
        add("HundredThousandRejectedEntries", content, 100);
    }
    {
        // Only the first 200 are ever asked for.
        std::string content = Line("[Authors]") + Line("Author1=A") + Line("[Animations]");
        for (int m = 1; m <= 100000; ++m)
            content += Numbered("Animation", m, "0;1;T" + std::to_string(m) + ";F" + std::to_string(m)
                                                    + ".FLC;1.1.99;1;1");
        add("HundredThousandEntries", content, 200);
    }
    {
        // Every table and text over its capacity.
        std::string content = Line("[Authors]");
        for (int n = 1; n <= 60; ++n)
            content += Numbered("Author", n, std::string(200, static_cast<char>('A' + n % 26)));
        content += Line("[Keywords]");
        for (int k = 1; k <= 60; ++k)
            content += Numbered("Keyword", k, std::string(50, static_cast<char>('a' + k % 26)));
        content += Line("[Animations]");
        for (int m = 1; m <= 250; ++m)
            content += Numbered("Animation", m,
                                std::to_string(m % 3) + ";" + std::to_string(m % 61) + ";" + std::to_string(m)
                                    + std::string(80, 't') + ";F" + std::to_string(m) + ".FLC;"
                                    + std::string(30, '1') + ";" + std::to_string(m)
                                    + ";1,2,3,4,5,6,7,8,9,10,11,12,55,60");
        Catalogue& catalogue = add("EveryTableOverCapacity", content, 200);
        catalogue.rowsWithAnyKeyword = 200;
        catalogue.rowsWithAllKeywords = 0;      // no entry holds more than ten
    }
    Catalogue& numbers = add("NumbersBeyond32Bits",
        Line("[Authors]") + Line("Author1=A") + Line("[Keywords]") + Line("Keyword1=K") + Line("[Animations]")
            + Line("Animation1=99999999999;99999999999;A;A.FLC;99999999999.99999999999.99999999999;99999999999;"
                   "99999999999,4294967297,1")
            + Line("Animation2=-99999999999;-4294967295;B;B.FLC;-1.-1.-2147483649;-99999999999;-4294967295,1")
            + Line("Animation3=4294967296;4294967297;C;C.FLC;4294967296.4294967296.4294967296;4294967296;4294967297")
            + Line("Animation4=+2147483648;2147483647;D;D.FLC;.;2147483648;2147483648")
            + Line("Animation5=2147483647;-2147483648;E;E.FLC;2147483647.-2147483648.2147483647;-2147483648;1"),
        5);
    numbers.rowsWithAnyKeyword = 3;     // the keyword numbers beyond 32 bits name no keyword
    numbers.rowsWithAllKeywords = 3;
    // A file of 39 characters fits its field; one of 40 is refused, not cut.
    add("FileOf39And40Characters",
        SmallCatalogue(Line("Animation4=0;1;D;" + std::string(35, 'D') + ".FLC;1.1.99;1;")
                       + Line("Animation5=0;1;E;" + std::string(36, 'E') + ".FLC;1.1.99;1;")),
        4);

    // A BasePath value of up to 259 characters is read whole: 80 climbs,
    // which stop at the drive's root, and a folder. One of 260 is refused,
    // never cut: cut to the 255 characters an entry holds, it would name a
    // shorter folder, and Play would start the player on another file.
    for (std::size_t length : {259u, 260u}) {
        std::string value = Repeated("..\\", 80) + "ANIM\\" + std::string(length - 245, 'X');
        Catalogue& catalogue = add("BasePathOf" + std::to_string(length) + "Characters",
                                   SmallCatalogue("", Line("BasePath=" + value) + Line("ProgramPath=..\\PROG")), 3);
        catalogue.playerFolders = {programs};
        catalogue.plays = {
            {0, length == 259 ? player + root.substr(0, 3) + "ANIM\\" + std::string(14, 'X') + "\\BALL.FLC" : ""}};
    }
    // A BasePath of 221 characters: with a file of 38 characters the path
    // has 259 and is played; with one of 39 it has 260, is none, and Play on
    // that row starts nothing.
    const std::string base221 = Padded(root, "BASE221_", 220);
    const std::string file38 = std::string(34, 'F') + ".FLC";
    {
        std::string file39 = std::string(35, 'G') + ".FLC";
        Catalogue& catalogue = add("BasePathAndFileOf259And260Characters",
                                   Line("[Authors]") + Line("Author1=A") + Line("[Animations]")
                                       + Line("Animation1=0;1;A;" + file38 + ";1.1.99;1;")
                                       + Line("Animation2=0;1;B;" + file39 + ";1.1.99;1;") + Line("[Settings]")
                                       + Line("BasePath=" + base221) + Line("ProgramPath=..\\PROG"),
                                   2);
        catalogue.playerFolders = {programs};
        catalogue.plays = {{0, player + base221 + "\\" + file38}, {1, ""}};
    }
    // The program folder: one of 248 characters holds a player of 259, the
    // longest program name Windows allows, and starts it; a folder of 260
    // characters is refused and nothing starts.
    for (std::size_t length : {248u, 260u}) {
        std::string folder = Padded(root, "PROG" + std::to_string(length) + "_", length - 1);
        std::string name = "ProgramPathOf" + std::to_string(length) + "Characters";
        Catalogue& catalogue = add(name, SmallCatalogue("", Line("ProgramPath=" + folder)), 3);
        if (length == 248)
            catalogue.playerFolders = {folder + "\\"};
        catalogue.plays = {{0, length == 248 ? folder + "\\VANSHOW.EXE " + catalogue.folder + "\\BALL.FLC" : ""}};
    }
    {
        // A registered player of 259 characters on an animation path of 259:
        // the command line, 519 characters, is started whole.
        std::string programFolder = Padded(root, "REGISTERED_", 247) + "\\";
        Catalogue& catalogue = add("RegisteredProgramAndPathOf259Characters",
                                   Line("[Authors]") + Line("Author1=A") + Line("[Animations]")
                                       + Line("Animation1=0;1;A;" + file38 + ";1.1.99;1;") + Line("[Settings]")
                                       + Line("BasePath=" + base221),
                                   1);
        catalogue.playerFolders = {programFolder};
        catalogue.registeredPlay = programFolder + "VANSHOW.EXE %1";
        catalogue.plays = {{0, programFolder + "VANSHOW.EXE " + base221 + "\\" + file38}};
    }
    // A catalogue path of up to 259 characters, as Windows allows, is found;
    // one of 260 cannot be named and is asked for as a medium.
    for (std::size_t length : {127u, 128u, 259u, 260u}) {
        std::string name = "CataloguePathOf" + std::to_string(length) + "Characters";
        Catalogue& catalogue = add(name, SmallCatalogue(), length <= 259 ? 3 : kMediumPrompt);
        catalogue.folder = Padded(root, Upper(name) + "_", length - kCatalogueNameLength);
    }
    return all;
}

// Where a catalogue's file lies.
inline std::string CataloguePath(const Catalogue& catalogue)
{
    return catalogue.folder + detail::kCatalogueName;
}

} // namespace hostile
