#include "values/number_format.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace nv {
namespace {

// Widens a two-digit exponent ("e+20") to three digits ("e+020").
size_t WidenExponent(char* text, size_t length) noexcept {
  char* e = static_cast<char*>(std::memchr(text, 'e', length));
  if (e == nullptr) return length;
  char* digits = e + 2;  // past "e" and its sign
  const size_t digitCount = static_cast<size_t>(text + length - digits);
  if (digitCount >= 3) return length;
  const size_t pad = 3 - digitCount;
  std::memmove(digits + pad, digits, digitCount);
  std::memset(digits, '0', pad);
  return length + pad;
}

}  // namespace

std::string_view FormatGeneral(double value, NumberBuffer& buffer) noexcept {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  char* const begin = buffer.text;
  // %g with precision 6 needs at most 13 characters ("-1.23457e-308"),
  // leaving room for the widened exponent.
  const auto result =
      std::to_chars(begin, begin + sizeof buffer.text, value, std::chars_format::general, 6);
  const size_t length = WidenExponent(begin, static_cast<size_t>(result.ptr - begin));
  return std::string_view(begin, length);
}

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

}  // namespace nv
