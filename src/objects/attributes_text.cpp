#include "objects/attributes_text.h"

#include "frame/exception.h"
#include "values/value_to_text.h"
#include "instance/attribute_value_text.h"
#include "instance/xml_value.h"

namespace nv {

namespace {

[[noreturn]] void ThrowUnassigned(const Bstr& name) {
  throw ENvException(u"Required attribute \"" + std::u16string(name.View()) +
                     u"\" was not assigned");
}

// A default of an XML attribute is markup of the client's own: it is written
// as an XML value, so that it is checked and its namespaces are kept.
Variant XmlDefault(const AttributeFacts& attribute) {
  Variant text;
  if (FAILED(VariantChangeType(&text, &attribute.defaultValue, 0, VT_BSTR)))
    throw ENvException("Failed to convert Variant value to the specified type");
  const ComPtr<INvVexaXmlAttributeValue> xml = MakeXmlAttributeValue();
  xml.PutXML(Bstr(std::u16string_view(text.bstrVal, SysStringLen(text.bstrVal))));
  return Variant(static_cast<IDispatch*>(xml.get()));
}

void AppendValueElement(DocumentText& out, const AttributesTextContext& context,
                        const AttributeFacts& attribute, const VARIANT& value) {
  out.Text() += attribute.startTag;
  try {
    AppendValuePart(out, attribute.endTag, value, attribute.type,
                    XmlValueScope{context.namespaces});
  } catch (const UnwritableCharacter& e) {
    throw ENvException(e.Describe(u"The value of attribute \"" +
                                  std::u16string(attribute.name.View()) + u"\""));
  }
  out.Text() += u'\n';
}

void AppendAttributeElement(DocumentText& out, const AttributesTextContext& context,
                            const AttributeFacts& attribute,
                            const CNvVexaAttributesValuesImpl* values) {
  if (const VARIANT* assigned = values ? values->AssignedValue(attribute.slot) : nullptr) {
    AppendValueElement(out, context, attribute, *assigned);
    return;
  }
  if (!context.isObjectValues) return;
  if (attribute.required) ThrowUnassigned(attribute.name);
  if (attribute.defaultValue.IsNull() || attribute.defaultValue.IsEmpty()) return;
  if (attribute.type == dtXML)
    AppendValueElement(out, context, attribute, XmlDefault(attribute));
  else  // kept by reference when long: the layout holds it while the text is written
    AppendValueElement(out, context, attribute, attribute.defaultValue);
}

}  // namespace

void AppendAttributeElements(DocumentText& out, const AttributesTextContext& context,
                             const TextBlock& block, const CNvVexaAttributesValuesImpl* values) {
  for (size_t k = block.first; k < block.last; ++k)
    AppendAttributeElement(out, context, (*block.attributes)[k], values);
}

void CheckNoRequiredAttribute(const TextBlock& block) {
  for (size_t k = block.first; k < block.last; ++k)
    if ((*block.attributes)[k].required) ThrowUnassigned((*block.attributes)[k].name);
}

}  // namespace nv
