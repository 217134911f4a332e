// GUIDs as text ("{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}") for library code
// that works in UTF-8, and fresh GUIDs. StringFromGUID2, CLSIDFromString and
// IIDFromString share this format.
#pragma once

#include "frame/automation/automation_api.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace nv {

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
