#include "values/number_parse.h"

#include <charconv>
#include <cstddef>
#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace nv {
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
