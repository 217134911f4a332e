// Text escaped for XML content and attribute values: the five markup
// characters become entity references, and every character from 127 up a
// numeric reference, so the written document is pure ASCII. A surrogate pair
// becomes one reference to its code point (a reference to a lone surrogate
// would not be well-formed, but a lone surrogate has no other spelling).
#pragma once

#include <string>
#include <string_view>

namespace nv {

void AppendXmlEscaped(std::u16string& out, std::u16string_view text);

}  // namespace nv
