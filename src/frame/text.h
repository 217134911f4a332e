// UTF-8 <-> UTF-16 conversion. Narrow text is UTF-8 throughout the library.
#pragma once

#include <string>
#include <string_view>

namespace nv {

// UTF-16 surrogates: a high one followed by a low one stands for one code
// point beyond the Basic Multilingual Plane.
inline constexpr bool IsHighSurrogate(char32_t c) noexcept { return c >= 0xD800 && c <= 0xDBFF; }
inline constexpr bool IsLowSurrogate(char32_t c) noexcept { return c >= 0xDC00 && c <= 0xDFFF; }
inline constexpr char32_t CodePointOfPair(char16_t high, char16_t low) noexcept {
  return 0x10000u + ((high - 0xD800u) << 10) + (low - 0xDC00u);
}

// Ill-formed input (lone surrogates, invalid UTF-8 bytes) becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
// Appends to `out`, so that a caller can reuse one buffer.
void AppendUtf16AsUtf8(std::string& out, std::u16string_view text);

// UTF-8 needs at most this many bytes per UTF-16 code unit.
inline constexpr size_t kMaxUtf8PerUtf16 = 3;
// Writes `text` as UTF-8 to `out`, which holds text.size() *
// kMaxUtf8PerUtf16 bytes, and answers the length; unpaired surrogates become
// U+FFFD.
size_t EncodeUtf8(std::u16string_view text, char* out) noexcept;
std::u16string Utf8ToUtf16(std::string_view text);

}  // namespace nv
