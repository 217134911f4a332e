// The attribute elements of one class or behaviour, as they appear inside an
// object element.
#pragma once

#include <string>

#include "frame/interfaces.h"
#include "objects/attribute_values.h"
#include "objects/class_layout.h"
#include "xml/document_text.h"

namespace nv {

struct AttributesTextContext {
  const ComPtr<INvVexaNamespaces>& namespaces;
  // An object's own values fall back to defaults and insist on required
  // attributes; other value sets list only what was assigned.
  bool isObjectValues;
};

// One element per attribute of `block` that has a value to write. `values`
// may be null (nothing assigned).
void AppendAttributeElements(DocumentText& out, const AttributesTextContext& context,
                             const TextBlock& block, const CNvVexaAttributesValuesImpl* values);

// Throws the unassigned failure for the first required attribute of `block`.
void CheckNoRequiredAttribute(const TextBlock& block);

}  // namespace nv
