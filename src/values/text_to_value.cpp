#include "values/text_to_value.h"

#include "frame/exception.h"
#include "values/data_type_names.h"
#include "values/text_to_value_types.h"

#include <new>

namespace nv {

Variant VexaValueToVariant(std::u16string_view text, DataTypeEnum type,
                           const XmlValueContext* xml) {
  if (!IsValidDataType(type)) ThrowUnexpectedDataType(type);
  try {
    return TextToValue(text, type, xml);
  } catch (const std::bad_alloc&) {
    throw;
  } catch (...) {
    throw ENvException("VexaValueToVariant failed");
  }
}

}  // namespace nv
