// Argument types of the generated call wrappers. Each accepts exactly what
// can cross the interface safely: a BstrArg always holds a real BSTR (text
// without a length prefix is copied into one), an ExactBool only a bool.
#pragma once

#include "frame/automation/automation_api.h"
#include "frame/bstr.h"
#include "frame/com_ptr.h"
#include "frame/variant.h"

#include <concepts>
#include <string_view>
#include <type_traits>

namespace nv {

class BstrArg {
 public:
  BstrArg(const Bstr& text) noexcept : owned_(text), raw_(text.Raw()) {}  // NOLINT
  BstrArg(std::u16string_view text) : owned_(text), raw_(owned_.Raw()) {}  // NOLINT
  BstrArg(const OLECHAR* text) : owned_(text), raw_(owned_.Raw()) {}  // NOLINT
  BstrArg(const BstrArg& other) : owned_(other.owned_), raw_(other.raw_) {}
  BstrArg& operator=(const BstrArg&) = delete;
  // Borrows a BSTR that outlives this argument.
  static BstrArg Borrow(BSTR raw) noexcept { return BstrArg(raw, 0); }

  BSTR Raw() const noexcept { return raw_; }
  std::u16string_view View() const noexcept {
    return raw_ ? std::u16string_view(raw_, SysStringLen(raw_)) : std::u16string_view();
  }
  bool Empty() const noexcept { return View().empty(); }
  operator std::u16string_view() const noexcept { return View(); }  // NOLINT
  operator Bstr() const { return owned_.Raw() == raw_ ? owned_ : Bstr::FromBstr(raw_); }  // NOLINT
  Bstr ToBstr() const { return *this; }

 private:
  BstrArg(BSTR raw, int) noexcept : raw_(raw) {}
  Bstr owned_;
  BSTR raw_ = nullptr;
};

class ExactBool {
 public:
  template <class T>
    requires std::same_as<T, bool>
  ExactBool(T value) noexcept : value_(value) {}  // NOLINT
  VARIANT_BOOL Raw() const noexcept { return value_ ? VARIANT_TRUE : VARIANT_FALSE; }

 private:
  bool value_;
};

// An interface argument: a raw pointer or any ComPtr whose interface derives from I.
template <class I>
class InArg {
 public:
  InArg(I* p) noexcept : p_(p) {}  // NOLINT
  InArg(std::nullptr_t) noexcept : p_(nullptr) {}  // NOLINT
  template <class J>
    requires std::is_convertible_v<J*, I*>
  InArg(const ComPtr<J>& p) noexcept : p_(p.get()) {}  // NOLINT
  I* get() const noexcept { return p_; }

 private:
  I* p_;
};

}  // namespace nv
