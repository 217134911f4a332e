// Small pieces of markup shared by the parts of a schema document.
#pragma once

#include <string>
#include <string_view>

namespace nv {

// Appends a blank and name="value", the value escaped for an attribute;
// refuses text XML cannot carry, naming the attribute.
void AppendAttribute(std::u16string& out, std::u16string_view name, std::u16string_view value);

}  // namespace nv
