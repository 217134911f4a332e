// UTF-8 <-> UTF-16 conversion. Narrow text is UTF-8 throughout the library.
#pragma once

#include <string>
#include <string_view>

namespace nv {

// Ill-formed input (lone surrogates, invalid UTF-8 bytes) becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
// Appends to `out`, so that a caller can reuse one buffer.
void AppendUtf16AsUtf8(std::string& out, std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

}  // namespace nv
