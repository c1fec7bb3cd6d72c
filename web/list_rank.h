// Where KORVAL's sorted lists put their rows, worked out without a list box:
// the list compares two key texts as the platform's sorted list box does
// (the locale's word order, letter case ignored), and each row added goes in
// by a binary search over its rows, first to last; an equal key met on the way
// gives its place to the new row. The page carries
// each key's place among the distinct keys (its class) and repeats the
// insertion itself, so a filtered page orders its rows as the filtered list.
#pragma once

#include <string>
#include <vector>

// <0, 0, >0 as `a` (Windows-1252) sorts before, with, after `b`: letters by
// their base letter (umlauts with their vowel, "ß" as "ss"), case ignored;
// blanks and other signs before digits, digits before letters; hyphens and
// apostrophes count only when everything else is equal; then the accents.
int CompareListKeys(const std::string& a, const std::string& b);

// For each key, its class: 0 for the first of the distinct keys in sorted
// order, 1 for the next...; equal keys share a class.
std::vector<int> KeyClasses(const std::vector<std::string>& keys);

// The rows' order once `classes` were added one after the other to a sorted
// list box: indices into `classes`, top row first.
std::vector<int> ListInsertionOrder(const std::vector<int>& classes);
