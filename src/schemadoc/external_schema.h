// The creatable external schema objects: the writer, whose schema the client
// fills and saves as a standalone schema document, and the reader.
#pragma once

#include "frame/implements.h"
#include "frame/interfaces.h"
#include "schema/schema.h"

namespace nv {

// The NvVexaExternalSchemaWriter object, a creatable class: a schema of its own that
// the client fills and saves as a standalone schema document.
class CNvVexaExternalSchemaWriterImpl {
 public:
  explicit CNvVexaExternalSchemaWriterImpl(
      std::shared_ptr<const SchemaServices> schemaServices = nullptr)
      : schemas_(std::move(schemaServices)) {}
  virtual ~CNvVexaExternalSchemaWriterImpl() = default;
  virtual Bstr SchemaURI() { return Schema().SchemaURI(); }
  virtual void PutSchemaURI(const BstrArg& value) { Schema().PutSchemaURI(value); }
  // Made on first access with this object's initialization data.
  virtual ComPtr<INvVexaSchema> Schema() {
    if (!schema_) schema_ = schemas_.NewSchema();
    return schema_;
  }
  // Writes the schema document, and the behaviour schema documents beside it.
  virtual void Save(const BstrArg& fileName);
  virtual ComPtr<INvVexaInitializationData> InitializationData() {
    return schemas_.InitializationData();
  }

 private:
  SchemaMaker schemas_;
  ComPtr<INvVexaSchema> schema_;
  // Made on first Save and kept, so namespaces keep their prefixes.
  ComPtr<INvVexaSchemaWriterCRaw> writer_;
};

class NvVexaExternalSchemaWriter final : public Implements<NvVexaExternalSchemaWriter, CNvVexaExternalSchemaWriterImpl, INvVexaExternalSchemaWriter, IProvideClassInfo> {
 public:
  static constexpr const CLSID& kClsid = CLSID_NvVexaExternalSchemaWriter;
  using Implements::Implements;
};

// The NvVexaExternalSchemaReader object, a creatable class: loads a standalone
// schema document into a fresh schema each time.
class CNvVexaExternalSchemaReaderImpl {
 public:
  explicit CNvVexaExternalSchemaReaderImpl(
      std::shared_ptr<const SchemaServices> schemaServices = nullptr)
      : schemas_(std::move(schemaServices)) {}
  virtual ~CNvVexaExternalSchemaReaderImpl() = default;
  // `schemaLocation` is a file name, a "file:" URI or a URL; a URL is
  // downloaded with this object's proxy. A failed load returns nothing.
  virtual ComPtr<INvVexaSchema> Load(const BstrArg& schemaLocation);
  virtual ComPtr<INvVexaInitializationData> InitializationData() {
    return schemas_.InitializationData();
  }

 private:
  SchemaMaker schemas_;
};

class NvVexaExternalSchemaReader final : public Implements<NvVexaExternalSchemaReader, CNvVexaExternalSchemaReaderImpl, INvVexaExternalSchemaReader, IProvideClassInfo> {
 public:
  static constexpr const CLSID& kClsid = CLSID_NvVexaExternalSchemaReader;
  using Implements::Implements;
};

}  // namespace nv
