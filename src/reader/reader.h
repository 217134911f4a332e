// The NvVexaReader object, a creatable class: it opens a package, loads its
// schema and hands out the data reader.
#pragma once

#include "frame/implements.h"
#include "frame/interfaces.h"
#include "schema/schema.h"

namespace nv {

class CNvVexaReaderImpl {
 public:
  explicit CNvVexaReaderImpl(std::shared_ptr<const SchemaServices> schemaServices = nullptr)
      : schemas_(std::move(schemaServices)) {}
  virtual ~CNvVexaReaderImpl() = default;

  virtual ComPtr<INvVexaSchema> Schema();
  virtual ComPtr<INvVexaDataReader> DataReader();
  virtual void OpenVexaArchiveFile(const BstrArg& fileName, bool loadSchema);
  virtual void Close();
  virtual ComPtr<INvVexaUnderstoodInfoItems> UnderstoodInfoItems();
  virtual bool ValidateMustUnderstand() { return validateMustUnderstand_; }
  virtual void PutValidateMustUnderstand(bool value) { validateMustUnderstand_ = value; }
  virtual ComPtr<INvVexaInitializationData> InitializationData() {
    return schemas_.InitializationData();
  }
  virtual ComPtr<ITAbUnZipper> Unzipper() { return unzipper_; }

 private:
  SchemaMaker schemas_;
  ComPtr<INvVexaSchema> schema_;
  ComPtr<ITAbUnZipper> unzipper_;
  bool validateMustUnderstand_ = true;
};

class NvVexaReader final : public Implements<NvVexaReader, CNvVexaReaderImpl, INvVexaReader,
                                             INvVexaReaderCRaw, IProvideClassInfo> {
 public:
  static constexpr const CLSID& kClsid = CLSID_NvVexaReader;
  using Implements::Implements;
};

}  // namespace nv
