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
                            const ComPtr<INvVexaAttribute>& attribute, std::u16string_view prefix,
                            const CNvVexaAttributesValuesImpl* values) {
  const Bstr name = attribute.Name();
  const VARIANT* assigned = values ? values->AssignedValue(name.View()) : nullptr;
  if (assigned == nullptr && !context.isObjectValues) return;
  if (assigned == nullptr && attribute.Required()) ThrowUnassigned(name);
  Variant fallback;
  if (assigned == nullptr) {
    fallback = attribute.DefaultValue();
    if (fallback.IsNull() || fallback.IsEmpty()) return;
  }
  std::u16string element(prefix);
  element += u':';
  element += name.View();
  const DataTypeEnum type = attribute.TypeDefinition().ValueType();
  out += u"    <";
  out += element;
  if (assigned != nullptr) {
    AppendValuePart(out, element, *assigned, type, context.namespaces, nullptr);
  } else {
    out += u'>';
    AppendVexaVariantText(out, fallback, type);
    out += u"</";
    out += element;
    out += u'>';
  }
  out += u'\n';
}

}  // namespace

void AppendAttributeElements(std::u16string& out, const AttributesTextContext& context,
                             const ComPtr<INvVexaAttributes>& attributes,
                             std::u16string_view prefix,
                             const CNvVexaAttributesValuesImpl* values) {
  const LONG count = attributes.Count();
  for (LONG k = 0; k < count; ++k)
    AppendAttributeElement(out, context, attributes.Item(k), prefix, values);
}

void CheckNoRequiredAttribute(const ComPtr<INvVexaAttributes>& attributes) {
  const LONG count = attributes.Count();
  for (LONG k = 0; k < count; ++k) {
    const ComPtr<INvVexaAttribute> attribute = attributes.Item(k);
    if (attribute.Required()) ThrowUnassigned(attribute.Name());
  }
}

}  // namespace nv
