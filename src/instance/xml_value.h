// The value of an XML-typed attribute: a fragment of XML nodes and the table
// of the namespaces its prefixes stand for.
#pragma once

#include "frame/implements.h"
#include "frame/interfaces.h"
#include "values/text_to_value.h"

namespace nv {

class CNvVexaXmlAttributeValueImpl {
 public:
  virtual ~CNvVexaXmlAttributeValueImpl() = default;

  virtual Bstr XML() { return xml_; }
  // Stored as given; the fragment is parsed only when it is written.
  virtual void PutXML(const BstrArg& value) { xml_ = value; }
  // Made on first use.
  virtual ComPtr<INvVexaNamespaces> Namespaces();

  virtual void SetNamespaces(const ComPtr<INvVexaNamespaces>& value) { namespaces_ = value; }

 private:
  Bstr xml_;
  ComPtr<INvVexaNamespaces> namespaces_;
};

class CNvVexaXmlAttributeValue final
    : public Implements<CNvVexaXmlAttributeValue, CNvVexaXmlAttributeValueImpl,
                        INvVexaXmlAttributeValue, INvVexaXmlAttributeValueCRaw> {};

ComPtr<INvVexaXmlAttributeValue> MakeXmlAttributeValue();

// The factory that the readers put into XmlValueContext: an XML value (as a
// VT_DISPATCH variant) holding `text` and the declarations in force.
Variant XmlAttributeValueFromText(std::u16string_view text,
                                  std::span<const XmlNamespaceDeclaration> namespaces);

// The context for reading a dtXML text with `namespaces` in force (kept by
// reference: it must outlive the context's use).
XmlValueContext XmlValueContextFor(const std::vector<XmlNamespaceDeclaration>& namespaces);

}  // namespace nv
