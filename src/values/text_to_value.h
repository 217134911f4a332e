// Attribute texts read from an instance document as values of their data types.
#pragma once

#include "frame/bstr.h"
#include "frame/interfaces.h"
#include "frame/variant.h"

#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace nv {

// The text of an attribute read from an instance document as a value (a
// variant) of the attribute's data type. Any per-type failure is reported
// as the single message "VexaValueToVariant failed".

// One namespace declaration in force where an XML-typed value was read.
struct XmlNamespaceDeclaration {
  Bstr prefix;  // empty for the default namespace
  Bstr uri;
};

// Makes the XML value object (a VT_DISPATCH variant) from an XML-typed text
// and the declarations in force; provided by the layer that owns that object.
using XmlValueFactory = std::function<Variant(std::u16string_view text,
                                              std::span<const XmlNamespaceDeclaration> namespaces)>;

// What reading a dtXML value needs besides its text.
struct XmlValueContext {
  // Null when the caller has no declarations: the value cannot be read.
  const std::vector<XmlNamespaceDeclaration>* namespaces = nullptr;
  XmlValueFactory factory;
};

// Throws ENvException "VexaValueToVariant failed" when the text is not a
// value of `type`, and "Unexpected value for VexaDataType (<n>)" for a type
// outside the enumeration. `xml` is needed for dtXML only.
Variant VexaValueToVariant(std::u16string_view text, DataTypeEnum type,
                           const XmlValueContext* xml = nullptr);

// The per-type conversions behind VexaValueToVariant, each failing with its
// own message (which VexaValueToVariant then replaces).

// "Unexpected value for VexaDataType (<n>)".
[[noreturn]] void ThrowUnexpectedDataType(DataTypeEnum type);

// Exactly "true" or "false".
bool BooleanFromText(std::u16string_view text);

// float and double texts (the value is a double for both), including
// "NaN", "INF", "-INF" and "-0".
double RealFromText(std::u16string_view text);

// dtXML: needs the namespace declarations and a factory.
Variant XmlFromText(std::u16string_view text, const XmlValueContext* xml);

// Any valid data type; throws the conversion's own message.
Variant TextToValue(std::u16string_view text, DataTypeEnum type, const XmlValueContext* xml);

}  // namespace nv
