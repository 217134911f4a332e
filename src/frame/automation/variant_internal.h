// Variant type rules shared by the variant, array and coercion code.
#pragma once

#include "frame/automation/automation_api.h"

#include <cstddef>

namespace nv {

// Whether `vt` may tag a VARIANT: a value type, optionally as an array or by
// reference. VT_EMPTY and VT_NULL take neither modifier; VT_VARIANT needs one.
bool IsValidVariantType(VARTYPE vt) noexcept;

// Bytes of one value of base type `vt` (no VT_ARRAY or VT_BYREF bits); 0 for
// types that hold no value of their own.
size_t ValueSize(VARTYPE vt) noexcept;

// The referent of a VT_BYREF variant as a shallow VARIANT that owns nothing.
// VT_VARIANT|VT_BYREF yields the variant pointed to, itself dereferenced once
// more when it is by reference; a second VT_VARIANT|VT_BYREF level or a null
// reference is E_INVALIDARG.
HRESULT ReadByRef(const VARIANT& ref, VARIANT* view) noexcept;

}  // namespace nv
