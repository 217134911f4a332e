// The behaviour schema documents of a schema: its embedded class behaviours
// (those without a schema location), one document per namespace, written
// beside the main document as "VEXA_CB_" + prefix + ".xsd".
#pragma once

#include "frame/bstr.h"
#include "frame/interfaces.h"

namespace nv {

// Gives every class behaviour namespace of `schema` a prefix in `namespaces`,
// writes the documents, adds their full names to `fileNames` and sets each
// written behaviour's SchemaLocation to the bare file name, so that from then
// on it is imported from that file.
void WriteBehaviorSchemas(const ComPtr<INvVexaSchema>& schema,
                          const ComPtr<INvVexaNamespaces>& namespaces,
                          const Bstr& mainFileName, const ComPtr<INvSimpleStringList>& fileNames);

}  // namespace nv
