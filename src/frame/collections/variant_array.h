// One-dimensional variant arrays for the value conversions. The variant's
// type word is exactly VT_ARRAY (no element type bits); the element type
// lives in the array itself, which is also what VariantClear relies on.
#pragma once

#include "frame/automation/automation_api.h"
#include "frame/variant.h"

namespace nv {

// A new array of `elementType` indexed 0..highBound. Throws ENvException when
// lowBound is not 0.
Variant VarArrayCreateOneDim(LONG lowBound, LONG highBound, VARTYPE elementType);

// Locks the array and answers its first element. Throws ENvException when
// the type word is not exactly VT_ARRAY.
void* VarArrayLock(VARIANT& array);
void VarArrayUnlock(VARIANT& array);

// Replaces the array by a byte array of `count` elements holding the leading
// bytes of the old data; unchanged when the element count is already `count`.
void VarArrayRedimBytes(VARIANT& array, LONG count);

}  // namespace nv
