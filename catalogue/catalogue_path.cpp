#include "catalogue/catalogue_path.h"

#include "base/text.h"
#include "res/resource.h"

#include <cstring>

namespace {

constexpr unsigned kDriveFixed = 3;

// The module path with its extension made ".INI". Only a dot in the last name
// is an extension: C:\MY.DIR\KORVAL gets ".INI" appended, not C:\MY.INI.
bool CatalogueFileName(char (&name)[kPathSize], const char* modulePath)
{
    if (!CopyText(name, modulePath))
        return false;
    char* lastName = std::strrchr(name, '\\');
    char* dot = std::strrchr(lastName != nullptr ? lastName : name, '.');
    if (dot != nullptr)
        *dot = '\0';
    return AppendText(name, ".INI");
}

void MarkCut(char* path)
{
    std::size_t length = std::strlen(path);
    std::memcpy(path + (length > 3 ? length - 3 : 0), "...", length > 3 ? 3 : length);
}

} // namespace

bool DeriveCataloguePath(char* destination, const char* modulePath, const char* arguments)
{
    char name[kPathSize];
    bool fits = CatalogueFileName(name, modulePath);

    if (fits && std::strlen(arguments) > 3 && arguments[1] == ':') {
        // The command line names the catalogue's folder, taken as it stands.
        fits = CopyText(destination, kPathSize, arguments);
        std::size_t length = std::strlen(destination);
        if (fits && destination[length - 1] == '\\')
            destination[length - 1] = '\0';
        const char* lastName = std::strrchr(name, '\\');
        fits = fits && AppendText(destination, kPathSize, lastName != nullptr ? lastName : name);
    } else {
        fits = fits && CopyText(destination, kPathSize, name);
        if (!fits)
            CopyText(destination, kPathSize, modulePath);
    }
    if (!fits)
        MarkCut(destination);
    return fits;
}

int CataloguePromptId(unsigned driveType)
{
    return driveType == kDriveFixed ? IDS_CATALOGUE_MISSING : IDS_INSERT_MEDIUM;
}
