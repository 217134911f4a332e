#include "writer/attributes_text.h"

#include "frame/exception.h"
#include "values/value_to_text.h"
#include "writer/attribute_value_text.h"

namespace nv {

namespace {

[[noreturn]] void ThrowUnassigned(const Bstr& name) {
  throw ENvException(u"Required attribute \"" + std::u16string(name.View()) +
                     u"\" was not assigned");
}

void AppendAttributeElement(std::u16string& out, const AttributesTextContext& context,
                            const AttributeFacts& attribute,
                            const CNvVexaAttributesValuesImpl* values) {
  const VARIANT* assigned = values ? values->AssignedValue(attribute.slot) : nullptr;
  if (assigned == nullptr) {
    if (!context.isObjectValues) return;
    if (attribute.required) ThrowUnassigned(attribute.name);
    const Variant& fallback = attribute.defaultValue;
    if (fallback.IsNull() || fallback.IsEmpty()) return;
    out += attribute.startTag;
    out += u'>';
    AppendVexaVariantText(out, fallback, attribute.type);
    out += attribute.endTag;
    out += u'\n';
    return;
  }
  out += attribute.startTag;
  AppendValuePart(out, attribute.endTag, *assigned, attribute.type, context.namespaces, nullptr);
  out += u'\n';
}

}  // namespace

void AppendAttributeElements(std::u16string& out, const AttributesTextContext& context,
                             const TextBlock& block, const CNvVexaAttributesValuesImpl* values) {
  for (size_t k = block.first; k < block.last; ++k)
    AppendAttributeElement(out, context, (*block.attributes)[k], values);
}

void CheckNoRequiredAttribute(const TextBlock& block) {
  for (size_t k = block.first; k < block.last; ++k)
    if ((*block.attributes)[k].required) ThrowUnassigned((*block.attributes)[k].name);
}

}  // namespace nv
