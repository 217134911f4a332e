// Ownership-aware reads, writes and releases of SAFEARRAY elements.
#include "frame/automation/safearray_internal.h"

#include <cstring>

namespace nv {

namespace {

BSTR CopyString(BSTR text) {
  return SysAllocStringByteLen(reinterpret_cast<LPCSTR>(text), SysStringByteLen(text));
}

void Release(void* element, ElementKind kind) {
  switch (kind) {
    case ElementKind::kString:
      SysFreeString(*static_cast<BSTR*>(element));
      break;
    case ElementKind::kInterface:
      if (auto* object = *static_cast<IUnknown**>(element)) object->Release();
      break;
    case ElementKind::kVariant:
      VariantClear(static_cast<VARIANT*>(element));
      break;
    case ElementKind::kPlain:
      break;
  }
}

}  // namespace

ElementKind ElementKindOf(const SAFEARRAY& array) noexcept {
  if (array.fFeatures & FADF_BSTR) return ElementKind::kString;
  if (array.fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) return ElementKind::kInterface;
  if (array.fFeatures & FADF_VARIANT) return ElementKind::kVariant;
  return ElementKind::kPlain;
}

void* ElementAt(const SAFEARRAY& array, ULONG offset) noexcept {
  return static_cast<char*>(array.pvData) + size_t{offset} * array.cbElements;
}

void ReleaseElements(SAFEARRAY& array, ULONG first, ULONG count) noexcept {
  const ElementKind kind = ElementKindOf(array);
  if (kind != ElementKind::kPlain)
    for (ULONG i = 0; i < count; ++i) Release(ElementAt(array, first + i), kind);
  std::memset(ElementAt(array, first), 0, size_t{count} * array.cbElements);
}

HRESULT CopyElementOut(ElementKind kind, const void* element, void* out, ULONG size) noexcept {
  switch (kind) {
    case ElementKind::kString: {
      BSTR text = *static_cast<const BSTR*>(element);
      BSTR copy = text == nullptr ? nullptr : CopyString(text);
      if (text != nullptr && copy == nullptr) return E_OUTOFMEMORY;
      *static_cast<BSTR*>(out) = copy;
      return S_OK;
    }
    case ElementKind::kInterface: {
      IUnknown* object = *static_cast<IUnknown* const*>(element);
      if (object != nullptr) object->AddRef();
      *static_cast<IUnknown**>(out) = object;
      return S_OK;
    }
    case ElementKind::kVariant:
      VariantInit(static_cast<VARIANT*>(out));
      return VariantCopy(static_cast<VARIANT*>(out), static_cast<const VARIANT*>(element));
    case ElementKind::kPlain:
      std::memcpy(out, element, size);
      return S_OK;
  }
  return E_UNEXPECTED;
}

HRESULT StoreElement(ElementKind kind, void* element, void* value, ULONG size) noexcept {
  switch (kind) {
    case ElementKind::kString: {
      BSTR text = static_cast<BSTR>(value);
      BSTR copy = text == nullptr ? nullptr : CopyString(text);
      if (text != nullptr && copy == nullptr) return E_OUTOFMEMORY;
      Release(element, kind);
      *static_cast<BSTR*>(element) = copy;
      return S_OK;
    }
    case ElementKind::kInterface: {
      auto* object = static_cast<IUnknown*>(value);
      if (object != nullptr) object->AddRef();  // before releasing: it may be the same object
      Release(element, kind);
      *static_cast<IUnknown**>(element) = object;
      return S_OK;
    }
    case ElementKind::kVariant: {
      VARIANT copy;
      VariantInit(&copy);
      const HRESULT hr = VariantCopy(&copy, static_cast<const VARIANT*>(value));
      if (FAILED(hr)) return hr;
      Release(element, kind);
      *static_cast<VARIANT*>(element) = copy;
      return S_OK;
    }
    case ElementKind::kPlain:
      std::memcpy(element, value, size);
      return S_OK;
  }
  return E_UNEXPECTED;
}

}  // namespace nv
