// The attribute elements of one class or behaviour, as they appear inside an
// object element.
#pragma once

#include <string>
#include <string_view>

#include "frame/interfaces.h"
#include "writer/attribute_values.h"

namespace nv {

struct AttributesTextContext {
  const ComPtr<INvVexaNamespaces>& namespaces;
  // An object's own values fall back to defaults and insist on required
  // attributes; other value sets list only what was assigned.
  bool isObjectValues;
};

// One element per attribute of `attributes` that has a value to write, named
// `prefix` ":" attribute name. `values` may be null (nothing assigned).
void AppendAttributeElements(std::u16string& out, const AttributesTextContext& context,
                             const ComPtr<INvVexaAttributes>& attributes,
                             std::u16string_view prefix, const CNvVexaAttributesValuesImpl* values);

// Throws the unassigned failure for the first required attribute, if any.
void CheckNoRequiredAttribute(const ComPtr<INvVexaAttributes>& attributes);

}  // namespace nv
