#include "catalogue/profile_reader.h"

#include "catalogue/key_name.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// What the platform's reader passes over around names and values: the C
// white space and Ctrl-Z, the old end-of-file mark that files from DOS
// editors carry.
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

char Folded(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameFolded(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Folded(a[i]) != Folded(b[i]))
            return false;
    }
    return true;
}

// The text from `begin` to `end` without the blanks around it, ending at a
// NUL byte inside it as the platform's text does.
std::string_view Trimmed(const char* begin, const char* end)
{
    while (begin < end && IsBlank(*begin))
        ++begin;
    while (end > begin && IsBlank(end[-1]))
        --end;
    const void* nul = std::memchr(begin, '\0', static_cast<std::size_t>(end - begin));
    if (nul != nullptr)
        end = static_cast<const char*>(nul);
    return std::string_view(begin, static_cast<std::size_t>(end - begin));
}

// A value as it is read: without a matching pair of quotes around it.
std::string_view Unquoted(std::string_view value)
{
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

// Unicode to Windows-1252; what the code page cannot hold becomes "?".
char AnsiOf(std::uint32_t code)
{
    static const std::uint16_t kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<char>(code);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == code)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

std::string FromUtf16(const unsigned char* bytes, std::size_t size, bool bigEndian)
{
    std::string text;
    text.reserve(size / 2);
    std::size_t i = 0;
    for (; i + 1 < size; i += 2) {
        std::uint32_t unit = bigEndian ? (bytes[i] << 8 | bytes[i + 1]) : (bytes[i + 1] << 8 | bytes[i]);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < size) {
            std::uint32_t next = bigEndian ? (bytes[i + 2] << 8 | bytes[i + 3]) : (bytes[i + 3] << 8 | bytes[i + 2]);
            if (next >= 0xDC00 && next <= 0xDFFF)
                i += 2;                              // a pair: one character beyond the code page
        }
        text += AnsiOf(unit);
    }
    if (i < size)
        text += '?';                                 // half a character at the end
    return text;
}

std::string FromUtf8(const unsigned char* bytes, std::size_t size)
{
    std::string text;
    text.reserve(size);
    std::size_t i = 0;
    while (i < size) {
        unsigned char lead = bytes[i];
        int more = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
        std::uint32_t code = more == 1 ? lead & 0x1F : more == 2 ? lead & 0x0F : lead & 0x07;
        if (more == 0)
            code = lead;
        bool valid = more >= 0 && i + static_cast<std::size_t>(more) < size;
        for (int k = 1; valid && k <= more; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80)
                valid = false;
            else
                code = code << 6 | (bytes[i + k] & 0x3F);
        }
        if (!valid) {
            text += '?';
            ++i;
            continue;
        }
        text += AnsiOf(code);
        i += 1 + static_cast<std::size_t>(more);
    }
    return text;
}

// The file's text in the ANSI code page: a file with a byte-order mark is
// Unicode text, any other file is taken byte for byte.
void AnsiText(const char* data, std::size_t size, std::string& text)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        text = FromUtf16(bytes + 2, size - 2, false);
    else if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        text = FromUtf16(bytes + 2, size - 2, true);
    else if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        text = FromUtf8(bytes + 3, size - 3);
    else
        text.assign(data, size);
}

int CopyReadable(const ProfileKey* key, char* destination, std::size_t capacity)
{
    if (capacity == 0)
        return 0;
    destination[0] = '\0';
    if (key == nullptr || !key->hasValue)
        return 0;
    std::string_view value = Unquoted(key->value);
    std::size_t length = value.size() < capacity - 1 ? value.size() : capacity - 1;
    std::memcpy(destination, value.data(), length);
    destination[length] = '\0';
    return static_cast<int>(length);
}

} // namespace

std::uint32_t FoldedIndex::Hash(std::string_view name)
{
    std::uint32_t hash = 2166136261u;
    for (char c : name)
        hash = (hash ^ static_cast<unsigned char>(Folded(c))) * 16777619u;
    return hash;
}

void FoldedIndex::Add(std::uint32_t hash, std::size_t position)
{
    if (2 * (used_ + 1) > slots_.size()) {
        std::vector<Slot> old(slots_.empty() ? 16 : 2 * slots_.size(), Slot{0, 0});
        old.swap(slots_);
        used_ = 0;
        for (const Slot& slot : old) {
            if (slot.position != 0)
                Add(slot.hash, slot.position - 1);
        }
    }
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    while (slots_[at].position != 0)
        at = (at + 1) & mask;
    slots_[at] = Slot{hash, static_cast<std::uint32_t>(position + 1)};
    ++used_;
}

void FoldedIndex::Clear()
{
    slots_.clear();
    used_ = 0;
}

std::string ReadableValue(const ProfileKey& key)
{
    return std::string(Unquoted(key.value));
}

void ProfileReader::AddSection(std::string_view name, int line)
{
    ProfileSection section;
    section.name = std::string(name);
    section.line = line;
    // Only the first section of a name is ever read.
    std::uint32_t hash = FoldedIndex::Hash(name);
    section.hidden = sectionIndex_.Find(hash, [&](std::size_t at) { return SameFolded(sections_[at].name, name); })
        != FoldedIndex::kNone;
    if (!section.hidden)
        sectionIndex_.Add(hash, sections_.size());
    sections_.push_back(std::move(section));
    keyIndex_.emplace_back();
}

