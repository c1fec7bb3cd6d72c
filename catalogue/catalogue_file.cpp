#include "catalogue/catalogue_file.h"

#include "base/file_exists.h"
#include "base/instance.h"
#include "catalogue/catalogue_path.h"
#include "catalogue/key_name.h"
#include "catalogue/numbered_keys.h"
#include "res/resource.h"

#include <windows.h>

#include <cstdint>

char CataloguePath[kPathSize];

namespace {

// The platform's key read searches the file for every key it is asked for,
// so the numbered keys are looked up in one read of their section instead.
// The buffer holds a section as long as the longest catalogue anyone should
// meet (10 MB of keys); what does not fit is read key by key as before. Its
// pages cost nothing until a section fills them.
constexpr DWORD kSectionSize = 16u << 20;
char SectionText[kSectionSize];
// Where each number's key starts; higher numbers than a full buffer can reach
// are read key by key.
std::uint32_t NumberSlots[(kSectionSize / 16) + 1];

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

class ProfileSource final : public CatalogueSource {
public:
    ProfileSource() : keys_(NumberSlots, sizeof NumberSlots / sizeof NumberSlots[0]), unicode_(IsUnicodeFile(CataloguePath)) {}
    ~ProfileSource() { keys_.Clear(); }

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
        if (unicode_)
            return;
        DWORD length = GetPrivateProfileSectionA(section, SectionText, kSectionSize, CataloguePath);
        // A section that does not fit comes back cut, with the buffer's size less two.
        keys_.Index(SectionText, length, length < kSectionSize - 2, keyTemplate);
    }

    NumberedKeys keys_;
    bool unicode_;
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
