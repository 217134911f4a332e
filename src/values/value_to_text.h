// A client's value (a variant) as the lexical text of an attribute of a
// given data type in the instance document. The value is first coerced to
// the type's variant type; then it is formatted (numbers, dates), escaped
// (strings, URIs) or encoded (binary).
#pragma once

#include "frame/automation/automation_api.h"
#include "frame/bstr.h"
#include "frame/interfaces.h"

#include <string>

namespace nv {

// Appends the text to `out`: the form for callers that build a document.
// Throws ENvException; `out` may then hold part of the text.
void AppendVexaVariantText(std::u16string& out, const VARIANT& value, DataTypeEnum type);

// The text alone.
Bstr VexaVariantToText(const VARIANT& value, DataTypeEnum type);

}  // namespace nv
