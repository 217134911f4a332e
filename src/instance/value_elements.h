// Value elements, shared by object attributes and Info items: the XML value
// object, and the text of a value element (nil, reference, XML or lexical).
#pragma once

#include <string>
#include <string_view>

#include "frame/implements.h"
#include "frame/interfaces.h"
#include "values/text_to_value.h"
#include "xml/document_text.h"

namespace nv {

// The value of an XML-typed attribute: a fragment of XML nodes and the table
// of the namespaces its prefixes stand for.
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

// The value's fragment as UTF-8 inside a wrapper element (no namespace) that
// declares the prefixes of the value's namespace table, ready for a parser.
// Throws UnwritableCharacter for a character XML cannot carry.
inline constexpr std::u16string_view kXmlFragmentWrapper = u"dummy";
std::string WrappedXmlFragment(const ComPtr<INvVexaXmlAttributeValue>& value);

// The text of an XML value inside a value element: the namespace
// declarations its elements and attributes need, ">", and the fragment
// re-serialized with the document's own prefixes. Shared by object
// attributes and Info items.
// Where the namespaces of an XML value are looked up and declared.
struct XmlValueScope {
  const ComPtr<INvVexaNamespaces>& package;
  // The Header's own table, for Info items; null for object attributes.
  const ComPtr<INvVexaNamespaces>* info = nullptr;
  // A default namespace is in force around the value (the XML Schema
  // namespace inside a schema document): elements without a namespace
  // undeclare it, so that they keep having none.
  bool defaultNamespaceInScope = false;
};

// Every element and attribute keeps its namespace, whatever prefix (or
// default declaration) the fragment gave it: namespaces found in neither
// table get prefixes drawn from the package table's generated ones, declared
// on the value element. Throws "Invalid XML String in XmlAttributeValue" when
// the fragment does not parse; `out` is then unchanged.
void AppendXmlValueText(std::u16string& out, const ComPtr<INvVexaXmlAttributeValue>& value,
                        const XmlValueScope& scope);

// The value part of a value element: what follows "<" and the element name.
// Shared by object attribute values and Info items.
inline constexpr std::u16string_view kDtXmlAssignmentFailure =
    u"Only an Instance of INvVexaXmlAttributeValue can be assigned to an item of type dtXML";

// True when `value` holds an XML value object.
bool HoldsXmlAttributeValue(const VARIANT& value);

// Null gives the nil form, an object reference the href form, an XML value its
// declarations and fragment, any other value its lexical text; all but the
// empty forms end with `endTag` ("</prefix:name>"). Throws the conversion
// failures and UnwritableCharacter; `out` may then hold part of the text.
void AppendValuePart(DocumentText& out, std::u16string_view endTag, const VARIANT& value,
                     DataTypeEnum type, const XmlValueScope& scope);

}  // namespace nv
