// A class of the schema as a complexType and a global element of the same
// name; in a behaviour schema document the class stands for a behaviour.
#pragma once

#include <string>

#include "frame/interfaces.h"

namespace nv {

// What the class elements of a document need from it.
struct ClassElementScope {
  // The prefix of each behaviour namespace the classes refer to.
  const ComPtr<INvVexaNamespaces>& namespaces;
  // The schema's behaviours: a class may refer to these only.
  const ComPtr<INvVexaClassesBehaviors>& behaviors;
  bool isBehaviorSchema;
};

void AppendClassElements(std::u16string& out, const ComPtr<INvVexaClass>& vexaClass,
                         const ClassElementScope& scope);

}  // namespace nv
