// The element that declares one attribute of a class or of a class behaviour.
#pragma once

#include <string>

#include "frame/interfaces.h"

namespace nv {

// Throws ENvException when the attribute cannot be declared as it stands
// (a required attribute with a default, no value type, an incomplete or
// unknown object-reference restriction).
void AppendAttributeElement(std::u16string& out, const ComPtr<INvVexaAttribute>& attribute);

}  // namespace nv
