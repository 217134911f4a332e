// The head of a schema document: the schema start tag with its namespace
// declarations, and the imports.
#pragma once

#include <string>

#include "frame/interfaces.h"

namespace nv {

// The start tag and a line feed. Every class behaviour namespace must
// already have its prefix in `namespaces`.
void AppendSchemaStartTag(std::u16string& out, const ComPtr<INvVexaSchema>& schema,
                          const ComPtr<INvVexaNamespaces>& namespaces);

// The core and envelope imports, one import per class behaviour namespace,
// and a line feed.
void AppendImports(std::u16string& out, const ComPtr<INvVexaSchema>& schema);

}  // namespace nv
