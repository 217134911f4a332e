// The NvVexaReader object, a creatable class: it opens a package, loads its
// schema and hands out the data reader.
#pragma once

#include <optional>

#include "frame/implements.h"
#include "frame/interfaces.h"
#include "platform/temp_folder.h"
#include "schema/schema.h"

namespace nv {

class CNvVexaReaderImpl {
 public:
  explicit CNvVexaReaderImpl(std::shared_ptr<const SchemaServices> schemaServices = nullptr)
      : schemas_(std::move(schemaServices)) {}
  virtual ~CNvVexaReaderImpl() = default;

  // Made on first access; an open with LoadSchema true after a schema was
  // loaded starts a fresh one (the client keeps the one it took).

  virtual ComPtr<INvVexaSchema> Schema();
  // Needs an open package (E_POINTER without one).
  virtual ComPtr<INvVexaDataReader> DataReader();
  // Opens the package; with `loadSchema` extracts its schema documents and
  // loads the schema it names. An archive with any unsafe entry is refused.
  virtual void OpenVexaArchiveFile(const BstrArg& fileName, bool loadSchema);
  // Releases the package, its data reader and extracted files; the reader
  // can then open another package.
  virtual void Close();
  virtual ComPtr<INvVexaUnderstoodInfoItems> UnderstoodInfoItems();
  virtual bool ValidateMustUnderstand() { return validateMustUnderstand_; }
  virtual void PutValidateMustUnderstand(bool value) { validateMustUnderstand_ = value; }
  virtual ComPtr<INvVexaInitializationData> InitializationData() {
    return schemas_.InitializationData();
  }
  virtual ComPtr<ITAbUnZipper> Unzipper() { return unzipper_; }

 private:
  void LoadSchema();

  SchemaMaker schemas_;
  ComPtr<INvVexaSchema> schema_;
  bool schemaLoaded_ = false;
  ComPtr<INvVexaDataReader> dataReader_;
  ComPtr<ITAbUnZipper> unzipper_;
  bool inUse_ = false;
  ComPtr<INvVexaUnderstoodInfoItems> understood_;
  bool validateMustUnderstand_ = true;
  std::optional<TempFolder> extracted_;
};

class NvVexaReader final : public Implements<NvVexaReader, CNvVexaReaderImpl, INvVexaReader,
                                             INvVexaReaderCRaw, IProvideClassInfo> {
 public:
  static constexpr const CLSID& kClsid = CLSID_NvVexaReader;
  using Implements::Implements;
};

}  // namespace nv
