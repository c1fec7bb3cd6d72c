// What a list row shows, and where: texts and geometry, free of the platform.
#pragma once

#include "base/dpi.h"
#include "catalogue/store.h"

#include <cstddef>
#include <string_view>

constexpr int kRowHeight = 84;
constexpr int kRowExtent = 540;         // the list scrolls sideways below this width
constexpr int kRowIconSlots = 5;
constexpr int kRowLabelCount = 6;
constexpr int kRowLabelSize = 16;
constexpr int kKeywordTextSize = 320;
constexpr std::size_t kRowNameSize = 768;

struct RowPoint {
    int x;
    int y;
};

// Offsets from a row's top-left corner.
constexpr RowPoint kRowIconAt = {4, 4};
// Title, author, file, date, size, keywords: labels and their values.
constexpr RowPoint kRowLabelAt[kRowLabelCount] = {{42, 6}, {42, 24}, {42, 42}, {208, 42}, {336, 42}, {42, 60}};
constexpr RowPoint kRowValueAt[kRowLabelCount] = {{92, 6}, {92, 24}, {92, 42}, {262, 42}, {442, 42}, {132, 60}};
constexpr int kRowIconSize = 32;
constexpr int kRowFontHeight = 16;
// The least room between a label and its value, or a value and the label
// after it, when the face drawn is wider than the one the places were made for.
constexpr int kRowTextGap = 4;
// A list box takes no item height above this.
constexpr int kRowHeightLimit = 255;

// A row laid out for one DPI: every length above scaled from its 96-DPI value.
struct RowGeometry {
    int height;
    int extent;
    int line;                   // the panel's edge lines, see LineWidthAtDpi
    RowPoint iconAt;
    int iconSize;               // the icon cell, and the size the icons are loaded at
    RowPoint labelAt[kRowLabelCount];
    RowPoint valueAt[kRowLabelCount];
    int fontHeight;
    int gap;                    // kRowTextGap scaled
};

// The highest DPI whose rows are no higher than `height` pixels (at least 1).
int RowDpiForHeight(int height);

// The DPI the rows are laid out for on a display of `dpi`: the same, up to
// the highest DPI whose rows still fit the list box's height limit (291);
// above it the rows, their texts, fonts, icon and edges stay at that size.
int RowLayoutDpi(int dpi);

// The rows' layout on a display of `dpi`, scaled for RowLayoutDpi(dpi).
RowGeometry RowGeometryAt(int dpi);

// The widths of a row's labels and values as drawn, in pixels.
struct RowTextWidths {
    int label[kRowLabelCount];
    int value[kRowLabelCount];
};

// Where a row's labels and values start across: each at its place, unless
// the text before it on its line (its label, or the value before a label)
// reaches past that place less the gap: then the gap after that text. With
// texts that fit their places nothing moves.
struct RowTextColumns {
    int label[kRowLabelCount];
    int value[kRowLabelCount];
};
RowTextColumns PlaceRowTexts(const RowGeometry& row, const RowTextWidths& widths);

// The rows' face at `dpi`. At 96 DPI it is the bitmap face the rows were
// always drawn in; its bitmaps stop at 20 pixels (under Wine; on Windows the
// larger ones are stretched bitmaps), so other DPIs take a scalable face that
// Windows and Wine both ship.
const char* RowFontFace(int dpi);

// The texts a row shows beside its labels, in label order: title, author,
// file name, date, size and keywords. They point into the record, the author
// table and the caller's keyword text, and hold no terminator of their own.
struct RowValues {
    std::string_view text[kRowLabelCount];
};

// The values of `record`'s row; `keywords` receives the joined keyword names.
RowValues RowValuesOf(const AnimationRecord& record, char (&keywords)[kKeywordTextSize]);

// What a screen reader says for a row: the title, then each further value
// after its label ("Autor: Unbekannt"), joined by ", "; no keyword part when
// the row shows none.
void BuildRowName(char (&name)[kRowNameSize], const char (&labels)[kRowLabelCount][kRowLabelSize],
                  const RowValues& values);

// The record's keyword names joined with ", ". When the whole join does not
// fit, only whole names are kept and ", ..." ends the text ("..." alone when
// not even the first name fits). Returns false when names were left out.
bool BuildKeywordText(const AnimationRecord& record, char (&text)[kKeywordTextSize]);

// The file's name after its last backslash; the whole text when it has none.
const char* FileDisplayName(const char* file);

// The author's name; "Unbekannt" (slot 0) for an index outside the table.
const char* AuthorName(int authorIndex);

// Fills `slots` from the first on with load(0), load(1), ... until a load
// gives nothing or every slot is taken; the slot after the last one loaded
// is left empty. Returns how many were loaded.
template <typename Handle, std::size_t N, typename Load>
int LoadUntilMissing(Handle (&slots)[N], Load load)
{
    int count = 0;
    for (Handle& slot : slots)
        slot = Handle();
    while (static_cast<std::size_t>(count) < N) {
        slots[count] = load(count);
        if (!slots[count])
            break;
        ++count;
    }
    return count;
}
