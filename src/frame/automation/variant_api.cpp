// VariantInit, VariantClear, VariantCopy and VariantCopyInd.
#include "frame/automation/automation_api.h"
#include "frame/automation/variant_internal.h"

#include <cstring>

namespace {

// Frees what a variant owns; by-reference variants own nothing. A locked
// array is refused and then nothing is freed.
HRESULT ReleaseValue(VARIANT& value) {
  if (value.vt & VT_BYREF) return S_OK;
  if (value.vt & VT_ARRAY) return SafeArrayDestroy(value.parray);
  switch (value.vt) {
    case VT_BSTR:
      SysFreeString(value.bstrVal);
      break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
      if (value.punkVal != nullptr) value.punkVal->Release();
      break;
    default:
      break;
  }
  return S_OK;
}

BSTR CopyString(BSTR text) {
  return SysAllocStringByteLen(reinterpret_cast<LPCSTR>(text), SysStringByteLen(text));
}

// A copy of `source` that owns its own string, array or interface reference.
// By-reference variants are copied as the reference. On failure *copy is
// VT_EMPTY.
HRESULT DeepCopy(const VARIANT& source, VARIANT* copy) {
  *copy = source;
  HRESULT hr = S_OK;
  if (source.vt & VT_BYREF) return S_OK;
  if (source.vt & VT_ARRAY) {
    hr = SafeArrayCopy(source.parray, &copy->parray);
  } else if (source.vt == VT_BSTR && source.bstrVal != nullptr) {
    copy->bstrVal = CopyString(source.bstrVal);
    if (copy->bstrVal == nullptr) hr = E_OUTOFMEMORY;
  } else if ((source.vt == VT_UNKNOWN || source.vt == VT_DISPATCH) && source.punkVal != nullptr) {
    source.punkVal->AddRef();
  }
  if (FAILED(hr)) VariantInit(copy);
  return hr;
}

// Clears `dest` and moves `copy` (the result of a copy that returned `copied`)
// into it. When the copy failed, dest is left VT_EMPTY.
HRESULT Commit(VARIANT* dest, VARIANT& copy, HRESULT copied) {
  const HRESULT cleared = VariantClear(dest);
  if (FAILED(cleared)) {
    VariantClear(&copy);
    return cleared;
  }
  if (FAILED(copied)) return copied;
  *dest = copy;
  return S_OK;
}

}  // namespace

NVAPI void VariantInit(VARIANTARG* pvarg) {
  if (pvarg != nullptr) std::memset(pvarg, 0, sizeof *pvarg);  // vt = VT_EMPTY
}

NVAPI HRESULT VariantClear(VARIANTARG* pvarg) {
  if (pvarg == nullptr) return E_INVALIDARG;
  if (!nv::IsValidVariantType(pvarg->vt)) return DISP_E_BADVARTYPE;
  const HRESULT hr = ReleaseValue(*pvarg);
  if (FAILED(hr)) return hr;
  VariantInit(pvarg);
  return S_OK;
}

NVAPI HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc) {
  if (pvargDest == nullptr || pvargSrc == nullptr) return E_INVALIDARG;
  if (!nv::IsValidVariantType(pvargSrc->vt)) return DISP_E_BADVARTYPE;
  if (pvargDest == pvargSrc) return S_OK;
  // Copy before clearing: the source may live inside what dest owns.
  VARIANT copy;
  const HRESULT copied = DeepCopy(*pvargSrc, &copy);
  return Commit(pvargDest, copy, copied);
}

NVAPI HRESULT VariantCopyInd(VARIANT* pvarDest, const VARIANTARG* pvargSrc) {
  if (pvarDest == nullptr || pvargSrc == nullptr) return E_INVALIDARG;
  if (!nv::IsValidVariantType(pvargSrc->vt)) return DISP_E_BADVARTYPE;
  if (!(pvargSrc->vt & VT_BYREF)) return VariantCopy(pvarDest, pvargSrc);
  VARIANT referent;
  HRESULT hr = nv::ReadByRef(*pvargSrc, &referent);
  if (FAILED(hr)) return hr;
  if (!nv::IsValidVariantType(referent.vt)) return DISP_E_BADVARTYPE;
  VARIANT copy;
  hr = DeepCopy(referent, &copy);
  return Commit(pvarDest, copy, hr);
}
