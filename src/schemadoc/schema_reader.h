// The schema document reader: fills a schema model from a schema document of
// the grammar the schema writer produces, whether the package's own document,
// a standalone file or URL, or a behaviour schema document.
#pragma once

#include "frame/bstr.h"
#include "frame/interfaces.h"

namespace nv {

struct SchemaReadOptions {
  // A behaviour schema document defines class behaviours and leaves the
  // schema's URI and location alone.
  bool isBehaviorSchema = false;
  // Where a package's entries were extracted. Relative import locations are
  // taken against it, or against the folder of the document read when empty,
  // and must stay inside that folder.
  Bstr extractedFilesDir;
};

// `location` taken in `folder` (a folder or a URL) when it is a relative
// name, which may not climb out of it ("Schema location "<location>" leaves the folder " +
// `folderName`); any other location as it is.
Bstr LocationInFolder(std::u16string_view location, std::u16string_view folder,
                      std::u16string_view folderName);

// Reads the document at `location` (a file name, a "file:" URI or an http(s)
// URL, downloaded with the proxy of the schema's initialization data) into
// `schema`. Standard behaviour namespaces are defined through the schema's
// services. Throws ENvException; what was added before a failure stays.
void ReadSchemaDocument(const ComPtr<INvVexaSchema>& schema, const Bstr& location,
                        const SchemaReadOptions& options = {});

}  // namespace nv
