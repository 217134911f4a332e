// Data types by name, and the failure of a text that is not a value of its type.
#pragma once

#include "frame/bstr.h"
#include "frame/interfaces.h"

#include <string_view>

namespace nv {

// DataTypeEnum <-> the type name used in schema documents ("string",
// "IDREF", "vexa:xml", ...). Names compare exactly, case included.

inline constexpr bool IsValidDataType(DataTypeEnum type) noexcept {
  return type >= dtString && type <= dtXML;
}

// The schema type name, or an empty view for a value outside dtString..dtXML.
std::u16string_view SchemaNameOf(DataTypeEnum type) noexcept;

// Throws ENvException for dtUndefined and values outside the enumeration.
Bstr DataTypeToSchemaName(DataTypeEnum type);

// Throws ENvException for a name that is not exactly one of the table.
DataTypeEnum SchemaNameToDataType(std::u16string_view name);

// A type named by its local name alone, as type attributes of value elements
// give it ("xml" for dtXML): any prefix is dropped first.
DataTypeEnum LocalTypeNameToDataType(std::u16string_view name);

// The failure of a text that is not a value of its data type:
// "<text> is not a valid <schema type name> value".

[[noreturn]] void ThrowInvalidValue(std::u16string_view text, DataTypeEnum type);

}  // namespace nv
