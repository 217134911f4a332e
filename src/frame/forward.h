// Support for the generated forwarders: Forward<I, D> gives interface object D
// the methods of interface I, each calling the implementation operation of
// the same name inside the error frame and storing its result.
#pragma once

#include "frame/bstr.h"
#include "frame/com_ptr.h"
#include "frame/dispatch.h"
#include "frame/exception.h"
#include "frame/variant.h"

#include <concepts>
#include <type_traits>

namespace nv {

template <class I, class D>
struct Forward;

// Whether riid names I or one of its base interfaces.
template <class I>
bool InterfaceChainHas(REFIID riid);

namespace frame {

template <class D, class F>
typename D::NvImpl& ImplOf(F* self) {
  return static_cast<typename D::NvImpl&>(*static_cast<D*>(self));
}

template <class D, class Body>
HRESULT Run(Body&& body) noexcept {
  return RunFramed(D::NvProgId(), std::forward<Body>(body));
}

// The answer to a client's null out-pointer.
template <class D>
HRESULT NullOutPointer(const char16_t* parameter, const char16_t* method) noexcept {
  return ReportNullOutPointer(parameter, method, D::NvProgId());
}

// For internal interfaces whose callers inside the library want the
// implementation's exception itself.
template <class D, class Body>
HRESULT RunUnframed(Body&& body) {
  body();
  return S_OK;
}

template <class T>
  requires std::convertible_to<T, Bstr>
void StoreBstr(BSTR* out, T&& value) {
  *out = Bstr(std::forward<T>(value)).Copy();
}

inline void StoreVariant(VARIANT* out, Variant value) { *out = value.Detach(); }

template <class T>
  requires std::same_as<std::remove_cvref_t<T>, bool>
void StoreBool(VARIANT_BOOL* out, T value) {
  *out = value ? VARIANT_TRUE : VARIANT_FALSE;
}

template <class T, class V>
  requires std::same_as<std::remove_cvref_t<V>, T>
void StoreValue(T* out, V value) {
  *out = value;
}

// Stores the object's interface I; leaves `out` untouched when there is no object.
template <class I, class J>
void StoreObject(I** out, const ComPtr<J>& object) {
  if (!object) return;
  ComPtr<I> wanted = object.template as<I>();
  *out = wanted.detach();
}

}  // namespace frame
}  // namespace nv

// The IDispatch members of a dual interface, answered from its dispatch table.
#define NV_FORWARD_DISPATCH(I)                                                           \
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {                     \
    return ::nv::dispatch::GetTypeInfoCount(count);                                      \
  }                                                                                      \
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {   \
    return ::nv::dispatch::GetTypeInfo(::nv::dispatch::kTable_##I, index, info);         \
  }                                                                                      \
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, \
                                          DISPID* ids) override {                        \
    return ::nv::dispatch::GetIDsOfNames(::nv::dispatch::kTable_##I, riid, names, count, \
                                         ids);                                           \
  }                                                                                      \
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags,             \
                                   DISPPARAMS* params, VARIANT* result,                  \
                                   EXCEPINFO* excepInfo, UINT* argErr) override {        \
    return ::nv::dispatch::Invoke(::nv::dispatch::kTable_##I, this, id, riid, flags,     \
                                  params, result, excepInfo, argErr);                    \
  }
