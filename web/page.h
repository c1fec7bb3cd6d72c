// A web page of a catalogue: one entry per row of KORVAL's list, with the
// row's texts, its orders and keywords, and its pictures. The model is made
// from the catalogue's tables; the page is one HTML text with its style and
// script inside, every catalogue value escaped.
#pragma once

#include "view/row_text.h"

#include <string>
#include <vector>

constexpr int kPageOrders = 4;       // title, author, file, date: the menu's order

// What the row's preview would show in place of pictures, or Shown.
enum class PreviewState { Shown, Missing, NotFlc, TooLarge, Damaged, NotAFile, NoMemory };

struct PageEntry {
    std::string values[kRowLabelCount];     // UTF-8, as the row draws them
    int icon = 0;                           // the row icon drawn: 0 or 1
    std::vector<int> keywords;              // keyword indices, each once
    int orderClass[kPageOrders] = {};       // the key's class in each order
    // Pictures, relative to the page with '/' between names (UTF-8).
    PreviewState preview = PreviewState::Missing;
    std::string poster;                     // frame 1 as PNG
    std::string gif;                        // every frame as GIF
    int width = 0;
    int height = 0;
    int damagedAt = 0;                      // the frame where it broke, 0 if none
};

struct PageKeyword {
    int index;
    std::string name;                       // UTF-8
};

struct CataloguePage {
    std::vector<PageEntry> entries;         // in the catalogue's order
    std::vector<PageKeyword> keywords;      // in the keyword dialog's order
};

// The page's model from the loaded catalogue tables (catalogue/store.h):
// the rows' values (RowValuesOf), the icons, the order classes
// (RowKeyText), the keywords. Pictures are left to the caller.
CataloguePage PageFromCatalogue();

// Where the two row icons go beside the page, and their PNG bytes.
constexpr int kPageIcons = 2;
extern const char* const kPageIconNames[kPageIcons];
std::string PageIconBytes(int icon);

// The whole index.html.
std::string WritePage(const CataloguePage& page);

// The entries' indices in the order the no-script page shows them: title order.
std::vector<int> TitleOrder(const CataloguePage& page);

// The page's style and script, as the page holds them, and the policy's
// hashes of them: for tests and the size figure.
const std::string& PageStyle();
const std::string& PageScript();
