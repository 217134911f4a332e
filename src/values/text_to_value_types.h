// The per-type conversions behind VexaValueToVariant, each failing with its
// own message (which VexaValueToVariant then replaces).
#pragma once

#include "values/text_to_value.h"

namespace nv {

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
