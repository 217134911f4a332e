// DataTypeEnum <-> the type name used in schema documents ("string",
// "IDREF", "vexa:xml", ...). Names compare exactly, case included.
#pragma once

#include "frame/bstr.h"
#include "frame/interfaces.h"

#include <string_view>

namespace nv {

inline constexpr bool IsValidDataType(DataTypeEnum type) noexcept {
  return type >= dtString && type <= dtXML;
}

// The schema type name, or an empty view for a value outside dtString..dtXML.
std::u16string_view SchemaNameOf(DataTypeEnum type) noexcept;

// Throws ENvException for dtUndefined and values outside the enumeration.
Bstr DataTypeToSchemaName(DataTypeEnum type);

// Throws ENvException for a name that is not exactly one of the table.
DataTypeEnum SchemaNameToDataType(std::u16string_view name);

}  // namespace nv
