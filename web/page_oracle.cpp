// What KORVAL's list shows for a catalogue, an order and a keyword filter:
// the catalogue index of each row, top row first, one line. The browser tests
// hold the page's order and filter against it.
//   korval-page-oracle KORVAL.INI ORDER(0-3) MATCHALL(0|1) [KEYWORD-INDEX...]
// or the keyword dialog's list, its keyword indices top first:
//   korval-page-oracle KORVAL.INI keywords
#include "catalogue/profile_reader.h"
#include "view/keyword_filter.h"
#include "view/list_order.h"
#include "web/list_rank.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The sorted list's insertion of `keys` one after the other; their indices, top first.
std::vector<int> Inserted(const std::vector<std::string>& keys)
{
    return ListInsertionOrder(KeyClasses(keys));
}

void Print(const std::vector<int>& rows)
{
    for (std::size_t n = 0; n < rows.size(); ++n)
        std::printf(n == 0 ? "%d" : " %d", rows[n]);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    ProfileReader reader;
    if (!reader.Load(argv[1]))
        return 2;
    ProfileCatalogueSource source(reader);
    if (LoadCatalogueFrom(source, "Unbekannt") == 0)
        return 2;
    if (std::string(argv[2]) == "keywords") {
        std::vector<std::string> names;
        for (int k = 0; k < KeywordCount; ++k)
            names.emplace_back(KeywordTable[k]);
        Print(Inserted(names));
        return 0;
    }
    if (argc < 4)
        return 2;
    const int order = std::atoi(argv[2]);
    Filter.matchAll = std::atoi(argv[3]);
    Filter.selectedCount = argc - 4;
    for (int n = 4; n < argc; ++n)
        Filter.selectedKeywords[n - 4] = std::atoi(argv[n]);
    // The list adds the rows that pass, in the catalogue's order.
    std::vector<int> passing;
    std::vector<std::string> keys;
    for (int i = 0; i < AnimationCount; ++i) {
        if (Filter.selectedCount >= 1 && !PassesKeywordFilter(AnimationTable[i]))
            continue;
        char dateKey[kDateKeySize];
        passing.push_back(i);
        keys.emplace_back(RowKeyText(AnimationTable[i], order, dateKey));
    }
    std::vector<int> rows;
    for (int n : Inserted(keys))
        rows.push_back(passing[n]);
    Print(rows);
    return 0;
}
