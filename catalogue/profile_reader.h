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
#include <string>
#include <unordered_map>
#include <vector>

struct ProfileKey {
    std::string name;
    std::string value;      // blanks around it removed; quotes and length as in the file
    bool hasValue = false;  // false for a line without "=": it reads as empty
    int line = 0;           // from 1
};

struct ProfileSection {
    std::string name;
    int line = 0;           // of its header; 0 for the keys before the first header
    bool hidden = false;    // a later section of an earlier name: never read
    std::vector<ProfileKey> keys;   // in file order, repeats included
};

class ProfileReader {
public:
    // Parses the whole file held in `bytes`, replacing what was read before.
    void Parse(const char* bytes, std::size_t size);
    // Reads and parses the file; false (and nothing read) when it cannot be read.
    bool Load(const char* path);

    // The key that a read of `section` and `key` finds, or null.
    const ProfileKey* Find(const char* section, const char* key) const;
    // The first section of that name, or null.
    const ProfileSection* FindSection(const char* section) const;
    const std::vector<ProfileSection>& Sections() const { return sections_; }

    // The value as GetPrivateProfileStringA gives it with an empty default:
    // at most `capacity` - 1 characters and a terminator; returns the
    // characters stored, 0 for a missing key or an empty value.
    int Read(const char* section, const char* key, char* destination, std::size_t capacity) const;

private:
    void AddSection(std::string name, int line);

    std::vector<ProfileSection> sections_;
    // Lower-case name -> position in sections_ of the first section of that name.
    std::unordered_map<std::string, std::size_t> sectionIndex_;
    // Per section: lower-case key name -> position of the first key of that name.
    std::vector<std::unordered_map<std::string, std::size_t>> keyIndex_;
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
};
