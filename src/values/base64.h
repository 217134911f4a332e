// Standard base64 (RFC 4648 alphabet, "=" padding) for base64Binary values.
#pragma once

#include "frame/variant.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace nv {

void AppendBase64(std::u16string& out, std::span<const uint8_t> bytes);

// The bytes of a base64 text as a VT_ARRAY|VT_UI1 variant. Characters
// outside the alphabet ("=", blanks, line breaks, anything else) are
// skipped; a trailing partial group gives only its whole bytes.
Variant DecodeBase64(std::u16string_view text);

}  // namespace nv
