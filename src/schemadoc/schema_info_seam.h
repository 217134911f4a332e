// The schema's Info items in a schema document. The Info collection belongs
// to the package-writing layer, which installs the renderer; until then a
// schema has no Info items to write.
#pragma once

#include <string>

#include "frame/interfaces.h"

namespace nv {

// Appends the Info items of `schema` as the Info collection renders them for
// a schema document; appends nothing when the schema has none.
using SchemaInfoRenderer = void (*)(std::u16string& out, const ComPtr<INvVexaSchema>& schema);

// The installed renderer (process-wide; installed once, before use), or null.
SchemaInfoRenderer& InstalledSchemaInfoRenderer() noexcept;

}  // namespace nv
