// A reader of the Windows profile layout for platforms without the platform's
// own reader (native tests, the fuzzers, the catalogue checker). The file is
// parsed once into sections and keys with an index, so that looking up many
// numbered keys costs one pass over the file, not one search per key.
//
// It answers as GetPrivateProfileStringA with an empty default does: blanks
// around keys, "=" and values do not count, a value in matching quotes loses
// them, section and key names ignore letter case, the first section of a name
// and the first key of a name win, lines end at CR, LF or both, and a file
// with a UTF-16 or UTF-8 byte-order mark is read as Windows-1252 text.
// Lines that begin with ";" are comments.
#pragma once

#include "catalogue/store.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct ProfileKey {
    std::string name;
    std::string_view value; // in the reader's text: blanks around it removed; quotes and length as in the file
    bool hasValue = false;  // false for a line without "=": it reads as empty
    int line = 0;           // from 1
};

struct ProfileSection {
    std::string name;
    int line = 0;           // of its header; 0 for the keys before the first header
    bool hidden = false;    // a later section of an earlier name: never read
    std::vector<ProfileKey> keys;   // in file order, repeats included
};

// Positions found by a name whatever the case of its letters A to Z. The table
// keeps only each name's hash and position; the names stay with their owner,
// who tells whether a candidate is the one asked for.
class FoldedIndex {
public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    static std::uint32_t Hash(std::string_view name);

    // The position of the first entry of `hash` that `matches(position)`
    // accepts, or kNone.
    template <typename Matches>
    std::size_t Find(std::uint32_t hash, Matches matches) const
    {
        if (slots_.empty())
            return kNone;
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            const Slot& slot = slots_[at];
            if (slot.position == 0)
                return kNone;
            if (slot.hash == hash && matches(static_cast<std::size_t>(slot.position - 1)))
                return slot.position - 1;
        }
    }

    // Adds `position` under `hash`; the caller has made sure the name is new.
    void Add(std::uint32_t hash, std::size_t position);
    void Clear();

private:
    struct Slot {
        std::uint32_t hash;
        std::uint32_t position;     // plus one; 0 marks a free slot
    };
    std::vector<Slot> slots_;       // a power of two in size, at most half used
    std::size_t used_ = 0;
};

class ProfileReader {
public:
    ProfileReader() = default;
    // The keys' values point into the reader's own copy of the text.
    ProfileReader(const ProfileReader&) = delete;
    ProfileReader& operator=(const ProfileReader&) = delete;

    // Parses the whole file held in `bytes`, replacing what was read before.
    void Parse(const char* bytes, std::size_t size);
    // Reads and parses the file; false (and nothing read) when it cannot be read.
    bool Load(const char* path);

    // The key that a read of `section` and `key` finds, or null.
    const ProfileKey* Find(const char* section, const char* key) const;
    // The first section of that name, or null.
    const ProfileSection* FindSection(const char* section) const;
    // The first key of that name in `section` (one of Sections()), or null.
    const ProfileKey* FindKey(const ProfileSection& section, const char* key) const;
    const std::vector<ProfileSection>& Sections() const { return sections_; }

    // The value as GetPrivateProfileStringA gives it with an empty default:
    // at most `capacity` - 1 characters and a terminator; returns the
    // characters stored, 0 for a missing key or an empty value.
    int Read(const char* section, const char* key, char* destination, std::size_t capacity) const;

private:
    void AddSection(std::string_view name, int line);
    void AddKey(ProfileKey key);

    std::string text_;      // the file's text in the ANSI code page
    std::vector<ProfileSection> sections_;
    // The first section of each name, by its position in sections_.
    FoldedIndex sectionIndex_;
    // Per section: the first key of each name, by its position in the section.
    std::vector<FoldedIndex> keyIndex_;
};

// A value as it is read: without the quotes when it is enclosed in a matching
// pair of ' or ", not cut.
std::string ReadableValue(const ProfileKey& key);

// The catalogue as the loader reads it, from a parsed file. Section and key
// names come from the catalogue's names (CatalogueName), so no string table is
// needed.
class ProfileCatalogueSource final : public CatalogueSource {
public:
    explicit ProfileCatalogueSource(const ProfileReader& reader) : reader_(reader) {}
    int Read(int sectionId, int keyId, int number, char (&value)[kProfileValueSize]) override;

    // The key found by the last Read, or null when it was missing.
    const ProfileKey* LastKey() const { return lastKey_; }

private:
    const ProfileReader& reader_;
    const ProfileKey* lastKey_ = nullptr;
    // The loader reads one section's keys in a row: its section is looked up once.
    int sectionId_ = 0;
    const ProfileSection* section_ = nullptr;
};
