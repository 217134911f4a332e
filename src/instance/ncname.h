// The XML NCName test used for the names of classes, attributes and class
// behaviours.
#pragma once

#include <string_view>

namespace nv {

// True when `name` is a non-empty XML 1.0 NCName (a name without colons).
// The whole name is tested, whatever its length.
bool IsValidNCName(std::u16string_view name) noexcept;

}  // namespace nv
