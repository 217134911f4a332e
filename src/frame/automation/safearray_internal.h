// Element handling shared by the SAFEARRAY functions: what an element owns
// depends on the array's feature flags, not on its element size.
#pragma once

#include "frame/automation/automation_api.h"

namespace nv {

enum class ElementKind { kPlain, kString, kInterface, kVariant };

ElementKind ElementKindOf(const SAFEARRAY& array) noexcept;

// Address of the element `offset` places past the first one.
void* ElementAt(const SAFEARRAY& array, ULONG offset) noexcept;

// Frees what elements [first, first + count) own and zeroes them.
void ReleaseElements(SAFEARRAY& array, ULONG first, ULONG count) noexcept;

// Writes an owned copy of `element` to `out`: a new BSTR, an AddRef'd
// interface, a VariantCopy (out need not be initialised), or the bytes.
HRESULT CopyElementOut(ElementKind kind, const void* element, void* out, ULONG size) noexcept;

// Replaces `element` with a copy of `value`, releasing the old one. `value`
// is the BSTR or interface pointer itself for those kinds, else the address
// of the value. On failure the element is unchanged.
HRESULT StoreElement(ElementKind kind, void* element, void* value, ULONG size) noexcept;

}  // namespace nv
