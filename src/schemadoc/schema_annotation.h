// The schema annotation: the schema's Info items and its domain behaviours.
#pragma once

#include <string>

#include "frame/interfaces.h"

namespace nv {

// Appends nothing when the schema has neither Info items nor domain behaviours.
void AppendSchemaAnnotation(std::u16string& out, const ComPtr<INvVexaSchema>& schema);

}  // namespace nv
