// Interface objects: Implements<> gives an implementation its reference count,
// interface table and aggregation; ImplFrom reaches the implementation back.
#pragma once

#include "frame/module_info.h"
#include "frame/com_ptr.h"
#include "frame/forward.h"
#include "frame/interfaces.h"
#include "frame/type_info.h"
#include "nvgen/forwarders.h"

#include <atomic>
#include <type_traits>
#include <utility>

namespace nv {

// Implements<D, Impl, Interfaces...>: gives interface object D, from one line,
// its reference count (shared by all its interfaces), QueryInterface over the
// listed interfaces plus IDispatch and ISupportErrorInfo, aggregation inside
// an outer object, and a share in the module's lock count.
//
//   class CNvVexaFoo final
//       : public nv::Implements<CNvVexaFoo, CNvVexaFooImpl, INvVexaFoo, INvVexaFooCRaw> {};
//
// The first interface is the object's identity. A creatable class also names
// its class identifier (static constexpr const CLSID& kClsid) so that its
// failures carry its ProgID as their source, and lists IProvideClassInfo.

// The ProgID registered for a class identifier, or null.
const OLECHAR* ProgIdOf(REFCLSID clsid) noexcept;

template <>
inline bool InterfaceChainHas<IProvideClassInfo>(REFIID riid) {
  return riid == IID_IProvideClassInfo;
}

template <class D>
struct Forward<IProvideClassInfo, D> : public IProvideClassInfo {
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override {
    return dispatch::GetClassInfo(D::kClsid, info);
  }
};

template <class D, class Impl, class First, class... Rest>
class Implements : public Forward<First, D>,
                   public Forward<Rest, D>...,
                   public Impl,
                   public ISupportErrorInfo {
  static_assert(std::has_virtual_destructor_v<Impl>,
                "the last release deletes through the implementation class");

 public:
  using NvImpl = Impl;
  using NvDefault = First;

  template <class... A>
  explicit Implements(A&&... args) : Impl(std::forward<A>(args)...) {
    module_lock::Add();
  }
  ~Implements() override { module_lock::Remove(); }
  Implements(const Implements&) = delete;
  Implements& operator=(const Implements&) = delete;

  static const OLECHAR* NvProgId() noexcept {
    if constexpr (requires { D::kClsid; })
      return ProgIdOf(D::kClsid);
    else
      return nullptr;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return outer_ ? outer_->QueryInterface(riid, ppv) : InnerQueryInterface(riid, ppv);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return outer_ ? outer_->AddRef() : InnerAddRef(); }
  ULONG STDMETHODCALLTYPE Release() override {
    return outer_ ? outer_->Release() : InnerRelease();
  }
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
    const bool supported =
        IsPublicAndNamed<First>(riid) || (IsPublicAndNamed<Rest>(riid) || ...);
    return supported ? S_OK : S_FALSE;
  }

  // Aggregation: the outer object keeps the inner unknown, which alone counts
  // this object's references and answers its interfaces.
  void NvAggregateInside(IUnknown* outer) noexcept { outer_ = outer; }
  IUnknown* NvInnerUnknown() noexcept { return &inner_; }

 private:
  template <class I>
  static bool IsPublicAndNamed(REFIID riid) {
    return std::is_base_of_v<IDispatch, I> && InterfaceChainHas<I>(riid);
  }

  template <class I>
  bool Offer(REFIID riid, void** ppv) {
    if (!InterfaceChainHas<I>(riid)) return false;
    *ppv = static_cast<I*>(static_cast<Forward<I, D>*>(this));
    return true;
  }

  template <class I>
  bool OfferDispatch(void** ppv) {
    if constexpr (std::is_base_of_v<IDispatch, I>) {
      *ppv = static_cast<IDispatch*>(static_cast<I*>(static_cast<Forward<I, D>*>(this)));
      return true;
    } else {
      return false;
    }
  }

  void* FirstDispatch() {
    void* found = nullptr;
    (void)(OfferDispatch<First>(&found) || (OfferDispatch<Rest>(&found) || ...));
    return found;
  }

  HRESULT InnerQueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown) {
      *ppv = outer_ ? static_cast<IUnknown*>(&inner_)
                    : static_cast<IUnknown*>(static_cast<Forward<First, D>*>(this));
    } else if (riid == IID_IDispatch) {
      *ppv = FirstDispatch();
    } else if (riid == IID_ISupportErrorInfo) {
      *ppv = static_cast<ISupportErrorInfo*>(this);
    } else {
      (void)(Offer<First>(riid, ppv) || (Offer<Rest>(riid, ppv) || ...));
    }
    if (!*ppv) return E_NOINTERFACE;
    static_cast<IUnknown*>(*ppv)->AddRef();
    return S_OK;
  }

  // The count is atomic because a client may release an object on another
  // thread than the one that made it. As in the usual shared pointers, a new
  // reference needs no ordering; the last release must see every write the
  // other holders made before their releases.
  ULONG InnerAddRef() noexcept { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }
  ULONG InnerRelease() {
    const ULONG left = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete static_cast<Impl*>(this);
    return left;
  }

  struct InnerUnknown final : public IUnknown {
    explicit InnerUnknown(Implements* owner) : owner(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
      return owner->InnerQueryInterface(riid, ppv);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return owner->InnerAddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return owner->InnerRelease(); }
    Implements* owner;
  };

  std::atomic<ULONG> refs_{0};
  IUnknown* outer_ = nullptr;
  InnerUnknown inner_{this};
};

// Makes interface object D and answers its first reference.
template <class D, class... A>
ComPtr<typename D::NvDefault> CreateObject(A&&... args) {
  D* object = new D(std::forward<A>(args)...);
  return ComPtr<typename D::NvDefault>(static_cast<typename D::NvDefault*>(object));
}

// Reaching the implementation behind an interface pointer of the library's
// own objects, and an implementation's own interface.
//
// The model's objects keep plain back-pointers (a class's behaviour
// collection to its class, an attribute to its collection) and compare
// objects by identity; both need the implementation object. It is found
// through an internal interface that only the library's object D answers,
// so a foreign object simply yields null.

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
