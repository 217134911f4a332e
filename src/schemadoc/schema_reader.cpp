#include "schemadoc/schema_reader.h"

#include "frame/exception.h"

namespace nv {

void ReadSchemaDocument(const ComPtr<INvVexaSchema>&, const Bstr& location,
                        const SchemaReadOptions&) {
  throw ENvException(u"Cannot read the schema document \"" + location + u"\" yet");
}

}  // namespace nv
