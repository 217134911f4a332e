#include "instance/info_item.h"

#include <string>

#include "frame/exception.h"
#include "values/data_type_names.h"
#include "values/xml_escape.h"
#include "instance/attribute_value_text.h"
#include "instance/envelope_writer_text.h"

namespace nv {
namespace {

// The type attribute names the type without a namespace prefix ("xml", not
// "vexa:xml"); a type outside the table fails here, before anything is written.
std::u16string_view UnprefixedTypeName(const Bstr& schemaName) {
  const std::u16string_view name = schemaName.View();
  const size_t colon = name.find(u':');
  return colon == std::u16string_view::npos ? name : name.substr(colon + 1);
}

}  // namespace

void CNvVexaInfoItemImpl::PutValue(const VARIANT& value) {
  if (valueType_ == dtUndefined)
    throw ENvException(u"Undefined value type for VexaInfoItem " + name_ +
                       u". Please assign valueType before assigning the value.");
  if (valueType_ == dtXML && !HoldsXmlAttributeValue(value))
    throw ENvException(kDtXmlAssignmentFailure);
  value_ = Variant(value);
}

Bstr CNvVexaInfoItemImpl::GetXMLStr(bool isForSchema, const BstrArg& prefix,
                                    const ComPtr<INvVexaNamespaces>& globalNamespaces,
                                    const ComPtr<INvVexaNamespaces>& infoNamespaces) {
  const Bstr typeName = DataTypeToSchemaName(valueType_);
  const std::u16string element = std::u16string(prefix.View()) + u':' + std::u16string(name_.View());
  DocumentText text;
  std::u16string& out = text.Text();
  out = u"<" + element;
  const std::u16string_view typePrefix = isForSchema ? kXsdPrefix : kXsiPrefix;
  AppendXmlAttribute(out, std::u16string(typePrefix) + u":type", UnprefixedTypeName(typeName));
  if (mustUnderstand_ == muYes) AppendXmlAttribute(out, u"vexa:mustUnderstand", u"yes");
  try {
    // Inside a schema document the XML Schema namespace is the default one.
    AppendValuePart(text, u"</" + element + u">", value_, valueType_,
                    XmlValueScope{globalNamespaces, &infoNamespaces, isForSchema});
  } catch (const UnwritableCharacter& e) {
    throw ENvException(
        e.Describe(u"The value of InfoItem \"" + std::u16string(name_.View()) + u"\""));
  }
  return Bstr(text.ToString());
}

void CNvVexaInfoItemImpl::Create(const BstrArg& itemName, const BstrArg& itemNamespace,
                                 bool isForSchema) {
  name_ = itemName;
  namespace_ = itemNamespace;
  isForSchema_ = isForSchema;
}

void CNvVexaInfoItemImpl::Copy(const ComPtr<INvVexaInfoItem>& source) {
  valueType_ = source.ValueType();
  value_ = source.Value();
  mustUnderstand_ = source.MustUnderstand();
}

}  // namespace nv
