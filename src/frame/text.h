// Text: UTF-8 and UTF-16 conversions, surrogates, and GUIDs as text.
#pragma once

#include "frame/automation/automation_api.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace nv {

// UTF-8 <-> UTF-16 conversion. Narrow text is UTF-8 throughout the library.

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

// GUIDs as text ("{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}") for library code
// that works in UTF-8, and fresh GUIDs. StringFromGUID2, CLSIDFromString and
// IIDFromString share this format.

// Length of the braced text form, without a terminating NUL.
inline constexpr size_t kGuidTextLength = 38;

// Braced, upper-case hexadecimal.
std::string GuidToString(const GUID& guid);

// Accepts exactly the braced form, hexadecimal digits in either case. On
// failure `guid` is left unchanged.
bool ParseGuid(std::string_view text, GUID& guid);

// A new random GUID.
GUID NewGuid();

// A new random GUID as upper-case text without braces, for unique names.
std::string NewGuidText();

}  // namespace nv
