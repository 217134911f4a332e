#include "frame/variant.h"

#include "frame/exception.h"

#include <cstring>

namespace nv {

Variant::Variant(const VARIANT& other) {
  VariantInit(this);
  Check(VariantCopy(this, &other));
}

Variant::Variant(Variant&& other) noexcept {
  std::memcpy(static_cast<VARIANT*>(this), static_cast<VARIANT*>(&other), sizeof(VARIANT));
  VariantInit(&other);
}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) Check(VariantCopy(this, &other));
  return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
  if (this != &other) {
    if (vt != VT_EMPTY) VariantClear(this);
    std::memcpy(static_cast<VARIANT*>(this), static_cast<VARIANT*>(&other), sizeof(VARIANT));
    VariantInit(&other);
  }
  return *this;
}

Variant::Variant(const Bstr& text) : Variant() {
  bstrVal = text.Copy();
  if (bstrVal == nullptr) bstrVal = SysAllocStringLen(nullptr, 0);
  if (bstrVal == nullptr) throw ComError(E_OUTOFMEMORY);
  vt = VT_BSTR;
}

Variant::Variant(IDispatch* object) noexcept : Variant() {
  vt = VT_DISPATCH;
  pdispVal = object;
  if (object) object->AddRef();
}

Variant::Variant(IUnknown* object) noexcept : Variant() {
  vt = VT_UNKNOWN;
  punkVal = object;
  if (object) object->AddRef();
}

Variant Variant::Null() noexcept {
  Variant v;
  v.vt = VT_NULL;
  return v;
}

Variant Variant::Date(DATE value) noexcept {
  Variant v;
  v.vt = VT_DATE;
  v.date = value;
  return v;
}

Variant Variant::Error(SCODE code) noexcept {
  Variant v;
  v.vt = VT_ERROR;
  v.scode = code;
  return v;
}

Variant Variant::Attach(VARIANT& owned) noexcept {
  Variant v;
  std::memcpy(static_cast<VARIANT*>(&v), &owned, sizeof(VARIANT));
  VariantInit(&owned);
  return v;
}

VARIANT* Variant::Receive() noexcept {
  VariantClear(this);
  return this;
}

VARIANT Variant::Detach() noexcept {
  VARIANT out;
  std::memcpy(&out, static_cast<VARIANT*>(this), sizeof(VARIANT));
  VariantInit(this);
  return out;
}

Variant Variant::ChangedTo(VARTYPE type, USHORT flags) const {
  Variant out;
  Check(VariantChangeTypeEx(&out, this, LOCALE_INVARIANT, flags, type));
  return out;
}

Bstr Variant::ToBstr() const {
  if (vt == VT_BSTR) return Bstr::FromBstr(bstrVal);
  Variant text = ChangedTo(VT_BSTR);
  return Bstr::FromBstr(text.bstrVal);
}

int32_t Variant::ToLong() const { return vt == VT_I4 ? lVal : ChangedTo(VT_I4).lVal; }

double Variant::ToDouble() const { return vt == VT_R8 ? dblVal : ChangedTo(VT_R8).dblVal; }

bool Variant::ToBool() const {
  return (vt == VT_BOOL ? boolVal : ChangedTo(VT_BOOL).boolVal) != VARIANT_FALSE;
}

}  // namespace nv
