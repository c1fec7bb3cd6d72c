// The page's model of the sorted list held against the platform's own list
// box: the same keys added one after the other give the same rows.
#include "web/list_rank.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The rows of a sorted list box (the style of KORVAL's list) after adding `keys`.
std::vector<int> ListBoxOrder(const std::vector<std::string>& keys)
{
    HWND list = CreateWindowExA(0, "LISTBOX", nullptr, WS_POPUP | LBS_SORT | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED,
                                0, 0, 100, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(list, nullptr);
    for (std::size_t n = 0; n < keys.size(); ++n) {
        LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(keys[n].c_str()));
        SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(n));
    }
    std::vector<int> rows;
    for (std::size_t n = 0; n < keys.size(); ++n)
        rows.push_back(static_cast<int>(SendMessageA(list, LB_GETITEMDATA, n, 0)));
    DestroyWindow(list);
    return rows;
}

TEST(ListRank, OrdersAsTheListBox)
{
    // Each row a catalogue's keys in the order of its entries.
    const std::vector<std::vector<std::string>> cases = {
        {"Zebra", "\xC4pfel", "apfel", " Blank vorn", "\xD6l", "Ol", "APFEL", "zebra", "Stra\xDF" "e", "Strasse"},
        {"Titel", "Titel", "titel", "TITEL", "Titel", "Titel"},
        {"3 Kugeln", "-Minus", "co-op", "coop", "10 Ringe", "9 Ringe", "'Zitat'", "_unten", "!Ruf"},
        {"\xDC" "ber", "Uhr", "\xFC" "bel", "Ubel", "Ozean", "\xF6" "de", "Ode", "Ma\xDF", "Mass", "Masse"},
        {"Anna Adler", "Bernd K\xF6hler", "Clara Wei\xDF", "Unbekannt", "Eva Sommer", "Franz J\xE4ger"},
        {"BALL.FLC", "NATUR\\WELLEN.FLC", "TECHNIK\\RAKETE.FLC", "NOTEN.FLC", "NATUR\\FISCH.FLC", "_A.FLC"},
        {"960312", "960703", "951224", "000101", "970815", "981130", "990219"},
    };
    for (const auto& keys : cases) {
        std::string joined;
        for (const std::string& key : keys)
            joined += "[" + key + "]";
        EXPECT_EQ(ListInsertionOrder(KeyClasses(keys)), ListBoxOrder(keys)) << joined;
    }
}

} // namespace
