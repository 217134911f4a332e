// The NvVexaStdHelper object, a creatable class: it hands out the schema
// helper, and the writer and reader helpers, for the standard behaviours.
#pragma once

#include "frame/implements.h"
#include "frame/initialization_data.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaStdHelperImpl {
 public:
  virtual ~CNvVexaStdHelperImpl() = default;
  virtual ComPtr<INvVexaSchemaHelper> CreateSchemaHelper(const ComPtr<INvVexaSchema>& schema);
  virtual ComPtr<INvVexaWriterHelper> CreateWriterHelper(const ComPtr<INvVexaWriter>& writer);
  virtual ComPtr<INvVexaReaderHelper> CreateReaderHelper(const ComPtr<INvVexaReader>& reader);
  virtual ComPtr<INvVexaInitializationData> InitializationData() { return initializationData_.Get(); }

 private:
  InitializationDataHolder initializationData_;
};

class NvVexaStdHelper final : public Implements<NvVexaStdHelper, CNvVexaStdHelperImpl, INvVexaStdHelper, IProvideClassInfo> {
 public:
  static constexpr const CLSID& kClsid = CLSID_NvVexaStdHelper;
};

}  // namespace nv
