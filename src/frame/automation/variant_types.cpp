// Variant type validation, value sizes and by-reference reads.
#include "frame/automation/variant_internal.h"

#include <cstring>

namespace nv {

namespace {

constexpr VARTYPE kVector = 0x1000;

bool IsValueType(VARTYPE base) {
  switch (base) {
    case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_CY: case VT_DATE:
    case VT_BSTR: case VT_DISPATCH: case VT_ERROR: case VT_BOOL: case VT_UNKNOWN:
    case VT_DECIMAL: case VT_I1: case VT_UI1: case VT_UI2: case VT_UI4: case VT_I8:
    case VT_UI8: case VT_INT: case VT_UINT:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool IsValidVariantType(VARTYPE vt) noexcept {
  if (vt & (VT_RESERVED | kVector)) return false;
  const VARTYPE base = vt & VT_TYPEMASK;
  const bool modified = (vt & (VT_ARRAY | VT_BYREF)) != 0;
  if (vt & ~(VT_TYPEMASK | VT_ARRAY | VT_BYREF)) return false;
  // The library's own one-dimensional arrays carry the array flag alone; the
  // element type lives in the array itself.
  if (vt == VT_ARRAY) return true;
  if (base == VT_EMPTY || base == VT_NULL) return !modified;
  if (base == VT_VARIANT) return modified;
  return IsValueType(base);
}

size_t ValueSize(VARTYPE vt) noexcept {
  switch (vt) {
    case VT_I1: case VT_UI1:
      return 1;
    case VT_I2: case VT_UI2: case VT_BOOL:
      return 2;
    case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_R4: case VT_ERROR:
      return 4;
    case VT_I8: case VT_UI8: case VT_R8: case VT_CY: case VT_DATE:
      return 8;
    case VT_BSTR:
      return sizeof(BSTR);
    case VT_UNKNOWN: case VT_DISPATCH:
      return sizeof(IUnknown*);
    case VT_VARIANT:
      return sizeof(VARIANT);
    case VT_DECIMAL:
      return sizeof(DECIMAL);
    default:
      return 0;
  }
}

HRESULT ReadByRef(const VARIANT& ref, VARIANT* view) noexcept {
  if (ref.byref == nullptr) return E_INVALIDARG;
  const VARTYPE base = ref.vt & ~VT_BYREF;
  if (base == VT_VARIANT) {
    const VARIANT& inner = *ref.pvarVal;
    if (inner.vt == (VT_VARIANT | VT_BYREF)) return E_INVALIDARG;
    if (inner.vt & VT_BYREF) return ReadByRef(inner, view);
    *view = inner;
    return S_OK;
  }
  VariantInit(view);
  if (base & VT_ARRAY)
    view->parray = *ref.pparray;
  else if (base == VT_DECIMAL)
    view->decVal = *ref.pdecVal;  // overwrites vt, which is set below
  else
    std::memcpy(&view->llVal, ref.byref, ValueSize(base));
  view->vt = base;
  return S_OK;
}

}  // namespace nv
