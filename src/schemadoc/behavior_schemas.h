// The behaviour schema documents of a schema: its embedded class behaviours
// (those without a schema location), one document per namespace, written
// beside the main document as "VEXA_CB_" + prefix + ".xsd".
#pragma once

#include <vector>

#include "frame/bstr.h"
#include "frame/interfaces.h"

namespace nv {

class DocumentSet;

struct BehaviorDocuments {
  std::vector<Bstr> fileNames;                        // full names, in writing order
  std::vector<ComPtr<INvVexaClassBehavior>> located;  // the behaviours they describe
};

// Gives every class behaviour namespace of `schema` a prefix in `namespaces`,
// writes the documents into `documents` and, once all are written, sets each
// written behaviour's SchemaLocation to the bare file name, so that from then
// on it is imported from that file.
BehaviorDocuments WriteBehaviorSchemas(const ComPtr<INvVexaSchema>& schema,
                                       const ComPtr<INvVexaNamespaces>& namespaces,
                                       const Bstr& mainFileName, DocumentSet& documents);

}  // namespace nv
