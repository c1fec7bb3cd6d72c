// The page's text: catalogue values escaped, Windows-1252 as UTF-8, the list's
// order worked out as the sorted list box orders, the model read from the
// catalogue's tables, and the page's own bytes within their bound.
#include "catalogue/profile_reader.h"
#include "tools/bench/full_catalogue.h"
#include "web/digest.h"
#include "web/list_rank.h"
#include "web/page.h"
#include "web/page_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

int Count(const std::string& text, const std::string& part)
{
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

bool Load(const std::string& catalogue)
{
    static ProfileReader reader;    // the tables point into nothing of it, but keep it alive anyway
    reader.Parse(catalogue.data(), catalogue.size());
    ProfileCatalogueSource source(reader);
    ClearCatalogue();
    return LoadCatalogueFrom(source, "Unbekannt") != 0;
}

TEST(PageText, Windows1252BecomesUtf8)
{
    struct Case { const char* in; const char* out; };
    const Case cases[] = {
        {"Gr\xF6\xDF" "e", "Größe"},
        {"\x80 \x84" "a\x93", "€ „a“"},
        {"\x81\x8D\x8F\x90\x9D", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"a\x01" "b\tc", "a\xEF\xBF\xBD" "b\tc"},
        {"\xFF\xA0", "ÿ\xC2\xA0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Utf8FromWindows1252(c.in), c.out) << c.in;
}

TEST(PageText, EscapingAndUrls)
{
    EXPECT_EQ(Escaped("</script><b a='1' b=\"2\">&amp;"),
              "&lt;/script&gt;&lt;b a=&#39;1&#39; b=&quot;2&quot;&gt;&amp;amp;");
    struct Case { const char* path; const char* url; };
    const Case cases[] = {
        {"NATUR/WELLEN.GIF", "./NATUR/WELLEN.GIF"},
        {"javascript:alert(1).GIF", "./javascript%3Aalert%281%29.GIF"},
        {"\" onerror=\"x.PNG", "./%22%20onerror%3D%22x.PNG"},
        {"M\xC3\x84RCHEN/#?.PNG", "./M%C3%84RCHEN/%23%3F.PNG"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RelativeUrl(c.path), c.url) << c.path;
}

TEST(PageText, DigestOfKnownTexts)
{
    EXPECT_EQ(Sha256Base64("abc"), "ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0=");
    EXPECT_EQ(Sha256Base64(""), "47DEQpj8HBSa+/TImW+5JCeuQeRkm5NMpJWZG3hSuFU=");
    // Over several blocks; the figure is sha256sum's.
    EXPECT_EQ(Sha256Base64(std::string(1000, 'a')), "Qe3s5C1j6Nm/UVqbppMuHCDLyfWl0TRkWttdsblzfqM=");
}

TEST(ListRank, KeysCompareAsTheSortedList)
{
    // Each row: keys in the list's order; equal neighbours marked.
    struct Case { std::vector<std::string> sorted; };
    const Case cases[] = {
        {{" Zebra", "Apfel", "\xC4pfel", "Apfelbaum", "apfelbaum2"}},          // blanks first; umlaut after its vowel
        {{"!Achtung", "3D-Welt", "Ameise", "\xD6l", "Ozean", "\xDC" "ber", "Uhr"}},
        {{"Ball 10", "Ball 9", "Balle", "Stra\xDF" "e", "Stra\xDF" "en"}},
        {{"coop", "co-op", "copy"}},
    };
    for (const Case& c : cases) {
        for (std::size_t n = 1; n < c.sorted.size(); ++n) {
            EXPECT_LT(CompareListKeys(c.sorted[n - 1], c.sorted[n]), 0) << c.sorted[n - 1] << " | " << c.sorted[n];
            EXPECT_GT(CompareListKeys(c.sorted[n], c.sorted[n - 1]), 0) << c.sorted[n] << " | " << c.sorted[n - 1];
        }
    }
    EXPECT_EQ(CompareListKeys("ball", "BALL"), 0);
    EXPECT_EQ(CompareListKeys("M\xC4RCHEN", "m\xE4rchen"), 0);
}

TEST(ListRank, EqualKeysGoWhereTheListBoxPutsThem)
{
    // The rows as Wine's sorted list box gave them for the same keys
    // (wine.web.list_rank_test holds the model against the list box itself).
    struct Case { std::vector<int> classes; std::vector<int> rows; };
    const Case cases[] = {
        {{2, 0, 1}, {1, 2, 0}},
        {{0, 0}, {1, 0}},
        {{0, 0, 0}, {2, 1, 0}},
        {{0, 0, 0, 0}, {2, 3, 1, 0}},
        {{0, 0, 0, 0, 0, 0}, {2, 4, 5, 3, 1, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ListInsertionOrder(c.classes), c.rows);
}

const char kCatalogue[] =
    "[Authors]\r\nAuthor1=Anna Adler\r\nAuthor2=B\xF6rge\r\n"
    "[Keywords]\r\nKeyword1=Sport\r\nKeyword2=\xC4rger\r\nKeyword3=Natur\r\n"
    "[Animations]\r\n"
    "Animation1=0;2;Zebra;CLIPS\\ZEBRA.FLC;24.12.1999;512;1,1,3\r\n"
    "Animation2=7;9;\xC4pfel;APFEL.FLC;1.1.2000;12\r\n"
    "Animation3=1;1;apfel;sub\\deep\\APFEL2.FLC;5.3.98;0;2\r\n"
    "[Settings]\r\nBasePath=ANIM\r\n";

TEST(PageModel, RowsAsTheListDrawsAndOrdersThem)
{
    ASSERT_TRUE(Load(kCatalogue));
    CataloguePage page = PageFromCatalogue();
    ASSERT_EQ(page.entries.size(), 3u);
    struct Row { const char* values[kRowLabelCount]; int icon; std::vector<int> keywords; };
    const Row rows[] = {
        {{"Zebra", "Börge", "ZEBRA.FLC", "24.12.1999", "512 KB", "Sport, Sport, Natur"}, 0, {0, 2}},
        {{"Äpfel", "Unbekannt", "APFEL.FLC", "1.1.2000", "12 KB", ""}, 0, {}},
        {{"apfel", "Anna Adler", "APFEL2.FLC", "5.3.98", "0 KB", "Ärger"}, 1, {1}},
    };
    for (int n = 0; n < 3; ++n) {
        for (int v = 0; v < kRowLabelCount; ++v)
            EXPECT_EQ(page.entries[n].values[v], rows[n].values[v]) << n << ", " << v;
        EXPECT_EQ(page.entries[n].icon, rows[n].icon) << n;
        EXPECT_EQ(page.entries[n].keywords, rows[n].keywords) << n;
    }
    // Titles: apfel, Äpfel, Zebra; authors: Anna Adler, Börge, Unbekannt;
    // files: APFEL.FLC, CLIPS\..., sub\...; dates: 1999 (year 0), 2000, 98.
    const std::vector<int> expected[kPageOrders] = {{2, 1, 0}, {2, 0, 1}, {1, 0, 2}, {0, 1, 2}};
    for (int order = 0; order < kPageOrders; ++order) {
        std::vector<int> classes;
        for (const PageEntry& entry : page.entries)
            classes.push_back(entry.orderClass[order]);
        EXPECT_EQ(ListInsertionOrder(classes), expected[order]) << order;
    }
    // The keyword dialog's order: Ärger, Natur, Sport.
    ASSERT_EQ(page.keywords.size(), 3u);
    EXPECT_EQ(page.keywords[0].name, "Ärger");
    EXPECT_EQ(page.keywords[1].index, 2);
    EXPECT_EQ(page.keywords[2].index, 0);
}

TEST(PageModel, HostileTextsStayText)
{
    const std::string hostile = "</script><script>alert(1)</script><img src=x onerror=alert(2)>\"'&amp;javascript:x";
    CataloguePage page;
    PageEntry entry;
    for (std::string& value : entry.values)
        value = hostile;
    entry.preview = PreviewState::Shown;
    entry.poster = "\"><script>alert(3)</script>.PNG";
    entry.gif = "javascript:alert(4)//.GIF";
    entry.width = 16;
    entry.height = 8;
    page.entries.push_back(entry);
    page.keywords.push_back({0, hostile});
    const std::string html = WritePage(page);
    // Only the page's own script element, and no element or attribute of the texts.
    EXPECT_EQ(Count(html, "<script"), 1);
    EXPECT_EQ(Count(html, "</script"), 1);
    EXPECT_EQ(Count(html, "<img src=x"), 0);
    EXPECT_EQ(Count(html, "\"javascript:"), 0);
    // Heading, six values, the poster's alt (title and file) and the keyword's label.
    EXPECT_EQ(Count(html, Escaped(hostile)), 10);
    EXPECT_NE(html.find("data-gif=\"./javascript%3Aalert%284%29//.GIF\""), std::string::npos);
}

TEST(PageModel, ThePagesOwnBytesStayWithinTheirBound)
{
    // The bench's full catalogue: every table at its capacity, texts of a real
    // medium's lengths; every entry with its pictures, as a converted medium.
    ASSERT_TRUE(Load(bench::FullCatalogueText()));
    CataloguePage page = PageFromCatalogue();
    ASSERT_EQ(page.entries.size(), 200u);
    for (PageEntry& entry : page.entries) {
        entry.preview = PreviewState::Shown;
        entry.poster = "CLIPS/" + entry.values[2].substr(0, entry.values[2].size() - 4) + ".PNG";
        entry.gif = "CLIPS/" + entry.values[2].substr(0, entry.values[2].size() - 4) + ".GIF";
        entry.width = 320;
        entry.height = 200;
    }
    page.entries[7].damagedAt = 12;
    page.entries[9].preview = PreviewState::NotAFile;
    const std::size_t size = WritePage(page).size();
    EXPECT_LE(size, 24u * 1024 + 600 * page.entries.size());
    std::printf("page of %zu entries: %zu bytes\n", page.entries.size(), size);
}

} // namespace
