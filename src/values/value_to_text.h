// A client's value (a variant) as the lexical text of an attribute of a
// given data type in the instance document. The value is first coerced to
// the type's variant type; then it is formatted (numbers, dates), escaped
// for where it stands (strings, URIs, languages, object references) or
// encoded (binary). dtXML text is the client's own markup, appended as it is.
#pragma once

#include "frame/automation/automation_api.h"
#include "frame/bstr.h"
#include "frame/interfaces.h"
#include "values/xml_escape.h"

#include <string>

namespace nv {

// The types whose text is the client's string escaped for where it stands.
constexpr bool IsEscapedTextType(DataTypeEnum type) {
  return type == dtString || type == dtAnyUri || type == dtLanguage || type == dtObjectReference;
}

// Appends the text to `out`: the form for callers that build a document.
// Throws ENvException (UnwritableCharacter for text that XML cannot carry);
// `out` may then hold part of the text.
void AppendVexaVariantText(std::u16string& out, const VARIANT& value, DataTypeEnum type,
                           XmlContext where = XmlContext::kText);

// The text alone.
Bstr VexaVariantToText(const VARIANT& value, DataTypeEnum type);

}  // namespace nv
