#include "values/text_to_value.h"

#include "frame/error_frame.h"
#include "values/data_type_names.h"
#include "values/text_to_value_types.h"

namespace nv {

Variant VexaValueToVariant(std::u16string_view text, DataTypeEnum type,
                           const XmlValueContext* xml) {
  if (!IsValidDataType(type)) ThrowUnexpectedDataType(type);
  try {
    return TextToValue(text, type, xml);
  } catch (...) {
    // An allocation failure stays one; anything else gets this call's message.
    if (frame::DescribeCaughtException().code == E_OUTOFMEMORY) throw;
    throw ENvException("VexaValueToVariant failed");
  }
}

}  // namespace nv
