#include "base/dpi.h"

int ScaleToDpi(int length, int dpi)
{
    if (dpi <= 0)
        return length;
    long long product = static_cast<long long>(length) * dpi;
    long long magnitude = product < 0 ? -product : product;
    long long rounded = (magnitude + kBaseDpi / 2) / kBaseDpi;
    return static_cast<int>(product < 0 ? -rounded : rounded);
}

int LineWidthAtDpi(int dpi)
{
    return dpi >= 2 * kBaseDpi ? dpi / kBaseDpi : 1;
}

DpiSource ChooseDpiSource(bool haveWindow, bool hasDpiForWindow, bool hasDpiForMonitor)
{
    if (!haveWindow)
        return DpiSource::Screen;
    if (hasDpiForWindow)
        return DpiSource::Window;
    return hasDpiForMonitor ? DpiSource::Monitor : DpiSource::Screen;
}

bool NeedsNonClientScaling(bool hasEnableNonClientScaling, bool perMonitorV2)
{
    return hasEnableNonClientScaling && !perMonitorV2;
}
