#include "web/list_rank.h"

#include <algorithm>
#include <numeric>

namespace {

// A byte's part in the comparison.
struct Weight {
    char base[3];       // primary letters, digits or signs ("ss" for "ß"); empty: ignored
    unsigned char accent;
    bool special;       // hyphen, apostrophe: compared last
};

Weight WeightOf(unsigned char c)
{
    Weight w = {{0, 0, 0}, 0, false};
    auto set = [&w](const char* base, unsigned char accent) {
        w.base[0] = base[0];
        w.base[1] = base[0] ? base[1] : 0;
        w.accent = accent;
    };
    if (c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D)
        return w;       // controls weigh nothing
    if (c == '-' || c == '\'' || c == 0xAD || c == 0x96 || c == 0x97) {
        w.special = true;
        w.base[0] = static_cast<char>(c);
        return w;
    }
    if (c >= 'A' && c <= 'Z')
        c = static_cast<unsigned char>(c - 'A' + 'a');
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
        char base[2] = {static_cast<char>(c), 0};
        set(base, 0);
        return w;
    }
    // Letters of the code page's upper half: base letter and accent.
    static const struct { unsigned char code; const char* base; unsigned char accent; } kLetters[] = {
        {0x83, "f", 1}, {0x8A, "s", 6}, {0x8C, "oe", 0}, {0x8E, "z", 6}, {0x9A, "s", 6}, {0x9C, "oe", 0},
        {0x9E, "z", 6}, {0x9F, "y", 4}, {0xAA, "a", 9}, {0xB2, "2", 9}, {0xB3, "3", 9}, {0xB9, "1", 9},
        {0xBA, "o", 9}, {0xC0, "a", 2}, {0xC1, "a", 1}, {0xC2, "a", 3}, {0xC3, "a", 5}, {0xC4, "a", 4},
        {0xC5, "a", 7}, {0xC6, "ae", 0}, {0xC7, "c", 8}, {0xC8, "e", 2}, {0xC9, "e", 1}, {0xCA, "e", 3},
        {0xCB, "e", 4}, {0xCC, "i", 2}, {0xCD, "i", 1}, {0xCE, "i", 3}, {0xCF, "i", 4}, {0xD0, "d", 10},
        {0xD1, "n", 5}, {0xD2, "o", 2}, {0xD3, "o", 1}, {0xD4, "o", 3}, {0xD5, "o", 5}, {0xD6, "o", 4},
        {0xD8, "o", 11}, {0xD9, "u", 2}, {0xDA, "u", 1}, {0xDB, "u", 3}, {0xDC, "u", 4}, {0xDD, "y", 1},
        {0xDE, "z{", 0}, {0xDF, "ss", 0}, {0xE0, "a", 2}, {0xE1, "a", 1}, {0xE2, "a", 3}, {0xE3, "a", 5},
        {0xE4, "a", 4}, {0xE5, "a", 7}, {0xE6, "ae", 0}, {0xE7, "c", 8}, {0xE8, "e", 2}, {0xE9, "e", 1},
        {0xEA, "e", 3}, {0xEB, "e", 4}, {0xEC, "i", 2}, {0xED, "i", 1}, {0xEE, "i", 3}, {0xEF, "i", 4},
        {0xF0, "d", 10}, {0xF1, "n", 5}, {0xF2, "o", 2}, {0xF3, "o", 1}, {0xF4, "o", 3}, {0xF5, "o", 5},
        {0xF6, "o", 4}, {0xF8, "o", 11}, {0xF9, "u", 2}, {0xFA, "u", 1}, {0xFB, "u", 3}, {0xFC, "u", 4},
        {0xFD, "y", 1}, {0xFE, "z{", 0}, {0xFF, "y", 4},
    };
    for (const auto& letter : kLetters) {
        if (letter.code == c) {
            set(letter.base, letter.accent);
            return w;
        }
    }
    // Every other sign sorts before the digits, in the code page's order;
    // a blank before every other sign.
    w.base[0] = static_cast<char>(c);
    return w;
}

// Primary order of one weight character: signs, then digits, then letters.
int PrimaryRank(unsigned char c)
{
    if (c >= 'a' && c <= '{')
        return 0x300 + c;
    if (c >= '0' && c <= '9')
        return 0x200 + c;
    return 0x100 + c;
}

struct Levels {
    std::vector<int> primary;
    std::vector<int> accents;
    std::vector<int> special;
};

Levels LevelsOf(const std::string& text)
{
    Levels levels;
    int position = 0;
    for (char ch : text) {
        Weight w = WeightOf(static_cast<unsigned char>(ch));
        if (w.special) {
            levels.special.push_back(position * 256 + static_cast<unsigned char>(w.base[0]));
            continue;
        }
        for (int i = 0; i < 2 && w.base[i] != 0; ++i) {
            levels.primary.push_back(PrimaryRank(static_cast<unsigned char>(w.base[i])));
            levels.accents.push_back(i == 0 ? w.accent : 0);
            ++position;
        }
    }
    return levels;
}

int CompareSequences(const std::vector<int>& a, const std::vector<int>& b)
{
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end()))
        return -1;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end()))
        return 1;
    return 0;
}

} // namespace

int CompareListKeys(const std::string& a, const std::string& b)
{
    Levels left = LevelsOf(a), right = LevelsOf(b);
    if (int order = CompareSequences(left.primary, right.primary))
        return order;
    if (int order = CompareSequences(left.accents, right.accents))
        return order;
    return CompareSequences(left.special, right.special);
}

std::vector<int> KeyClasses(const std::vector<std::string>& keys)
{
    std::vector<int> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&keys](int x, int y) { return CompareListKeys(keys[x], keys[y]) < 0; });
    std::vector<int> classes(keys.size());
    int current = -1;
    for (std::size_t n = 0; n < order.size(); ++n) {
        if (n == 0 || CompareListKeys(keys[order[n - 1]], keys[order[n]]) != 0)
            ++current;
        classes[order[n]] = current;
    }
    return classes;
}

std::vector<int> ListInsertionOrder(const std::vector<int>& classes)
{
    std::vector<int> rows;
    for (int n = 0; n < static_cast<int>(classes.size()); ++n) {
        // The list box's search, over the rows from first to last inclusive:
        // an equal key met on the way gives its place to the new row.
        long low = 0, high = static_cast<long>(rows.size()) - 1, at = -1;
        while (low <= high) {
            long middle = (low + high) / 2;
            int order = classes[rows[middle]] - classes[n];
            if (order == 0) {
                at = middle;
                break;
            }
            if (order > 0)
                high = middle - 1;
            else
                low = middle + 1;
        }
        rows.insert(rows.begin() + (at >= 0 ? at : low), n);
    }
    return rows;
}
