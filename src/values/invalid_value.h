// The failure of a text that is not a value of its data type:
// "<text> is not a valid <schema type name> value".
#pragma once

#include "frame/interfaces.h"

#include <string_view>

namespace nv {

[[noreturn]] void ThrowInvalidValue(std::u16string_view text, DataTypeEnum type);

}  // namespace nv
