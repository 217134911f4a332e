// Variant: an owning VARIANT in the manner of _variant_t. Construction from
// a C++ value picks the variant type by exact type (a string literal never
// becomes a boolean); failures of the runtime throw ComError.
#pragma once

#include "frame/automation/automation_api.h"
#include "frame/bstr.h"

#include <concepts>
#include <cstdint>
#include <string_view>

namespace nv {

class Variant : public VARIANT {
 public:
  Variant() noexcept { VariantInit(this); }
  Variant(const VARIANT& other);  // NOLINT: deep copy
  Variant(const Variant& other) : Variant(static_cast<const VARIANT&>(other)) {}
  Variant(Variant&& other) noexcept;
  Variant& operator=(const Variant& other);
  Variant& operator=(Variant&& other) noexcept;
  ~Variant() {
    if (vt != VT_EMPTY) VariantClear(this);
  }

  // Exact-type constructors; the template guards keep char* and friends from
  // silently turning into booleans or integers.
  template <class T>
    requires std::same_as<T, bool>
  explicit Variant(T value) noexcept {
    VariantInit(this);
    vt = VT_BOOL;
    boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  }
  explicit Variant(int8_t v) noexcept : Variant() { vt = VT_I1, cVal = static_cast<CHAR>(v); }
  explicit Variant(uint8_t v) noexcept : Variant() { vt = VT_UI1, bVal = v; }
  explicit Variant(int16_t v) noexcept : Variant() { vt = VT_I2, iVal = v; }
  explicit Variant(uint16_t v) noexcept : Variant() { vt = VT_UI2, uiVal = v; }
  explicit Variant(int32_t v) noexcept : Variant() { vt = VT_I4, lVal = v; }
  explicit Variant(uint32_t v) noexcept : Variant() { vt = VT_UI4, ulVal = v; }
  explicit Variant(int64_t v) noexcept : Variant() { vt = VT_I8, llVal = v; }
  explicit Variant(uint64_t v) noexcept : Variant() { vt = VT_UI8, ullVal = v; }
  explicit Variant(float v) noexcept : Variant() { vt = VT_R4, fltVal = v; }
  explicit Variant(double v) noexcept : Variant() { vt = VT_R8, dblVal = v; }
  explicit Variant(const Bstr& text);
  explicit Variant(std::u16string_view text) : Variant(Bstr(text)) {}
  explicit Variant(const OLECHAR* text) : Variant(Bstr(text)) {}
  // Holds a counted reference (AddRef'd here).
  explicit Variant(IDispatch* object) noexcept;
  explicit Variant(IUnknown* object) noexcept;

  static Variant Null() noexcept;
  static Variant Date(DATE value) noexcept;
  static Variant Error(SCODE code) noexcept;
  // Takes over `owned` and leaves it VT_EMPTY.
  static Variant Attach(VARIANT& owned) noexcept;

  VARTYPE Type() const noexcept { return vt; }
  bool IsEmpty() const noexcept { return vt == VT_EMPTY; }
  bool IsNull() const noexcept { return vt == VT_NULL; }

  // Clears and answers the address for a callee to fill.
  VARIANT* Receive() noexcept;
  // Moves the value out into a plain VARIANT that the caller then owns.
  VARIANT Detach() noexcept;
  void Clear() noexcept { VariantClear(this); }

  // VariantChangeType under the invariant rules; throws ComError on failure.
  Variant ChangedTo(VARTYPE type, USHORT flags = 0) const;
  Bstr ToBstr() const;
  int32_t ToLong() const;
  double ToDouble() const;
  bool ToBool() const;
};

}  // namespace nv
