// A class of the schema as a complexType and a global element of the same
// name; in a behaviour schema document the class stands for a behaviour.
#pragma once

#include <string>

#include "frame/interfaces.h"

namespace nv {

// `namespaces` gives the prefix of each behaviour namespace the class refers to.
void AppendClassElements(std::u16string& out, const ComPtr<INvVexaClass>& vexaClass,
                         const ComPtr<INvVexaNamespaces>& namespaces, bool isBehaviorSchema);

}  // namespace nv
