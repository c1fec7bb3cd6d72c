#include "view/child_id.h"

#include <oleacc.h>

#include <climits>
#include <cstring>

namespace {

template <typename T>
T IntegerAt(const void* where)
{
    T value;
    std::memcpy(&value, where, sizeof value);
    return value;
}

} // namespace

bool ChildIdOf(const VARIANT& child, long& id, bool throughReference)
{
    if (child.vt == VT_EMPTY || (child.vt == VT_ERROR && child.scode == DISP_E_PARAMNOTFOUND)) {
        id = CHILDID_SELF;
        return true;
    }
    const bool byReference = (child.vt & VT_BYREF) != 0;
    if (byReference && child.byref == nullptr)
        return false;
    if (child.vt == (VT_VARIANT | VT_BYREF))
        return !throughReference && ChildIdOf(*child.pvarVal, id, true);
    // Every integer member of the VARIANT starts where the widest does.
    const void* where = byReference ? child.byref : static_cast<const void*>(&child.llVal);
    long long value = 0;
    switch (child.vt & ~VT_BYREF) {
    case VT_I1: value = IntegerAt<signed char>(where); break;
    case VT_UI1: value = IntegerAt<unsigned char>(where); break;
    case VT_I2: value = IntegerAt<SHORT>(where); break;
    case VT_UI2: value = IntegerAt<USHORT>(where); break;
    case VT_I4:
    case VT_INT: value = IntegerAt<INT32>(where); break;
    case VT_UI4:
    case VT_UINT: value = IntegerAt<UINT32>(where); break;
    case VT_I8: value = IntegerAt<LONGLONG>(where); break;
    case VT_UI8:
        if (IntegerAt<ULONGLONG>(where) > static_cast<ULONGLONG>(LONG_MAX))
            return false;
        value = static_cast<long long>(IntegerAt<ULONGLONG>(where));
        break;
    default:
        return false;
    }
    if (value < LONG_MIN || value > LONG_MAX)
        return false;
    id = static_cast<long>(value);
    return true;
}

