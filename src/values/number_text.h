// Numbers as text: written the way the instance document writes them, read the
// way the C library's atoi and strtod read them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace nv {

// Numbers as the instance document writes them. Integers are plain decimal.
// Reals keep their precision: the fewest significant digits that read back
// to the same value of the value's own type (a float's digits read back to
// the same float), never cut short. The mantissa always carries a decimal
// point (1234567.0, 0.0001, 1.0e+20, 1.0e-05) because readers take only
// texts with a "." as real numbers.

// Large enough for any output of FormatDecimal.
struct NumberBuffer {
  char text[24];
};

// Signed decimal, "-" for negatives.
std::string_view FormatDecimal(int64_t value, NumberBuffer& buffer) noexcept;

// Appends ASCII text to a UTF-16 string, one code unit per character.
inline void AppendAscii(std::u16string& out, std::string_view ascii) {
  const size_t at = out.size();
  out.resize(at + ascii.size());
  for (size_t k = 0; k < ascii.size(); ++k) out[at + k] = static_cast<char16_t>(ascii[k]);
}

inline void AppendDecimal(std::u16string& out, int64_t value) {
  NumberBuffer buffer;
  AppendAscii(out, FormatDecimal(value, buffer));
}

// A non-negative `value` zero-padded to at least `width` digits (0999).
void AppendZeroPadded(std::u16string& out, int64_t value, size_t width);

// The shortest round-trip text of a real; a float's text reads back to the
// same float also when it is read as a double first. Scientific notation
// when the decimal exponent is below -4 or reaches the type's longest
// round-trip digit count (17 for a double, 9 for a float), as %g chooses at
// that precision. "NaN", "INF" and "-INF" for the values that have no
// digits; negative zero is "-0.0".
void AppendReal(std::u16string& out, double value);
void AppendReal(std::u16string& out, float value);

// The shortest round-trip digits of a finite real in plain decimal, with no
// exponent and no ".0" on whole numbers (2.5, 0.0000001, 6), as duration
// texts need them.
void AppendPlainReal(std::u16string& out, double value);

// Leading numbers read the way the C library's atoi and strtod read them:
// leading blanks skipped, an optional sign, the longest number that follows;
// the rest of the text is ignored and text without digits gives 0. Only
// ASCII matters, so the UTF-16 text is read as it stands.

// The leading decimal integer, modulo 2^64: no range check, so casting the
// result to a narrower type keeps exactly the low bits of the written value.
int64_t ParseLeadingInteger(std::u16string_view text) noexcept;

// The leading decimal real (digits, optional fraction, optional exponent
// with "e" or "E"). Out of range gives +/-HUGE_VAL or 0 like strtod.
double ParseLeadingReal(std::u16string_view text);

}  // namespace nv
