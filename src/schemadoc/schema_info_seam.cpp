#include "schemadoc/schema_info_seam.h"

namespace nv {

SchemaInfoRenderer& InstalledSchemaInfoRenderer() noexcept {
  static SchemaInfoRenderer renderer = nullptr;
  return renderer;
}

}  // namespace nv
