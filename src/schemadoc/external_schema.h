// The creatable external schema objects: the writer, whose schema the client
// fills and saves as a standalone schema document, and the reader.
#pragma once

#include "frame/implements.h"
#include "frame/initialization_data.h"
#include "frame/interfaces.h"
#include "schema/schema.h"

namespace nv {

// The NvVexaExternalSchemaWriter object, a creatable class: a schema of its own that
// the client fills and saves as a standalone schema document.
class CNvVexaExternalSchemaWriterImpl {
 public:
  explicit CNvVexaExternalSchemaWriterImpl(
      std::shared_ptr<const SchemaServices> schemaServices = nullptr)
      : schemaServices_(std::move(schemaServices)) {}
  virtual ~CNvVexaExternalSchemaWriterImpl() = default;
  virtual Bstr SchemaURI() { return Schema().SchemaURI(); }
  virtual void PutSchemaURI(const BstrArg& value) { Schema().PutSchemaURI(value); }
  // Made on first access with this object's initialization data.
  virtual ComPtr<INvVexaSchema> Schema() {
    if (!schema_) schema_ = MakeSchema({initializationData_.Get(), schemaServices_});
    return schema_;
  }
  // Writes the schema document, and the behaviour schema documents beside it.
  virtual void Save(const BstrArg& fileName);
  virtual ComPtr<INvVexaInitializationData> InitializationData() { return initializationData_.Get(); }

 private:
  std::shared_ptr<const SchemaServices> schemaServices_;
  ComPtr<INvVexaSchema> schema_;
  InitializationDataHolder initializationData_;
  // Made on first Save and kept, so namespaces keep their prefixes.
  ComPtr<INvVexaSchemaWriterCRaw> writer_;
};

class NvVexaExternalSchemaWriter final : public Implements<NvVexaExternalSchemaWriter, CNvVexaExternalSchemaWriterImpl, INvVexaExternalSchemaWriter, IProvideClassInfo> {
 public:
  static constexpr const CLSID& kClsid = CLSID_NvVexaExternalSchemaWriter;
  using Implements::Implements;
};

// The NvVexaExternalSchemaReader object, a creatable class. Its package members arrive with the
// layers that define them; for now it hands out its initialization data.
class CNvVexaExternalSchemaReaderImpl {
 public:
  virtual ~CNvVexaExternalSchemaReaderImpl() = default;
  virtual ComPtr<INvVexaInitializationData> InitializationData() { return initializationData_.Get(); }

 private:
  InitializationDataHolder initializationData_;
};

class NvVexaExternalSchemaReader final : public Implements<NvVexaExternalSchemaReader, CNvVexaExternalSchemaReaderImpl, INvVexaExternalSchemaReader, IProvideClassInfo> {
 public:
  static constexpr const CLSID& kClsid = CLSID_NvVexaExternalSchemaReader;
};

}  // namespace nv
