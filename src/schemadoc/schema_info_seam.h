// The schema's Info items in a schema document. The Info collection belongs
// to the package-writing layer, which installs the renderer; until then a
// schema has no Info items to write.
#pragma once

#include <string>

#include "frame/interfaces.h"

namespace nv {

// Appends the Info of `schema` as the Info collection renders it for a
// schema document: the Header element, even when it holds no item. Answers
// whether the schema has Info items.
using SchemaInfoRenderer = bool (*)(std::u16string& out, const ComPtr<INvVexaSchema>& schema);

// The installed renderer (process-wide; installed once, before use), or null.
SchemaInfoRenderer& InstalledSchemaInfoRenderer() noexcept;

}  // namespace nv
