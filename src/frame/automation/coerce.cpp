// VariantChangeType(Ex): dispatch by source type. The result is built in a
// scratch variant and moved into the destination only on success, so a
// failed conversion leaves the destination as it was and an in-place
// conversion (dest == src) never reads freed memory. The LCID is accepted
// and ignored: conversions follow the invariant locale.
#include "frame/automation/automation_api.h"
#include "frame/automation/coerce_internal.h"
#include "frame/automation/variant_internal.h"

namespace nv {

namespace {

// Empty converts to the zero of every type: 0, "", false, DATE 0, null objects.
HRESULT FromEmpty(VARTYPE target, VARIANT* out) {
  switch (target) {
    case VT_NULL:
      out->vt = VT_NULL;
      return S_OK;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      out->punkVal = nullptr;
      out->vt = target;
      return S_OK;
    case VT_BSTR:
      return StoreText(u"", out);
    case VT_ERROR:
      return DISP_E_TYPEMISMATCH;
    default:
      return StoreNumber(Number::Signed(0), target, out);
  }
}

HRESULT FromText(std::u16string_view text, VARTYPE target, VARIANT* out) {
  switch (target) {
    case VT_BOOL: {
      VARIANT_BOOL value;
      const HRESULT hr = BooleanFromText(text, &value);
      if (FAILED(hr)) return hr;
      out->boolVal = value;
      out->vt = VT_BOOL;
      return S_OK;
    }
    case VT_DATE: {
      DATE value;
      const HRESULT hr = DateFromText(text, &value);
      if (FAILED(hr)) return hr;
      out->date = value;
      out->vt = VT_DATE;
      return S_OK;
    }
    case VT_NULL: case VT_ERROR: case VT_DISPATCH: case VT_UNKNOWN:
      return DISP_E_TYPEMISMATCH;
    default: {
      Number value;
      const HRESULT hr = NumberFromText(text, target, &value);
      return FAILED(hr) ? hr : StoreNumber(value, target, out);
    }
  }
}

// Integers, reals, CY, DATE and BOOL.
HRESULT FromScalar(const VARIANT& scalar, USHORT flags, VARTYPE target, VARIANT* out) {
  switch (target) {
    case VT_BSTR:
      return TextOfScalar(scalar, flags, out);
    case VT_ERROR:  // only a 32-bit status converts to an error code
      if (scalar.vt != VT_I4 && scalar.vt != VT_UI4) return DISP_E_TYPEMISMATCH;
      out->scode = scalar.lVal;
      out->vt = VT_ERROR;
      return S_OK;
    case VT_NULL: case VT_DISPATCH: case VT_UNKNOWN:
      return DISP_E_TYPEMISMATCH;
    default:
      if (scalar.vt == VT_BOOL) return StoreBoolean(scalar.boolVal, target, out);
      return StoreNumber(NumberOf(scalar), target, out);
  }
}

HRESULT CoerceValue(const VARIANT& source, LCID lcid, USHORT flags, VARTYPE target,
                    VARIANT* out) {
  if (source.vt == target) return VariantCopy(out, &source);
  if (target == VT_EMPTY) return S_OK;  // out is already empty
  // No conversion produces a reference; other valid types are just not convertible.
  if (!IsCoercibleType(target))
    return (target & VT_BYREF) ? DISP_E_BADVARTYPE : DISP_E_TYPEMISMATCH;
  if (!IsCoercibleType(source.vt)) return DISP_E_TYPEMISMATCH;  // arrays, DECIMAL
  switch (source.vt) {
    case VT_EMPTY: return FromEmpty(target, out);
    case VT_NULL:
      if (target != VT_NULL) return DISP_E_TYPEMISMATCH;
      out->vt = VT_NULL;
      return S_OK;
    case VT_ERROR: return DISP_E_TYPEMISMATCH;
    case VT_BSTR: return FromText(TextOf(source), target, out);
    case VT_DISPATCH: return CoerceDispatch(source.pdispVal, lcid, flags, target, out);
    case VT_UNKNOWN: return CoerceUnknown(source.punkVal, target, out);
    default: return FromScalar(source, flags, target, out);
  }
}

}  // namespace

bool IsCoercibleType(VARTYPE vt) {
  switch (vt) {
    case VT_EMPTY: case VT_NULL: case VT_R4: case VT_R8: case VT_CY: case VT_DATE:
    case VT_BSTR: case VT_DISPATCH: case VT_ERROR: case VT_BOOL: case VT_UNKNOWN:
      return true;
    default:
      return IsIntegerType(vt);
  }
}

HRESULT Coerce(const VARIANT& source, LCID lcid, USHORT flags, VARTYPE target, VARIANT* out) {
  if (source.vt == target || !(source.vt & VT_BYREF))
    return CoerceValue(source, lcid, flags, target, out);
  VARIANT referent;
  const HRESULT hr = ReadByRef(source, &referent);
  if (FAILED(hr)) return hr;
  if (!IsValidVariantType(referent.vt)) return DISP_E_BADVARTYPE;
  return CoerceValue(referent, lcid, flags, target, out);
}

}  // namespace nv

NVAPI HRESULT VariantChangeTypeEx(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, LCID lcid,
                                  USHORT wFlags, VARTYPE vt) {
  if (pvargDest == nullptr || pvarSrc == nullptr) return E_INVALIDARG;
  if (!nv::IsValidVariantType(pvarSrc->vt) || !nv::IsValidVariantType(vt))
    return DISP_E_BADVARTYPE;
  VARIANT result;
  VariantInit(&result);
  HRESULT hr = nv::Coerce(*pvarSrc, lcid, wFlags, vt, &result);
  if (FAILED(hr)) return hr;
  hr = VariantClear(pvargDest);
  if (FAILED(hr)) {
    VariantClear(&result);
    return hr;
  }
  *pvargDest = result;
  return S_OK;
}

NVAPI HRESULT VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, USHORT wFlags,
                                VARTYPE vt) {
  return VariantChangeTypeEx(pvargDest, pvarSrc, LOCALE_USER_DEFAULT, wFlags, vt);
}
