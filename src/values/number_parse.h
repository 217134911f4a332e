// Leading numbers read the way the C library's atoi and strtod read them:
// leading blanks skipped, an optional sign, the longest number that follows;
// the rest of the text is ignored and text without digits gives 0. Only
// ASCII matters, so the UTF-16 text is read as it stands.
#pragma once

#include <cstdint>
#include <string_view>

namespace nv {

// The leading decimal integer, modulo 2^64: no range check, so casting the
// result to a narrower type keeps exactly the low bits of the written value.
int64_t ParseLeadingInteger(std::u16string_view text) noexcept;

// The leading decimal real (digits, optional fraction, optional exponent
// with "e" or "E"). Out of range gives +/-HUGE_VAL or 0 like strtod.
double ParseLeadingReal(std::u16string_view text);

}  // namespace nv
