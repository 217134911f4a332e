#include "schemadoc/external_schema.h"

#include "schemadoc/schema_reader.h"
#include "schemadoc/schema_writer.h"

namespace nv {

void CNvVexaExternalSchemaWriterImpl::Save(const BstrArg& fileName) {
  const ComPtr<INvVexaSchema> schema = Schema();
  if (!writer_)
    writer_ = MakeSchemaWriter(schema, false);
  else
    writer_.Create(schema, false);
  writer_.Save(fileName);
}

ComPtr<INvVexaSchema> CNvVexaExternalSchemaReaderImpl::Load(const BstrArg& schemaLocation) {
  ComPtr<INvVexaSchema> schema = schemas_.NewSchema();
  ReadSchemaDocument(schema, Bstr(schemaLocation));
  return schema;
}

}  // namespace nv
