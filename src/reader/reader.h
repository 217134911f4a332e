// The NvVexaReader object, a creatable class. Its package members arrive with the
// layers that define them; for now it hands out its initialization data.
#pragma once

#include "frame/implements.h"
#include "frame/initialization_data.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaReaderImpl {
 public:
  virtual ~CNvVexaReaderImpl() = default;
  virtual ComPtr<INvVexaInitializationData> InitializationData() { return initializationData_.Get(); }

 private:
  InitializationDataHolder initializationData_;
};

class NvVexaReader final : public Implements<NvVexaReader, CNvVexaReaderImpl, INvVexaReader, IProvideClassInfo> {
 public:
  static constexpr const CLSID& kClsid = CLSID_NvVexaReader;
};

}  // namespace nv
