#include "catalogue/settings.h"

#include "catalogue/catalogue_file.h"
#include "catalogue/folder_setting.h"
#include "catalogue/store.h"
#include "res/resource.h"

#include <windows.h>

namespace {

// The case mapping of the ANSI code page the program runs in.
void UpperCaseWithPlatform(char* text)
{
    CharUpperA(text);
}

} // namespace

int ResolveFolderSetting(int sectionId, int keyId, char* destination, int number)
{
    // Read with room for one character more than a setting may have: a longer
    // value comes back longer than that and is refused by the resolution,
    // never cut to a value that fits.
    char value[kFolderValueSize];
    if (ReadCatalogueValue(sectionId, keyId, value, sizeof value, number) == 0)
        value[0] = '\0';
    return ResolveFolder(destination, kFolderSize, CataloguePath, value, UpperCaseWithPlatform) ? 1 : 0;
}

int ResolveBasePath()
{
    return ResolveFolderSetting(IDS_SETTINGS, IDS_BASE_PATH, BasePath, 0);
}
