#include "catalogue/folder_setting.h"

#include "base/text.h"

#include <cstring>

namespace {

unsigned char UpperCaseOf(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)       // accented small letters; 0xF7 is the division sign
        return static_cast<unsigned char>(c - 0x20);
    switch (c) {
    case 0x9A: return 0x8A;     // s with caron
    case 0x9C: return 0x8C;     // oe
    case 0x9E: return 0x8E;     // z with caron
    case 0xFF: return 0x9F;     // y with diaeresis
    default: return c;
    }
}

bool EndsWithBackslash(const char* text)
{
    std::size_t length = std::strlen(text);
    return length > 0 && text[length - 1] == '\\';
}

// One folder up: "E:\MEDIA\DATA\" becomes "E:\MEDIA\"; a root such as "E:\" stays.
void Climb(char* folder)
{
    std::size_t length = std::strlen(folder);
    if (length == 0 || folder[length - 1] != '\\')
        return;
    folder[length - 1] = '\0';
    if (char* last = std::strrchr(folder, '\\'))
        last[1] = '\0';
    else
        folder[length - 1] = '\\';
}

} // namespace

void UpperCaseAnsi(char* text)
{
    for (; *text != '\0'; ++text)
        *text = static_cast<char>(UpperCaseOf(static_cast<unsigned char>(*text)));
}

bool ResolveFolder(char* destination, std::size_t capacity, const char* cataloguePath, const char* value,
                   void (*upperCase)(char*))
{
    if (capacity == 0)
        return false;
    destination[0] = '\0';

    // The folder is built whole in a buffer that holds any catalogue folder and
    // any value, and handed out only when it fits: climbs or a drive-qualified
    // value may well give a short folder for a long catalogue path.
    char folder[kPathSize + kFolderValueMax + 2];
    if (!CopyText(folder, cataloguePath))
        return false;
    upperCase(folder);
    char* lastBackslash = std::strrchr(folder, '\\');
    if (lastBackslash == nullptr)
        return false;
    lastBackslash[1] = '\0';

    char setting[kFolderValueMax + 1];
    if (!CopyText(setting, value))
        return false;
    upperCase(setting);

    if (setting[0] != '\0') {
        if (setting[1] == ':') {
            CopyText(folder, setting);
        } else {
            const char* rest = setting[0] == '\\' ? setting + 1 : setting;
            while (std::strncmp(rest, "..\\", 3) == 0) {
                Climb(folder);
                rest += 3;
            }
            AppendText(folder, rest);
        }
    }
    if (!EndsWithBackslash(folder))
        AppendText(folder, "\\");

    if (!CopyText(destination, capacity, folder)) {
        destination[0] = '\0';
        return false;
    }
    return true;
}
