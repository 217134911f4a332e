// Text to numbers and booleans. The text is read exactly as a decimal
// (sign, digits, point, exponent) so that integer and CY targets round the
// written value, not its binary approximation: "0.00015" is 0.0002 in CY,
// though the nearest double is just below 0.00015.
#include "frame/automation/coerce_internal.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace nv {

namespace {

// value = digits x 10^exponent; digits has no leading or trailing zeros, so
// it is empty exactly when the value is zero.
struct Decimal {
  bool negative = false;
  std::string digits;
  int64_t exponent = 0;
};

constexpr int64_t kExponentCap = 1'000'000'000;  // saturates absurd exponents

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

bool EqualsIgnoreCase(std::u16string_view text, std::string_view word) {
  if (text.size() != word.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    if (c != static_cast<unsigned char>(word[i])) return false;
  }
  return true;
}

// Reads [digits][.digits] with at least one digit in all; answers whether any.
bool ReadMantissa(std::u16string_view text, size_t& i, Decimal& out) {
  bool any = false;
  for (; i < text.size() && IsDigit(text[i]); ++i, any = true)
    if (!out.digits.empty() || text[i] != u'0') out.digits.push_back(static_cast<char>(text[i]));
  if (i < text.size() && text[i] == u'.') {
    for (++i; i < text.size() && IsDigit(text[i]); ++i, any = true) {
      --out.exponent;  // every fraction digit shifts the point, even a leading zero
      if (!out.digits.empty() || text[i] != u'0') out.digits.push_back(static_cast<char>(text[i]));
    }
  }
  return any;
}

bool ReadExponent(std::u16string_view text, size_t& i, Decimal& out) {
  if (i == text.size() || (text[i] != u'e' && text[i] != u'E')) return true;
  ++i;
  const bool negative = i < text.size() && text[i] == u'-';
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) ++i;
  if (i == text.size() || !IsDigit(text[i])) return false;
  int64_t value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i)
    value = std::min(value * 10 + (text[i] - u'0'), kExponentCap);
  out.exponent += negative ? -value : value;
  return true;
}

bool ParseDecimal(std::u16string_view text, Decimal* out) {
  text = TrimBlanks(text);
  Decimal d;
  size_t i = 0;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) d.negative = text[i++] == u'-';
  if (!ReadMantissa(text, i, d) || !ReadExponent(text, i, d) || i != text.size()) return false;
  while (!d.digits.empty() && d.digits.back() == '0') {
    d.digits.pop_back();
    ++d.exponent;
  }
  *out = std::move(d);
  return true;
}

// The value times 10^scale, rounded half to even; false when the magnitude
// reaches 2^64.
bool RoundDecimal(const Decimal& d, int scale, Whole* out) {
  const auto length = static_cast<int64_t>(d.digits.size());
  const int64_t integerDigits = length + d.exponent + scale;
  if (integerDigits > 20) return false;  // at least 10^20
  uint64_t magnitude = 0;
  for (int64_t k = 0; k < integerDigits; ++k) {
    const unsigned digit = k < length ? d.digits[k] - '0' : 0;
    if (magnitude > (UINT64_MAX - digit) / 10) return false;
    magnitude = magnitude * 10 + digit;
  }
  // Below 0.1 (integerDigits < 0) the first dropped digit is 0: round down.
  if (integerDigits >= 0 && integerDigits < length) {
    const char first = d.digits[integerDigits];
    const bool more = integerDigits + 1 < length;  // trailing zeros were stripped
    if (first > '5' || (first == '5' && (more || (magnitude & 1)))) {
      if (magnitude == UINT64_MAX) return false;
      ++magnitude;
    }
  }
  *out = {d.negative && magnitude != 0, magnitude};
  return true;
}

// Nearest float or double; DISP_E_OVERFLOW past its range, 0 below it.
template <class Real>
HRESULT ToReal(const Decimal& d, double* out) {
  const int64_t magnitudeDigits = static_cast<int64_t>(d.digits.size()) + d.exponent;
  Real value = 0;
  if (magnitudeDigits > 400) return DISP_E_OVERFLOW;
  if (!d.digits.empty() && magnitudeDigits > -400) {
    const std::string text = d.digits + "e" + std::to_string(d.exponent);
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
      if (magnitudeDigits > 0) return DISP_E_OVERFLOW;
      value = 0;
    }
  }
  *out = d.negative ? -double{value} : double{value};
  return S_OK;
}

}  // namespace

std::u16string_view TextOf(const VARIANT& text) {
  return {text.bstrVal, SysStringLen(text.bstrVal)};
}

std::u16string_view TrimBlanks(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

HRESULT NumberFromText(std::u16string_view text, VARTYPE target, Number* out) {
  Decimal d;
  if (!ParseDecimal(text, &d)) return DISP_E_TYPEMISMATCH;
  if (target == VT_R4 || target == VT_R8 || target == VT_DATE) {
    double value = 0;
    const HRESULT hr = target == VT_R4 ? ToReal<float>(d, &value) : ToReal<double>(d, &value);
    if (SUCCEEDED(hr)) *out = Number::Real(value);
    return hr;
  }
  Whole whole;
  if (!RoundDecimal(d, target == VT_CY ? 4 : 0, &whole)) return DISP_E_OVERFLOW;
  if (target != VT_CY) {
    *out = Number::FromWhole(whole);
    return S_OK;
  }
  const uint64_t limit = whole.negative ? uint64_t{1} << 63 : INT64_MAX;
  if (whole.magnitude > limit) return DISP_E_OVERFLOW;
  *out = Number::Currency(static_cast<int64_t>(whole.negative ? 0 - whole.magnitude
                                                               : whole.magnitude));
  return S_OK;
}

HRESULT BooleanFromText(std::u16string_view text, VARIANT_BOOL* out) {
  text = TrimBlanks(text);
  if (EqualsIgnoreCase(text, "TRUE") || EqualsIgnoreCase(text, "#TRUE#")) {
    *out = VARIANT_TRUE;
    return S_OK;
  }
  if (EqualsIgnoreCase(text, "FALSE") || EqualsIgnoreCase(text, "#FALSE#")) {
    *out = VARIANT_FALSE;
    return S_OK;
  }
  Decimal d;
  if (!ParseDecimal(text, &d)) return DISP_E_TYPEMISMATCH;
  *out = d.digits.empty() ? VARIANT_FALSE : VARIANT_TRUE;
  return S_OK;
}

}  // namespace nv
