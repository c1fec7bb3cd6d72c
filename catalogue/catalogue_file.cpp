#include "catalogue/catalogue_file.h"

#include "app/startup.h"
#include "catalogue/key_name.h"
#include "res/resource.h"

#include <windows.h>

namespace {

class ProfileSource final : public CatalogueSource {
public:
    int Read(int sectionId, int keyId, int number, char (&value)[kProfileValueSize]) override
    {
        return ReadCatalogueValue(sectionId, keyId, value, number);
    }
};

} // namespace

int ReadCatalogueValue(int sectionId, int keyId, char* destination, int number)
{
    char section[24] = "";
    char keyTemplate[32] = "";
    char key[32];
    destination[0] = '\0';
    LoadStringA(ModuleInstance, sectionId, section, sizeof section);
    LoadStringA(ModuleInstance, keyId, keyTemplate, sizeof keyTemplate);
    if (!FormatKeyName(key, sizeof key, keyTemplate, number))
        return 0;
    return static_cast<int>(GetPrivateProfileStringA(section, key, "", destination, kProfileValueSize,
                                                     CataloguePath));
}

int LoadCatalogue()
{
    char unknown[kAuthorNameSize] = "";
    LoadStringA(ModuleInstance, IDS_UNKNOWN_AUTHOR, unknown, sizeof unknown);
    ProfileSource source;
    return LoadCatalogueFrom(source, unknown);
}
