#include "schema/schema_seams.h"

namespace nv {

SchemaSeams& InstalledSchemaSeams() noexcept {
  static SchemaSeams seams;
  return seams;
}

}  // namespace nv
