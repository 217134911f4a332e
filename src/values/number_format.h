// Numbers as the instance document writes them: integers in plain decimal,
// reals in the general form of %g with 6 significant digits and an exponent
// of at least three digits (1e+020, 1.23457e-005), as every other producer
// of the format writes them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace nv {

// Large enough for any output of the functions below.
struct NumberBuffer {
  char text[40];
};

// The general form of `value` in `buffer`; "NaN", "INF" or "-INF" for the
// values that have no digits.
std::string_view FormatGeneral(double value, NumberBuffer& buffer) noexcept;

// Signed and unsigned decimal, "-" for negatives.
std::string_view FormatDecimal(int64_t value, NumberBuffer& buffer) noexcept;

// Appends ASCII text to a UTF-16 string, one code unit per character.
inline void AppendAscii(std::u16string& out, std::string_view ascii) {
  const size_t at = out.size();
  out.resize(at + ascii.size());
  for (size_t k = 0; k < ascii.size(); ++k) out[at + k] = static_cast<char16_t>(ascii[k]);
}

inline void AppendGeneral(std::u16string& out, double value) {
  NumberBuffer buffer;
  AppendAscii(out, FormatGeneral(value, buffer));
}

inline void AppendDecimal(std::u16string& out, int64_t value) {
  NumberBuffer buffer;
  AppendAscii(out, FormatDecimal(value, buffer));
}

// A non-negative `value` zero-padded to at least `width` digits (0999).
void AppendZeroPadded(std::u16string& out, int64_t value, size_t width);

}  // namespace nv
