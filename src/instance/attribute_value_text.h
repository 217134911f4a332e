// The value part of a value element: what follows "<" and the element name.
// Shared by object attribute values and Info items.
#pragma once

#include <string>
#include <string_view>

#include "frame/interfaces.h"
#include "xml/document_text.h"
#include "instance/xml_value_text.h"

namespace nv {

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
