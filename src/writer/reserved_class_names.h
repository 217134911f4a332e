// Class names under which the change and file objects are created: each
// stands for the same name without its two leading underscores when the
// schema has no class of the reserved name itself.
#pragma once

#include <string_view>

namespace nv {

// The name that `name` maps to, or `name` itself when it is not reserved.
std::u16string_view MappedReservedClassName(std::u16string_view name) noexcept;

}  // namespace nv
