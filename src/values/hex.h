// Hexadecimal text for hexBinary values: written in upper case, read in
// either case.
#pragma once

#include "frame/variant.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace nv {

void AppendHex(std::u16string& out, std::span<const uint8_t> bytes);

// The bytes of a hexadecimal text as a VT_ARRAY|VT_UI1 variant; throws the
// invalid-value failure of hexBinary for an odd length or a non-hex digit.
Variant DecodeHex(std::u16string_view text);

}  // namespace nv
