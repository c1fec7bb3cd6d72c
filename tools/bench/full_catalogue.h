// The catalogue that the benchmarks measure: every table full (49 authors,
// 50 keywords, 200 entries), texts of the lengths a real medium has.
// Platform-free, so that the native and the Wine benchmarks read the same file.
#pragma once

#include <string>

namespace bench {

inline std::string FullCatalogueText()
{
    static const char* const kWords[] = {"Ball",   "Welle", "Stern",  "Vogel", "Regen",  "Sonne", "Wolke",
                                         "Feuer",  "Turm",  "Insel",  "Brief", "Fisch",  "Kugel", "Spirale",
                                         "Nebel",  "Blitz", "Garten", "Zug",   "Fahne",  "Mond"};
    const int words = static_cast<int>(sizeof kWords / sizeof kWords[0]);
    std::string text = "[Authors]\r\n";
    for (int n = 1; n <= 49; ++n)
        text += "Author" + std::to_string(n) + "=" + kWords[n % words] + "mann, Vorname " + std::to_string(n)
            + "\r\n";
    text += "[Keywords]\r\n";
    for (int k = 1; k <= 50; ++k)
        text += "Keyword" + std::to_string(k) + "=" + kWords[(k * 7) % words] + std::to_string(k) + "\r\n";
    text += "[Animations]\r\n";
    for (int m = 1; m <= 200; ++m) {
        std::string title = std::string(kWords[(m * 13) % words]) + " und " + kWords[(m * 3) % words] + " "
            + std::to_string(m);
        std::string file = "CLIPS\\" + std::string(kWords[m % words]).substr(0, 4) + std::to_string(m) + ".FLC";
        // Dates as media write them: one or two digits, years with two or four.
        std::string year = m % 3 == 0 ? std::to_string(1990 + m % 10) : std::to_string(90 + m % 10);
        std::string date = std::to_string(1 + (m * 11) % 28) + "." + std::to_string(1 + (m * 5) % 12) + "." + year;
        std::string keywords = std::to_string(1 + m % 50) + "," + std::to_string(1 + (m * 7) % 50) + ","
            + std::to_string(1 + (m * 17) % 50);
        text += "Animation" + std::to_string(m) + "=" + std::to_string(m % 2) + ";" + std::to_string((m * 7) % 50)
            + ";" + title + ";" + file + ";" + date + ";" + std::to_string(120 + m * 37) + ";" + keywords + "\r\n";
    }
    text += "[Settings]\r\nBasePath=ANIM\r\nProgramPath=PROG\r\n";
    return text;
}

} // namespace bench
