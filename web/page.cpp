#include "web/page.h"

#include "base/text.h"
#include "catalogue/store.h"
#include "view/list_order.h"
#include "web/digest.h"
#include "web/list_rank.h"
#include "web/page_text.h"

#include <algorithm>
#include <string_view>

// The style, script and row icons, embedded by the build (page_parts.cpp).
extern const char kPageStyleText[];
extern const char kPageScriptText[];
extern const unsigned char kPageIcon0[];
extern const unsigned kPageIcon0Size;
extern const unsigned char kPageIcon1[];
extern const unsigned kPageIcon1Size;

const char* const kPageIconNames[kPageIcons] = {"korval-row0.png", "korval-row1.png"};

namespace {

// KORVAL's own words (res/korval.rc), as UTF-8.
constexpr const char* kWindowTitle = "Vantry Demo Datenbank";
constexpr const char* kLabels[kRowLabelCount] = {"Titel:", "Autor:", "Datei:", "Datum:", "Gesamtgröße:",
                                                 "Stichwörter:"};
constexpr const char* kOrderNames[kPageOrders] = {"Nach Titel", "Nach Autor", "Nach Datei", "Nach Datum"};
constexpr const char* kIconNames[kPageIcons] = {"Film", "Bildfolge"};
constexpr const char* kNoMatch = "Es wurden keine Animationen gefunden die dem Auswahlkriterium entsprechen!";

std::string_view Field(const char* text, std::size_t capacity)
{
    return std::string_view(text, BoundedLength(text, capacity));
}

const char* PreviewText(PreviewState state)
{
    switch (state) {
    case PreviewState::Missing: return "Keine Vorschau: Datei nicht gefunden";
    case PreviewState::NotFlc: return "Keine Vorschau: keine FLC- oder FLI-Datei";
    case PreviewState::TooLarge: return "Keine Vorschau: Bild zu groß";
    case PreviewState::Damaged: return "Keine Vorschau: Datei beschädigt";
    case PreviewState::NotAFile: return "Keine Vorschau: keine gewöhnliche Datei (ein Gerät oder eine Pipe)";
    case PreviewState::NoMemory: return "Keine Vorschau: nicht genug Speicher für das Bild";
    case PreviewState::Shown: break;
    }
    return "";
}

std::string Numbers(const std::vector<int>& numbers)
{
    std::string text;
    for (int n : numbers) {
        if (!text.empty())
            text += ' ';
        text += std::to_string(n);
    }
    return text;
}

void AppendEntry(std::string& html, const PageEntry& entry, int index)
{
    const std::string number = std::to_string(index);
    html += "<article id=\"e" + number + "\" tabindex=\"0\" data-i=\"" + number + "\" data-o=\""
          + Numbers(std::vector<int>(entry.orderClass, entry.orderClass + kPageOrders)) + "\" data-k=\""
          + Numbers(entry.keywords) + "\"><img class=\"s\" src=\"" + kPageIconNames[entry.icon == 1 ? 1 : 0]
          + "\" alt=\"" + kIconNames[entry.icon == 1 ? 1 : 0] + "\"><div class=\"t\"><h2>";
    AppendEscaped(html, entry.values[0]);
    html += "</h2><dl>";
    for (int n = 0; n < kRowLabelCount; ++n) {
        html += "<dt>";
        html += kLabels[n];
        html += n == 2 ? "<dd class=\"f\">" : "<dd>";
        AppendEscaped(html, entry.values[n]);
    }
    html += "</dl></div><div class=\"b\">";
    if (entry.preview == PreviewState::Shown) {
        html += "<img class=\"p\" src=\"" + Escaped(RelativeUrl(entry.poster)) + "\" data-gif=\""
              + Escaped(RelativeUrl(entry.gif)) + "\" width=\"" + std::to_string(entry.width) + "\" height=\""
              + std::to_string(entry.height) + "\" alt=\"";
        AppendEscaped(html, entry.values[0]);
        html += " – ";
        AppendEscaped(html, entry.values[2]);
        html += "\" loading=\"lazy\">";
        if (entry.damagedAt > 0)
            html += "<p class=\"d\">beschädigt ab Bild " + std::to_string(entry.damagedAt) + "</p>";
    } else {
        html += "<p class=\"k\">";
        html += PreviewText(entry.preview);
        html += "</p>";
    }
    html += "</div></article>\n";
}

std::string Policy()
{
    return "default-src 'none'; img-src 'self'; style-src 'sha256-" + Sha256Base64(PageStyle())
         + "'; script-src 'sha256-" + Sha256Base64(PageScript()) + "'; base-uri 'none'; form-action 'none'";
}

} // namespace

const std::string& PageStyle()
{
    static const std::string style = kPageStyleText;
    return style;
}

const std::string& PageScript()
{
    static const std::string script = kPageScriptText;
    return script;
}

std::string PageIconBytes(int icon)
{
    if (icon == 1)
        return std::string(reinterpret_cast<const char*>(kPageIcon1), kPageIcon1Size);
    return std::string(reinterpret_cast<const char*>(kPageIcon0), kPageIcon0Size);
}

