#include "instance/xml_value.h"

#include "instance/namespaces.h"

namespace nv {

ComPtr<INvVexaNamespaces> CNvVexaXmlAttributeValueImpl::Namespaces() {
  if (!namespaces_) namespaces_ = CreateObject<CNvVexaNamespaces>();
  return namespaces_;
}

ComPtr<INvVexaXmlAttributeValue> MakeXmlAttributeValue() {
  return CreateObject<CNvVexaXmlAttributeValue>();
}

Variant XmlAttributeValueFromText(std::u16string_view text,
                                  std::span<const XmlNamespaceDeclaration> namespaces) {
  ComPtr<INvVexaXmlAttributeValue> value = MakeXmlAttributeValue();
  value.PutXML(text);
  ComPtr<INvVexaNamespaces> table = value.Namespaces();
  for (const XmlNamespaceDeclaration& declaration : namespaces)
    table.Add(declaration.uri, declaration.prefix);
  return Variant(static_cast<IDispatch*>(value.get()));
}

XmlValueContext XmlValueContextFor(const std::vector<XmlNamespaceDeclaration>& namespaces) {
  return XmlValueContext{&namespaces, &XmlAttributeValueFromText};
}

}  // namespace nv
