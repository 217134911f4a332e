// The NvVexaExternalSchemaReader object, a creatable class. Its package members arrive with the
// layers that define them; for now it hands out its initialization data.
#pragma once

#include "frame/implements.h"
#include "frame/initialization_data.h"
#include "frame/interfaces.h"

namespace nv {

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
