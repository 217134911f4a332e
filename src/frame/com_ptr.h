// ComPtr<I>: a counted interface reference in the manner of com_ptr. Beside
// the raw interface (operator->), it offers the interface's members as
// throwing calls (Calls<I>, generated from the interface description): a
// failed result becomes a thrown ComError that keeps the callee's message.
#pragma once

#include "frame/automation/automation_api.h"
#include "frame/exception.h"

#include <type_traits>
#include <utility>

namespace nv {

// The interface identifier of I; specialised for every interface.
template <class I>
const IID& IidOf();
template <>
inline const IID& IidOf<IUnknown>() { return IID_IUnknown; }
template <>
inline const IID& IidOf<IDispatch>() { return IID_IDispatch; }
template <>
inline const IID& IidOf<IErrorInfo>() { return IID_IErrorInfo; }
template <>
inline const IID& IidOf<ICreateErrorInfo>() { return IID_ICreateErrorInfo; }
template <>
inline const IID& IidOf<ISupportErrorInfo>() { return IID_ISupportErrorInfo; }
template <>
inline const IID& IidOf<IClassFactory>() { return IID_IClassFactory; }
template <>
inline const IID& IidOf<IProvideClassInfo>() { return IID_IProvideClassInfo; }

// Throwing member calls of interface I for the pointer type P; the generated
// header specialises it per interface.
template <class I, class P>
struct Calls {};

template <class I>
class ComPtr : public Calls<I, ComPtr<I>> {
 public:
  ComPtr() noexcept = default;
  ComPtr(std::nullptr_t) noexcept {}  // NOLINT
  // Takes a new reference on `p`.
  explicit ComPtr(I* p) noexcept : p_(p) {
    if (p_) p_->AddRef();
  }
  ComPtr(const ComPtr& other) noexcept : ComPtr(other.p_) {}
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  template <class J>
    requires std::is_convertible_v<J*, I*>
  ComPtr(const ComPtr<J>& other) noexcept : ComPtr(static_cast<I*>(other.get())) {}  // NOLINT
  ComPtr& operator=(const ComPtr& other) noexcept {
    ComPtr(other).swap(*this);
    return *this;
  }
  ComPtr& operator=(ComPtr&& other) noexcept {
    ComPtr(std::move(other)).swap(*this);
    return *this;
  }
  ~ComPtr() { reset(); }

  // Adopts a reference the caller already owns.
  static ComPtr attach(I* p) noexcept {
    ComPtr r;
    r.p_ = p;
    return r;
  }
  I* detach() noexcept { return std::exchange(p_, nullptr); }
  void reset() noexcept {
    if (I* p = std::exchange(p_, nullptr)) p->Release();
  }
  void swap(ComPtr& other) noexcept { std::swap(p_, other.p_); }

  I* get() const noexcept { return p_; }
  // The pointer for a call. An empty reference is an object the caller did
  // not pass, a failure like any other (not a null out-pointer).
  I* checked() const {
    if (!p_) throw ENvException("A required object is missing");
    return p_;
  }
  I* operator->() const { return checked(); }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  // Releases the current reference and answers the slot for an out parameter.
  I** put() noexcept {
    reset();
    return &p_;
  }

  // QueryInterface for J; an empty result when the object lacks it.
  template <class J>
  ComPtr<J> try_as() const noexcept {
    ComPtr<J> r;
    if (p_) p_->QueryInterface(IidOf<J>(), reinterpret_cast<void**>(r.put()));
    return r;
  }
  // QueryInterface for J; throws when the reference is empty or the object lacks J.
  template <class J>
  ComPtr<J> as() const {
    ComPtr<J> r;
    Check(checked()->QueryInterface(IidOf<J>(), reinterpret_cast<void**>(r.put())));
    return r;
  }

  friend bool operator==(const ComPtr& a, const ComPtr& b) noexcept { return a.p_ == b.p_; }
  friend bool operator==(const ComPtr& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }

 private:
  I* p_ = nullptr;
};

// ComPtr<J> named so that it depends on P: the generated calls return it,
// and it must be completed only when a call is made, after every Calls<J>
// specialisation has been seen.
template <class P, class J>
using DependentComPtr = std::conditional_t<sizeof(P*) != 0, ComPtr<J>, void>;

}  // namespace nv
