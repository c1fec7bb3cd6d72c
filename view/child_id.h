// The child an accessibility client names.
#pragma once

#include <windows.h>

#include <oaidl.h>

// A child id as clients pass it: an integer of any width and sign, by value
// or by reference (also a VARIANT by reference holding one); an empty
// VARIANT, or an optional argument left out of a late-bound call, names the
// object itself (0). Anything else, or an id beyond a long, names no child.
bool ChildIdOf(const VARIANT& child, long& id, bool throughReference = false);
