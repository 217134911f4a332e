// Connects the Info collection to the layers before this one: the schema's
// memory-based Info (made, copied, asked for must-understand items) and its
// rendering into the schema document's annotation.
#pragma once

#include <string>

#include "frame/interfaces.h"

namespace nv {

// Installs the schema seams and the schema-document renderer; idempotent.
void InstallInfoSeams() noexcept;

// Appends the schema's Info as the Header element of a schema document
// (types named with the xsd prefix, the SOAP namespace declared on it), also
// when it has no items; answers whether it has any.
bool AppendSchemaInfo(std::u16string& out, const ComPtr<INvVexaSchema>& schema);

}  // namespace nv
