#include "values/invalid_value.h"

#include "frame/exception.h"
#include "values/data_type_names.h"

#include <string>

namespace nv {

void ThrowInvalidValue(std::u16string_view text, DataTypeEnum type) {
  std::u16string message(text);
  message += u" is not a valid ";
  message += SchemaNameOf(type);
  message += u" value";
  throw ENvException(std::u16string_view(message));
}

}  // namespace nv
