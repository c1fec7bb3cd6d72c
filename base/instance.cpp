#include "base/instance.h"

HINSTANCE ModuleInstance;

void SetModuleInstance(HINSTANCE instance)
{
    ModuleInstance = instance;
}
