// The NvVexaWriter object, a creatable class: it chooses how the schema
// travels, creates a package in a temporary folder, hands out the data writer
// and, at close, zips the package and moves it into place.
#pragma once

#include "frame/implements.h"
#include "frame/interfaces.h"
#include "platform/file_system.h"
#include "platform/temp_folder.h"
#include "schema/schema.h"

#include <optional>

namespace nv {

class CNvVexaWriterImpl {
 public:
  // `schemaServices` go to the package schema; without them it cannot load
  // behaviour documents or copy standard behaviours.
  explicit CNvVexaWriterImpl(std::shared_ptr<const SchemaServices> schemaServices = nullptr)
      : schemas_(std::move(schemaServices)) {}
  // Finishes a package that is still open; failures there go unreported.
  virtual ~CNvVexaWriterImpl();
  // The package schema, made on first access with this writer's initialization data.
  virtual ComPtr<INvVexaSchema> Schema() {
    if (!schema_) schema_ = schemas_.NewSchema();
    return schema_;
  }
  virtual ComPtr<INvVexaDataWriter> DataWriter();
  virtual void SetSchemaMode(SchemaModeEnum mode, const BstrArg& schemaURI,
                             const BstrArg& schemaLocation, bool load);
  virtual void CreateVexaArchiveFile(const BstrArg& vexaFileName);
  virtual void CreateVexaArchiveFileEx(const BstrArg& vexaFileName,
                                       ArchiveFileCompressionLevelEnum compressionLevel);
  virtual void CloseVexaArchiveFile();
  virtual ComPtr<INvVexaNamespaces> Namespaces() { return namespaces_; }
  virtual ComPtr<ITAbZipper> Zipper() { return zipper_; }
  virtual void Save(const BstrArg&) {}
  virtual ComPtr<INvVexaInitializationData> InitializationData() {
    return schemas_.InitializationData();
  }

 private:
  void SetExternalSchema(const BstrArg& schemaURI, const BstrArg& schemaLocation, bool load);
  // The steps of create that run once the package exists.
  void BuildPackage();
  void AddEmbeddedSchemaDocuments(const std::u16string& folder);
  // `subject` names the package in the stream's failure messages.
  void OpenInstanceDocument(const std::u16string& folder, const std::u16string& subject);
  // After a failed create: removes what was made and keeps the writer open
  // with a stream that fails with `message`.
  void KeepFailure(const Bstr& message);
  void FinishInstanceDocument();
  void ZipAndPublish();
  // Removes the temporary folder and the unfinished archive, without writing
  // what the zipper staged.
  void RemovePackageFiles() noexcept;
  // Drops everything a package holds, removes its files, returns to Idle.
  void Discard() noexcept;

  ComPtr<ITStream> stream_;
  ComPtr<INvVexaEnvelopeWriterCRaw> envelopeWriter_;
  ComPtr<INvVexaSchema> schema_;
  SchemaModeEnum schemaMode_ = mtNone;
  bool load_ = false;
  ComPtr<INvVexaDataWriter> dataWriter_;
  ComPtr<INvVexaNamespaces> namespaces_;
  ComPtr<INvVexaSchemaWriterCRaw> schemaWriter_;
  ComPtr<ITAbZipper> zipper_;
  bool closed_ = true;
  bool created_ = false;
  SchemaMaker schemas_;
  ArchiveFileCompressionLevelEnum compressionLevel_ = afclLow;
  std::optional<TempFolder> tempFolder_;
  Bstr destination_;  // the archive the client named
  // Where the archive is built until it is complete: a short name in the
  // destination's folder, made at create.
  std::optional<FileBeside> partialArchive_;
};

class NvVexaWriter final : public Implements<NvVexaWriter, CNvVexaWriterImpl, INvVexaWriter,
                                             INvVexaWriterCRaw, IProvideClassInfo> {
 public:
  static constexpr const CLSID& kClsid = CLSID_NvVexaWriter;
  using Implements::Implements;
};

}  // namespace nv
