// Scalars to text, as the Windows coercion writes them under the invariant
// locale. Formatting goes through std::to_chars, which ignores the process
// locale: a host that calls setlocale must not turn "1.5" into "1,5".
#include "frame/automation/coerce_internal.h"

#include <charconv>
#include <cmath>
#include <string>

namespace nv {

namespace {

std::u16string Widen(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

std::string WholeText(Whole value) {
  char buffer[24];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value.magnitude).ptr;
  return (value.negative ? "-" : "") + std::string(buffer, end);
}

// printf's "%.*G": significant digits, and an exponent of at least two
// digits ("1E+20", "1E-05") when the exponent is below -4 or not below the
// precision. Non-finite values give "INF", "-INF" and "NAN"; minus zero is "0".
std::string RealText(double value, int precision) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  char buffer[40];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision)
          .ptr;
  std::string text(buffer, end);
  for (char& c : text)
    if (c == 'e') c = 'E';
  return text;
}

// Up to four decimals, trailing zeros dropped: 12.5, -0.0001, 7.
std::string CurrencyText(int64_t scaled) {
  const bool negative = scaled < 0;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(scaled) : scaled;
  // The sign is written even when the whole part is 0 ("-0.5").
  std::string text = WholeText({negative, magnitude / 10000});
  const uint64_t fraction = magnitude % 10000;
  if (fraction == 0) return text;
  std::string digits = std::to_string(fraction + 10000).substr(1);  // zero-padded to 4
  digits.erase(digits.find_last_not_of('0') + 1);
  return text + "." + digits;
}

std::string BooleanText(VARIANT_BOOL value, USHORT flags) {
  if (flags & (VARIANT_ALPHABOOL | VARIANT_LOCALBOOL)) return value ? "True" : "False";
  return value ? "-1" : "0";
}

std::string ScalarText(const VARIANT& scalar, USHORT flags) {
  switch (scalar.vt) {
    case VT_R4: return RealText(scalar.fltVal, 7);
    case VT_R8: return RealText(scalar.dblVal, 15);
    case VT_CY: return CurrencyText(scalar.cyVal.int64);
    case VT_BOOL: return BooleanText(scalar.boolVal, flags);
    default: return WholeText(NumberOf(scalar).whole);  // the integer types
  }
}

}  // namespace

HRESULT StoreText(std::u16string_view text, VARIANT* out) {
  BSTR value = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (value == nullptr) return E_OUTOFMEMORY;
  out->bstrVal = value;
  out->vt = VT_BSTR;
  return S_OK;
}

HRESULT TextOfScalar(const VARIANT& scalar, USHORT flags, VARIANT* out) {
  if (scalar.vt == VT_DATE) return DateToText(scalar.date, out);
  return StoreText(Widen(ScalarText(scalar, flags)), out);
}

}  // namespace nv
