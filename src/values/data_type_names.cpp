#include "values/data_type_names.h"

#include "frame/exception.h"

#include <array>
#include <string>

namespace nv {
namespace {

// Indexed by DataTypeEnum; dtUndefined has no name.
constexpr std::array<std::u16string_view, dtXML + 1> kSchemaNames = {
    u"",         u"string",       u"boolean",   u"float",         u"double",
    u"duration", u"base64Binary", u"hexBinary", u"anyURI",        u"language",
    u"int",      u"short",        u"byte",      u"unsignedShort", u"unsignedByte",
    u"dateTime", u"time",         u"date",      u"gMonth",        u"gYear",
    u"IDREF",    u"vexa:xml",
};

}  // namespace

std::u16string_view SchemaNameOf(DataTypeEnum type) noexcept {
  return IsValidDataType(type) ? kSchemaNames[type] : std::u16string_view();
}

Bstr DataTypeToSchemaName(DataTypeEnum type) {
  const std::u16string_view name = SchemaNameOf(type);
  if (name.empty()) {
    const std::string message =
        "Invalid VexaDataType value (" + std::to_string(static_cast<int>(type)) + ")";
    throw ENvException(message.c_str());
  }
  return Bstr(name);
}

DataTypeEnum SchemaNameToDataType(std::u16string_view name) {
  for (int type = dtString; type <= dtXML; ++type) {
    if (kSchemaNames[type] == name) return static_cast<DataTypeEnum>(type);
  }
  throw ENvException(u"type \"" + std::u16string(name) + u"\" is not supported");
}

void ThrowInvalidValue(std::u16string_view text, DataTypeEnum type) {
  std::u16string message(text);
  message += u" is not a valid ";
  message += SchemaNameOf(type);
  message += u" value";
  throw ENvException(std::u16string_view(message));
}

DataTypeEnum LocalTypeNameToDataType(std::u16string_view name) {
  if (const size_t colon = name.find(u':'); colon != std::u16string_view::npos)
    name.remove_prefix(colon + 1);
  return name == u"xml" ? dtXML : SchemaNameToDataType(name);
}

}  // namespace nv
