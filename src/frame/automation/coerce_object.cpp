// Coercion of VT_DISPATCH and VT_UNKNOWN sources. An object converts to the
// other interface type through QueryInterface; a dispatch object converts to
// a scalar through its value property (DISPID_VALUE).
#include "frame/automation/coerce_internal.h"

namespace nv {

namespace {

// A null object converts to a null pointer of the other type.
HRESULT QueryInto(IUnknown* object, REFIID iid, VARTYPE target, VARIANT* out) {
  void* result = nullptr;
  if (object != nullptr) {
    const HRESULT hr = object->QueryInterface(iid, &result);
    if (hr == E_NOINTERFACE) return DISP_E_TYPEMISMATCH;
    if (FAILED(hr)) return hr;
  }
  if (target == VT_DISPATCH)
    out->pdispVal = static_cast<IDispatch*>(result);
  else
    out->punkVal = static_cast<IUnknown*>(result);
  out->vt = target;
  return S_OK;
}

}  // namespace

HRESULT CoerceDispatch(IDispatch* object, LCID lcid, USHORT flags, VARTYPE target,
                       VARIANT* out) {
  if (target == VT_UNKNOWN) return QueryInto(object, IID_IUnknown, target, out);
  if (target == VT_NULL || object == nullptr || (flags & VARIANT_NOVALUEPROP))
    return DISP_E_TYPEMISMATCH;
  VARIANT value;
  VariantInit(&value);
  DISPPARAMS noArguments{nullptr, nullptr, 0, 0};
  HRESULT hr = object->Invoke(DISPID_VALUE, IID_NULL, lcid, DISPATCH_PROPERTYGET, &noArguments,
                              &value, nullptr, nullptr);
  if (FAILED(hr)) {
    VariantClear(&value);
    return DISP_E_TYPEMISMATCH;
  }
  // A value that is itself an object is not asked for its value in turn.
  hr = Coerce(value, lcid, flags | VARIANT_NOVALUEPROP, target, out);
  VariantClear(&value);
  return hr;
}

HRESULT CoerceUnknown(IUnknown* object, VARTYPE target, VARIANT* out) {
  if (target == VT_DISPATCH) return QueryInto(object, IID_IDispatch, target, out);
  return DISP_E_TYPEMISMATCH;
}

}  // namespace nv
