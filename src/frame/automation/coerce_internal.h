// The pieces of VariantChangeType: a numeric source is lifted into a Number,
// which is then fitted to the target type; text is parsed into a Number, a
// boolean or a DATE, and scalars are formatted into text. Every function
// writes *out only on success.
#pragma once

#include "frame/automation/automation_api.h"

#include <cstdint>
#include <string_view>

namespace nv {

// An integer as sign and magnitude: one form for every integer variant type
// and for rounded text, which may exceed both int64_t and uint64_t ranges.
struct Whole {
  bool negative = false;  // never set for zero
  uint64_t magnitude = 0;
};

// A numeric value before it is fitted to a target type.
struct Number {
  enum class Kind { kWhole, kReal, kCurrency };
  Kind kind = Kind::kWhole;
  Whole whole;
  double real = 0;
  int64_t currency = 0;  // the value times 10000, as in CY

  static Number Signed(int64_t value);
  static Number Unsigned(uint64_t value);
  static Number Real(double value);
  static Number Currency(int64_t scaled);
  static Number FromWhole(Whole value);
};

// The chain: source variant -> converted value in `out`.
HRESULT Coerce(const VARIANT& source, LCID lcid, USHORT flags, VARTYPE target, VARIANT* out);

// Sources and targets of VariantChangeType (plain types only).
bool IsCoercibleType(VARTYPE vt);
bool IsIntegerType(VARTYPE vt);

// coerce_number.cpp: integer, real, CY, DATE and BOOL scalars.
Number NumberOf(const VARIANT& scalar);
// Targets: the integer types, VT_R4, VT_R8, VT_CY, VT_DATE and VT_BOOL.
// Out of range gives DISP_E_OVERFLOW; reals round half to even.
HRESULT StoreNumber(const Number& value, VARTYPE target, VARIANT* out);
// A VARIANT_BOOL into an unsigned integer keeps its bits (true is all ones,
// as Windows gives 255 for VT_UI1); other targets take it as -1 / 0.
HRESULT StoreBoolean(VARIANT_BOOL value, VARTYPE target, VARIANT* out);

// coerce_text.cpp: scalars to text.
HRESULT StoreText(std::u16string_view text, VARIANT* out);
HRESULT TextOfScalar(const VARIANT& scalar, USHORT flags, VARIANT* out);

// coerce_parse.cpp: text to numbers and booleans.
std::u16string_view TextOf(const VARIANT& text);
std::u16string_view TrimBlanks(std::u16string_view text);
// `target` picks the rounding: half to even to an integer, to 4 decimals for
// VT_CY, to nearest for the reals.
HRESULT NumberFromText(std::u16string_view text, VARTYPE target, Number* out);
HRESULT BooleanFromText(std::u16string_view text, VARIANT_BOOL* out);

// coerce_date_text.cpp.
HRESULT DateToText(DATE value, VARIANT* out);
HRESULT DateFromText(std::u16string_view text, DATE* out);

// coerce_object.cpp: VT_DISPATCH and VT_UNKNOWN sources.
HRESULT CoerceDispatch(IDispatch* object, LCID lcid, USHORT flags, VARTYPE target, VARIANT* out);
HRESULT CoerceUnknown(IUnknown* object, VARTYPE target, VARIANT* out);

}  // namespace nv