CataloguePage PageFromCatalogue()
{
    CataloguePage page;
    const int count = std::clamp<int>(AnimationCount, 0, kAnimationSlots);
    std::vector<std::string> keys[kPageOrders];
    for (int i = 0; i < count; ++i) {
        const AnimationRecord& record = AnimationTable[i];
        PageEntry entry;
        char keywordText[kKeywordTextSize];
        RowValues values = RowValuesOf(record, keywordText);
        for (int n = 0; n < kRowLabelCount; ++n)
            entry.values[n] = Utf8FromWindows1252(values.text[n]);
        // The row draws icon 0 for an index it has no icon for.
        entry.icon = record.iconIndex == 1 ? 1 : 0;
        const int keywordCount = std::clamp<int>(record.keywordCount, 0, kEntryKeywords);
        for (int k = 0; k < keywordCount; ++k) {
            int keyword = record.keywordIndices[k];
            if (std::find(entry.keywords.begin(), entry.keywords.end(), keyword) == entry.keywords.end())
                entry.keywords.push_back(keyword);
        }
        for (int order = 0; order < kPageOrders; ++order) {
            char dateKey[kDateKeySize];
            const char* key = RowKeyText(record, order, dateKey);
            std::size_t capacity = order == kSortByTitle ? sizeof record.title
                                 : order == kSortByFile  ? sizeof record.file
                                 : order == kSortByDate  ? sizeof dateKey
                                                         : kAuthorNameSize;
            keys[order].emplace_back(Field(key, capacity));
        }
        page.entries.push_back(std::move(entry));
    }
    for (int order = 0; order < kPageOrders; ++order) {
        std::vector<int> classes = KeyClasses(keys[order]);
        for (int i = 0; i < count; ++i)
            page.entries[i].orderClass[order] = classes[i];
    }
    // The keyword dialog's list sorts the names the same way.
    std::vector<std::string> names;
    const int keywordCount = std::clamp<int>(KeywordCount, 0, kKeywordSlots);
    for (int k = 0; k < keywordCount; ++k)
        names.emplace_back(Field(KeywordTable[k], kKeywordNameSize));
    for (int k : ListInsertionOrder(KeyClasses(names)))
        page.keywords.push_back({k, Utf8FromWindows1252(names[k])});
    return page;
}

std::vector<int> TitleOrder(const CataloguePage& page)
{
    std::vector<int> classes;
    for (const PageEntry& entry : page.entries)
        classes.push_back(entry.orderClass[kSortByTitle]);
    return ListInsertionOrder(classes);
}

std::string WritePage(const CataloguePage& page)
{
    std::string html;
    html.reserve(24 * 1024 + page.entries.size() * 600);
    html += "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta http-equiv=\"Content-Security-Policy\" content=\"" + Policy() + "\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
    html += kWindowTitle;
    html += "</title>\n<style>" + PageStyle() + "</style>\n</head>\n<body>\n<h1>";
    html += kWindowTitle;
    html += "</h1>\n<div id=\"steuerung\" hidden>\n<fieldset id=\"ordnung\"><legend>Reihenfolge</legend>";
    for (int order = 0; order < kPageOrders; ++order) {
        html += "<label><input type=\"radio\" name=\"ordnung\" value=\"" + std::to_string(order) + "\"";
        html += order == 0 ? " checked>" : ">";
        html += kOrderNames[order];
        html += "</label>";
    }
    html += "</fieldset>\n<fieldset id=\"woerter\"><legend>Stichwörter</legend>";
    for (const PageKeyword& keyword : page.keywords) {
        html += "<label><input type=\"checkbox\" value=\"" + std::to_string(keyword.index) + "\">";
        AppendEscaped(html, keyword.name);
        html += "</label>";
    }
    html += "</fieldset>\n<fieldset><legend>Verknüpfung</legend>"
            "<label><input type=\"radio\" name=\"art\" id=\"oder\" checked>Oder</label>"
            "<label><input type=\"radio\" name=\"art\" id=\"und\">Und</label></fieldset>\n"
            "<button type=\"button\" id=\"alle\">Alle</button>\n</div>\n";
    const std::string total = std::to_string(page.entries.size());
    html += "<p role=\"status\" id=\"anzahl\" data-none=\"";
    html += kNoMatch;
    html += "\">" + total + " von " + total + "</p>\n<main id=\"eintraege\">\n";
    for (int index : TitleOrder(page))
        AppendEntry(html, page.entries[index], index);
    html += "</main>\n<dialog id=\"ansicht\" aria-labelledby=\"ansicht-titel\">\n<div id=\"kopf\">"
            "<h2 id=\"ansicht-titel\"></h2><span id=\"ansicht-datei\"></span>"
            "<button type=\"button\" id=\"kleiner\" aria-label=\"Verkleinern\">−</button>"
            "<span id=\"zoom\">100 %</span>"
            "<button type=\"button\" id=\"groesser\" aria-label=\"Vergrößern\">+</button>"
            "<button type=\"button\" id=\"schliessen\">Schließen</button></div>\n"
            "<p id=\"ansicht-text\" hidden></p><div id=\"rahmen\"><img id=\"bild\" alt=\"\"></div>\n</dialog>\n"
            "<script>" + PageScript() + "</script>\n</body>\n</html>\n";
    return html;
}
