#include "view/row_text.h"

#include "base/text.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

const char kSeparator[] = ", ";
const char kLeftOut[] = "...";
constexpr std::size_t kSeparatorLength = sizeof kSeparator - 1;
constexpr std::size_t kLeftOutLength = sizeof kLeftOut - 1;

struct Name {
    const char* text;
    std::size_t length;     // a keyword slot need not hold its terminator
};

void AppendName(char (&text)[kKeywordTextSize], const Name& name)
{
    std::size_t used = std::strlen(text);
    std::memcpy(text + used, name.text, name.length);
    text[used + name.length] = '\0';
}

} // namespace

bool BuildKeywordText(const AnimationRecord& record, char (&text)[kKeywordTextSize])
{
    Name names[kEntryKeywords];
    int count = 0;
    std::size_t total = 0;
    int keywordCount = record.keywordCount < kEntryKeywords ? record.keywordCount : kEntryKeywords;
    for (int k = 0; k < keywordCount; ++k) {
        int index = record.keywordIndices[k];
        if (index < 0 || index >= kKeywordSlots)
            continue;
        names[count].text = KeywordTable[index];
        names[count].length = BoundedLength(KeywordTable[index], kKeywordNameSize);
        total += (count > 0 ? kSeparatorLength : 0) + names[count].length;
        ++count;
    }

    // Ten names of 31 characters with their separators need 328 characters:
    // then only whole names are kept, and ", ..." tells that more follow.
    bool whole = total < kKeywordTextSize;
    std::size_t limit = whole ? kKeywordTextSize - 1 : kKeywordTextSize - 1 - kSeparatorLength - kLeftOutLength;
    text[0] = '\0';
    std::size_t used = 0;
    int kept = 0;
    for (; kept < count; ++kept) {
        std::size_t needed = (kept > 0 ? kSeparatorLength : 0) + names[kept].length;
        if (used + needed > limit)
            break;
        if (kept > 0)
            AppendText(text, kSeparator);
        AppendName(text, names[kept]);
        used += needed;
    }
    if (whole)
        return true;
    if (kept > 0)
        AppendText(text, kSeparator);
    AppendText(text, kLeftOut);
    return false;
}

const char* FileDisplayName(const char* file)
{
    const char* slash = std::strrchr(file, '\\');
    return slash ? slash + 1 : file;
}

const char* AuthorName(int authorIndex)
{
    if (authorIndex < 0 || authorIndex >= kAuthorSlots)
        authorIndex = 0;
    return AuthorTable[authorIndex];
}

namespace {

// A field of a fixed record slot, which need not hold its terminator.
std::string_view Field(const char* text, std::size_t capacity)
{
    return std::string_view(text, BoundedLength(text, capacity));
}

} // namespace

RowValues RowValuesOf(const AnimationRecord& record, char (&keywords)[kKeywordTextSize])
{
    BuildKeywordText(record, keywords);
    const char* file = FileDisplayName(record.file);
    RowValues values;
    values.text[0] = Field(record.title, sizeof record.title);
    values.text[1] = Field(AuthorName(record.authorIndex), kAuthorNameSize);
    values.text[2] = Field(file, sizeof record.file - static_cast<std::size_t>(file - record.file));
    values.text[3] = Field(record.date, sizeof record.date);
    values.text[4] = Field(record.sizeText, sizeof record.sizeText);
    values.text[5] = Field(keywords, sizeof keywords);
    return values;
}

void BuildRowName(char (&name)[kRowNameSize], const char (&labels)[kRowLabelCount][kRowLabelSize],
                  const RowValues& values)
{
    // Every value and label has a bounded length, so the whole name fits.
    const std::string_view& title = values.text[0];
    FormatText(name, "%.*s", static_cast<int>(title.size()), title.data());
    for (int n = 1; n < kRowLabelCount; ++n) {
        const std::string_view& value = values.text[n];
        if (n == kRowLabelCount - 1 && value.empty())
            break;
        char part[kRowLabelSize + kKeywordTextSize + 4];
        FormatText(part, ", %.*s %.*s", static_cast<int>(BoundedLength(labels[n], kRowLabelSize)), labels[n],
                   static_cast<int>(value.size()), value.data());
        AppendText(name, part);
    }
}

int RowDpiForHeight(int height)
{
    int dpi = height < 1 ? 1 : height * kBaseDpi / kRowHeight + 1;
    while (dpi > 1 && ScaleToDpi(kRowHeight, dpi) > height)
        --dpi;
    return dpi;
}

int RowLayoutDpi(int dpi)
{
    int highest = RowDpiForHeight(kRowHeightLimit);
    return dpi > highest ? highest : dpi;
}

RowGeometry RowGeometryAt(int displayDpi)
{
    const int dpi = RowLayoutDpi(displayDpi);
    auto scale = [dpi](int length) { return ScaleToDpi(length, dpi); };
    auto scalePoint = [&](RowPoint at) { return RowPoint{scale(at.x), scale(at.y)}; };
    RowGeometry geometry;
    geometry.height = scale(kRowHeight);
    geometry.extent = scale(kRowExtent);
    geometry.line = LineWidthAtDpi(dpi);
    geometry.iconAt = scalePoint(kRowIconAt);
    geometry.iconSize = scale(kRowIconSize);
    for (int n = 0; n < kRowLabelCount; ++n) {
        geometry.labelAt[n] = scalePoint(kRowLabelAt[n]);
        geometry.valueAt[n] = scalePoint(kRowValueAt[n]);
    }
    geometry.fontHeight = scale(kRowFontHeight);
    geometry.gap = scale(kRowTextGap);
    return geometry;
}

RowTextColumns PlaceRowTexts(const RowGeometry& row, const RowTextWidths& widths)
{
    // Every text of the row, in the order of its lines, and across each line.
    struct Text {
        RowPoint at;
        int width;
        int* column;
    };
    RowTextColumns columns;
    Text texts[2 * kRowLabelCount];
    for (int n = 0; n < kRowLabelCount; ++n) {
        texts[n] = {row.labelAt[n], widths.label[n], &columns.label[n]};
        texts[kRowLabelCount + n] = {row.valueAt[n], widths.value[n], &columns.value[n]};
    }
    std::sort(std::begin(texts), std::end(texts), [](const Text& a, const Text& b) {
        return a.at.y != b.at.y ? a.at.y < b.at.y : a.at.x < b.at.x;
    });
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        int x = texts[i].at.x;
        if (i > 0 && texts[i - 1].at.y == texts[i].at.y) {
            int after = *texts[i - 1].column + texts[i - 1].width + row.gap;
            if (after > x)
                x = after;
        }
        *texts[i].column = x;
    }
    return columns;
}

const char* RowFontFace(int dpi)
{
    return dpi == kBaseDpi || dpi <= 0 ? "MS Sans Serif" : "Tahoma";
}
