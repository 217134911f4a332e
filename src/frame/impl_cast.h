// Reaching the implementation behind an interface pointer of the library's
// own objects, and an implementation's own interface.
//
// The model's objects keep plain back-pointers (a class's behaviour
// collection to its class, an attribute to its collection) and compare
// objects by identity; both need the implementation object. It is found
// through an internal interface that only the library's object D answers,
// so a foreign object simply yields null.
#pragma once

#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

template <class D, class Internal, class I>
typename D::NvImpl* ImplFrom(const ComPtr<I>& object) {
  ComPtr<Internal> raw = object.template try_as<Internal>();
  if (!raw) return nullptr;
  return static_cast<D*>(static_cast<Forward<Internal, D>*>(raw.get()));
}

// The interface I of the interface object whose implementation is `impl`;
// valid once the object is fully constructed.
template <class I, class Impl>
ComPtr<I> SelfAs(Impl* impl) {
  return ComPtr<I>(dynamic_cast<I*>(impl));
}

// Object identity: whether two interface pointers reach the same object.
template <class I, class J>
bool SameObject(const ComPtr<I>& a, const ComPtr<J>& b) {
  return a.template try_as<IUnknown>().get() == b.template try_as<IUnknown>().get();
}

}  // namespace nv