void ProfileReader::AddKey(ProfileKey key)
{
    if (sections_.empty())
        AddSection(std::string_view(), 0);          // keys before the first header
    ProfileSection& section = sections_.back();
    FoldedIndex& index = keyIndex_.back();
    std::uint32_t hash = FoldedIndex::Hash(key.name);
    // The first key of a name is the one read.
    if (index.Find(hash, [&](std::size_t at) { return SameFolded(section.keys[at].name, key.name); })
        == FoldedIndex::kNone)
        index.Add(hash, section.keys.size());
    section.keys.push_back(std::move(key));
}

void ProfileReader::Parse(const char* bytes, std::size_t size)
{
    sections_.clear();
    sectionIndex_.Clear();
    keyIndex_.clear();

    AnsiText(bytes, size, text_);
    const char* const end = text_.data() + text_.size();
    const char* next = text_.data();
    // The next CR and the next LF at or after the line's start (or the end),
    // each searched again only once the lines have passed it: one pass over
    // the text whichever ending its lines have.
    const char* carriageReturn = nullptr;
    const char* lineFeed = nullptr;
    auto nextOf = [end](const char*& found, char c, const char* from) {
        if (found == nullptr || found < from) {
            found = static_cast<const char*>(std::memchr(from, c, static_cast<std::size_t>(end - from)));
            if (found == nullptr)
                found = end;
        }
        return found;
    };
    int lineNumber = 0;
    while (next < end) {
        const char* start = next;
        ++lineNumber;
        const char* cr = nextOf(carriageReturn, '\r', start);
        const char* lf = nextOf(lineFeed, '\n', start);
        const char* stop = cr < lf ? cr : lf;
        next = stop;
        if (next < end)
            next += (next[0] == '\r' && next + 1 < end && next[1] == '\n') ? 2 : 1;

        while (start < stop && IsBlank(*start))
            ++start;
        while (stop > start && IsBlank(stop[-1]))
            --stop;
        if (start == stop || *start == ';')
            continue;

        if (*start == '[') {
            // The name runs to the last "]"; text after it does not count. A
            // line without "]" is no header.
            const char* close = stop;
            while (close > start && close[-1] != ']')
                --close;
            if (close > start + 1) {
                AddSection(Trimmed(start + 1, close - 1), lineNumber);
                continue;
            }
        }

        ProfileKey key;
        key.line = lineNumber;
        const char* equals = static_cast<const char*>(std::memchr(start, '=', static_cast<std::size_t>(stop - start)));
        if (equals != nullptr) {
            key.name = std::string(Trimmed(start, equals));
            key.value = Trimmed(equals + 1, stop);
            key.hasValue = true;
        } else {
            key.name = std::string(Trimmed(start, stop));
        }
        AddKey(std::move(key));
    }
}

bool ProfileReader::Load(const char* path)
{
    Parse("", 0);
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
        return false;
    std::string bytes;
    char chunk[65536];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, got);
    bool readable = std::ferror(file) == 0;
    std::fclose(file);
    if (!readable)
        return false;
    Parse(bytes.data(), bytes.size());
    return true;
}

const ProfileSection* ProfileReader::FindSection(const char* section) const
{
    // The platform's reader passes over blanks around the asked name too.
    std::string_view name = Trimmed(section, section + std::strlen(section));
    std::size_t at = sectionIndex_.Find(FoldedIndex::Hash(name),
                                        [&](std::size_t candidate) { return SameFolded(sections_[candidate].name, name); });
    return at == FoldedIndex::kNone ? nullptr : &sections_[at];
}

const ProfileKey* ProfileReader::FindKey(const ProfileSection& section, const char* key) const
{
    std::string_view name(key);
    const FoldedIndex& index = keyIndex_[static_cast<std::size_t>(&section - sections_.data())];
    std::size_t at = index.Find(FoldedIndex::Hash(name),
                                [&](std::size_t candidate) { return SameFolded(section.keys[candidate].name, name); });
    return at == FoldedIndex::kNone ? nullptr : &section.keys[at];
}

const ProfileKey* ProfileReader::Find(const char* section, const char* key) const
{
    const ProfileSection* found = FindSection(section);
    return found == nullptr ? nullptr : FindKey(*found, key);
}

int ProfileReader::Read(const char* section, const char* key, char* destination, std::size_t capacity) const
{
    return CopyReadable(Find(section, key), destination, capacity);
}

int ProfileCatalogueSource::Read(int sectionId, int keyId, int number, char (&value)[kProfileValueSize])
{
    // The same limits as the platform path: a key name of at most 31 characters.
    const char* section = CatalogueName(sectionId);
    const char* keyTemplate = CatalogueName(keyId);
    char key[32];
    lastKey_ = nullptr;
    value[0] = '\0';
    if (section == nullptr || keyTemplate == nullptr || !FormatKeyName(key, sizeof key, keyTemplate, number))
        return 0;
    if (sectionId != sectionId_ || section_ == nullptr) {
        sectionId_ = sectionId;
        section_ = reader_.FindSection(section);
    }
    lastKey_ = section_ != nullptr ? reader_.FindKey(*section_, key) : nullptr;
    return CopyReadable(lastKey_, value, sizeof value);
}
