#include "catalogue/catalogue_file.h"

#include "base/file_exists.h"
#include "base/instance.h"
#include "catalogue/catalogue_path.h"
#include "catalogue/key_name.h"
#include "catalogue/numbered_keys.h"
#include "res/resource.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <new>

char CataloguePath[kPathSize];

namespace {

// The platform's key read searches the file for every key it is asked for,
// so the numbered keys are looked up in one read of their section instead.
// The file's size bounds a section's text, and 16 MB (10 MB of keys, longer
// than any catalogue anyone should meet) bounds the buffer: what does not
// fit is read key by key as before. The buffer lives while the catalogue is
// loaded, not for the program's life.
constexpr DWORD kSectionMax = 16u << 20;

// Room for a section of the file at `path`: its bytes three times over (in a
// UTF-8 code page one byte may come back as three) and the text's two ends,
// at most kSectionMax; 0 when the file cannot be sized.
DWORD SectionSizeFor(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA facts;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &facts))
        return 0;
    if (facts.nFileSizeHigh != 0 || facts.nFileSizeLow > (kSectionMax - 4) / 3)
        return kSectionMax;
    return 3 * facts.nFileSizeLow + 4;
}

// A catalogue with a byte-order mark is Unicode text, which the platform turns
// into ANSI text differently for a section read (best-fit characters) than it
// compares key names: such a file is read key by key.
bool IsUnicodeFile(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    unsigned char head[3] = {0, 0, 0};
    DWORD got = 0;
    ReadFile(file, head, sizeof head, &got, nullptr);
    CloseHandle(file);
    return (got >= 2 && ((head[0] == 0xFF && head[1] == 0xFE) || (head[0] == 0xFE && head[1] == 0xFF)))
        || (got == 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF);
}

// One section held at a time, with the index of its numbered keys: where
// each number's key starts (a key needs more than 16 characters of the text
// before its number goes past the slots, and is then read key by key).
struct SectionBuffer {
    explicit SectionBuffer(DWORD size)
        : size(size), slotCount(size / 16 + 1), text(size != 0 ? new (std::nothrow) char[size] : nullptr),
          slots(text ? new (std::nothrow) std::uint32_t[slotCount]() : nullptr)
    {
    }
    bool Held() const { return slots != nullptr; }

    DWORD size;
    std::size_t slotCount;
    std::unique_ptr<char[]> text;
    std::unique_ptr<std::uint32_t[]> slots;
};

class ProfileSource final : public CatalogueSource {
public:
    // Without the room for a section (a file that cannot be sized, no
    // memory), every key is read on its own, as for a Unicode file.
    ProfileSource()
        : unicode_(IsUnicodeFile(CataloguePath)), buffer_(unicode_ ? 0 : SectionSizeFor(CataloguePath)),
          keys_(buffer_.slots.get(), buffer_.Held() ? buffer_.slotCount : 0)
    {
    }

    int Read(int sectionId, int keyId, int number, char (&value)[kProfileValueSize]) override
    {
        if (sectionId != sectionId_ || keyId != keyId_)
            ReadSection(sectionId, keyId);
        int length = 0;
        switch (keys_.Find(number, value, length)) {
        case KeyAnswer::Value:
        case KeyAnswer::Missing:
            return length;
        case KeyAnswer::AskPlatform:
            break;
        }
        return ReadCatalogueValue(sectionId, keyId, value, number);
    }

private:
    void ReadSection(int sectionId, int keyId)
    {
        sectionId_ = sectionId;
        keyId_ = keyId;
        keys_.Clear();
        char section[24] = "";
        char keyTemplate[32] = "";
        LoadStringA(ModuleInstance, sectionId, section, sizeof section);
        LoadStringA(ModuleInstance, keyId, keyTemplate, sizeof keyTemplate);
        if (unicode_ || !buffer_.Held())
            return;
        DWORD length = GetPrivateProfileSectionA(section, buffer_.text.get(), buffer_.size, CataloguePath);
        // A section that does not fit comes back cut, with the buffer's size less two.
        keys_.Index(buffer_.text.get(), length, length < buffer_.size - 2, keyTemplate);
    }

    bool unicode_;
    SectionBuffer buffer_;
    NumberedKeys keys_;
    int sectionId_ = 0;
    int keyId_ = 0;
};

} // namespace

int LocateCatalogue(const char* arguments)
{
    char modulePath[kPathSize];
    DWORD length = GetModuleFileNameA(ModuleInstance, modulePath, sizeof modulePath);
    if (length == 0 || length >= sizeof modulePath)
        modulePath[0] = '\0';   // too long to hold whole: no name to derive from
    if (!DeriveCataloguePath(CataloguePath, modulePath, arguments) || modulePath[0] == '\0')
        return 0;
    return FileExists(CataloguePath);
}

int ReadCatalogueValue(int sectionId, int keyId, char* destination, int number)
{
    return ReadCatalogueValue(sectionId, keyId, destination, kProfileValueSize, number);
}

int ReadCatalogueValue(int sectionId, int keyId, char* destination, std::size_t capacity, int number)
{
    if (capacity == 0)
        return 0;
    char section[24] = "";
    char keyTemplate[32] = "";
    char key[32];
    destination[0] = '\0';
    LoadStringA(ModuleInstance, sectionId, section, sizeof section);
    LoadStringA(ModuleInstance, keyId, keyTemplate, sizeof keyTemplate);
    if (!FormatKeyName(key, sizeof key, keyTemplate, number))
        return 0;
    return static_cast<int>(GetPrivateProfileStringA(section, key, "", destination, static_cast<DWORD>(capacity),
                                                     CataloguePath));
}

int LoadCatalogue()
{
    char unknown[kAuthorNameSize] = "";
    LoadStringA(ModuleInstance, IDS_UNKNOWN_AUTHOR, unknown, sizeof unknown);
    ProfileSource source;
    return LoadCatalogueFrom(source, unknown);
}
