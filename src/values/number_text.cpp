#include "values/number_text.h"

#include <locale.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <limits>
#include <string>

namespace nv {
namespace {

// A real as its significand digits and decimal exponent: 1234.567 is
// digits "1234567" with exponent 3 and exponent text "e+03", the form that
// std::to_chars writes.
struct DecimalForm {
  char text[32] = {};  // the scientific text that the fields below describe
  size_t length = 0;
  bool negative = false;
  char digits[std::numeric_limits<double>::max_digits10] = {};
  size_t count = 0;
  int exponent = 0;
  size_t exponentAt = 0;

  std::string_view Text() const noexcept { return {text, length}; }
  std::string_view Digits() const noexcept { return {digits, count}; }
  std::string_view ExponentText() const noexcept { return Text().substr(exponentAt); }
};

// The shortest round-trip digits, or `precision` digits after the first.
template <class Real>
DecimalForm Decompose(Real value, int precision = -1) noexcept {
  DecimalForm form;
  char* const end = form.text + sizeof form.text;
  constexpr auto kScientific = std::chars_format::scientific;
  form.length = static_cast<size_t>(
      (precision < 0 ? std::to_chars(form.text, end, value, kScientific)
                     : std::to_chars(form.text, end, value, kScientific, precision))
          .ptr -
      form.text);
  const std::string_view text = form.Text();
  form.negative = text[0] == '-';
  form.exponentAt = text.find('e');
  for (char c : text.substr(0, form.exponentAt)) {
    if (c >= '0' && c <= '9') form.digits[form.count++] = c;
  }
  while (form.count > 1 && form.digits[form.count - 1] == '0') --form.count;
  const char* exponentDigits = form.text + form.exponentAt + 1;
  if (*exponentDigits == '+') ++exponentDigits;  // from_chars takes "-" only
  std::from_chars(exponentDigits, form.text + form.length, form.exponent);
  return form;
}

bool ReadsBackAs(const DecimalForm& form, float value) noexcept {
  double read = 0;
  std::from_chars(form.text, form.text + form.length, read);
  return static_cast<float>(read) == value;
}

DecimalForm ShortestOf(double value) noexcept { return Decompose(value); }

// Readers take every real as a double. A float's shortest text that lies
// almost exactly halfway between two floats can then round twice, the
// second time to the wrong float (7.038531e-26 is one): such a float takes
// more digits. Nine always read back.
DecimalForm ShortestOf(float value) noexcept {
  DecimalForm form = Decompose(value);
  for (int precision = static_cast<int>(form.count);
       !ReadsBackAs(form, value) && precision < std::numeric_limits<float>::max_digits10;
       ++precision) {
    form = Decompose(value, precision);
  }
  return form;
}

// 1234.567, 0.0001, 1234567 (or 1234567.0 with `pointAlways`).
void AppendFixed(std::u16string& out, const DecimalForm& form, bool pointAlways) {
  if (form.negative) out += u'-';
  const std::string_view digits = form.Digits();
  if (form.exponent < 0) {
    out += u"0.";
    out.append(static_cast<size_t>(-form.exponent - 1), u'0');
    AppendAscii(out, digits);
    return;
  }
  const size_t whole = static_cast<size_t>(form.exponent) + 1;
  if (digits.size() > whole) {
    AppendAscii(out, digits.substr(0, whole));
    out += u'.';
    AppendAscii(out, digits.substr(whole));
    return;
  }
  AppendAscii(out, digits);
  out.append(whole - digits.size(), u'0');
  if (pointAlways) out += u".0";
}

// 1.0e+20, 1.2345e-05.
void AppendScientific(std::u16string& out, const DecimalForm& form) {
  if (form.negative) out += u'-';
  const std::string_view digits = form.Digits();
  out += static_cast<char16_t>(digits[0]);
  out += u'.';
  if (digits.size() > 1) {
    AppendAscii(out, digits.substr(1));
  } else {
    out += u'0';
  }
  AppendAscii(out, form.ExponentText());
}

template <class Real>
void AppendRealOf(std::u16string& out, Real value) {
  if (std::isnan(value)) {
    out += u"NaN";
    return;
  }
  if (std::isinf(value)) {
    out += value < 0 ? u"-INF" : u"INF";
    return;
  }
  const DecimalForm form = ShortestOf(value);
  constexpr int kLongest = std::numeric_limits<Real>::max_digits10;
  if (form.exponent < -4 || form.exponent >= kLongest) {
    AppendScientific(out, form);
  } else {
    AppendFixed(out, form, true);
  }
}

}  // namespace

std::string_view FormatDecimal(int64_t value, NumberBuffer& buffer) noexcept {
  char* const begin = buffer.text;
  const auto result = std::to_chars(begin, begin + sizeof buffer.text, value);
  return std::string_view(begin, static_cast<size_t>(result.ptr - begin));
}

void AppendZeroPadded(std::u16string& out, int64_t value, size_t width) {
  NumberBuffer buffer;
  const std::string_view digits = FormatDecimal(value, buffer);
  if (digits.size() < width) out.append(width - digits.size(), u'0');
  AppendAscii(out, digits);
}

void AppendReal(std::u16string& out, double value) { AppendRealOf(out, value); }

void AppendReal(std::u16string& out, float value) { AppendRealOf(out, value); }

void AppendPlainReal(std::u16string& out, double value) {
  if (!std::isfinite(value)) {
    AppendReal(out, value);
    return;
  }
  AppendFixed(out, Decompose(value), false);
}

namespace {

bool IsCSpace(char16_t c) noexcept { return c == u' ' || (c >= u'\t' && c <= u'\r'); }
bool IsDigit(char16_t c) noexcept { return c >= u'0' && c <= u'9'; }

// Skips blanks and an optional sign; answers whether the sign was "-".
bool TakeSign(std::u16string_view text, size_t& at) noexcept {
  while (at < text.size() && IsCSpace(text[at])) ++at;
  if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) return text[at++] == u'-';
  return false;
}

size_t SkipDigits(std::u16string_view text, size_t at) noexcept {
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at;
}

// The end of the unsigned real starting at `at`, or `at` when there is none.
size_t RealEnd(std::u16string_view text, size_t at) noexcept {
  const size_t intEnd = SkipDigits(text, at);
  size_t end = intEnd;
  bool digits = intEnd > at;
  if (end < text.size() && text[end] == u'.') {
    const size_t fracEnd = SkipDigits(text, end + 1);
    digits = digits || fracEnd > end + 1;
    end = fracEnd;
  }
  if (!digits) return at;
  if (end < text.size() && (text[end] == u'e' || text[end] == u'E')) {
    size_t exp = end + 1;
    if (exp < text.size() && (text[exp] == u'+' || text[exp] == u'-')) ++exp;
    const size_t expEnd = SkipDigits(text, exp);
    if (expEnd > exp) end = expEnd;  // an exponent needs digits to count
  }
  return end;
}

// The rare out-of-range case: strtod in the C locale gives the C result.
double CRangeResult(const std::string& number) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return strtod_l(number.c_str(), nullptr, cLocale);
}

}  // namespace

int64_t ParseLeadingInteger(std::u16string_view text) noexcept {
  size_t at = 0;
  const bool negative = TakeSign(text, at);
  uint64_t magnitude = 0;  // wraps: only the low bits are wanted
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    magnitude = magnitude * 10u + static_cast<uint64_t>(text[at] - u'0');
  }
  return static_cast<int64_t>(negative ? 0u - magnitude : magnitude);
}

double ParseLeadingReal(std::u16string_view text) {
  size_t at = 0;
  const bool negative = TakeSign(text, at);
  const size_t end = RealEnd(text, at);
  if (end == at) return 0.0;
  std::string narrow(text.begin() + static_cast<std::ptrdiff_t>(at),
                     text.begin() + static_cast<std::ptrdiff_t>(end));
  double value = 0.0;
  const auto result = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
  if (result.ec == std::errc::result_out_of_range) value = CRangeResult(narrow);
  return negative ? -value : value;
}

}  // namespace nv
