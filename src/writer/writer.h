// The NvVexaWriter object, a creatable class. Its package members arrive with the
// layers that define them; for now it hands out its schema and its initialization data.
#pragma once

#include "frame/implements.h"
#include "frame/initialization_data.h"
#include "frame/interfaces.h"
#include "schema/schema.h"

namespace nv {

class CNvVexaWriterImpl {
 public:
  virtual ~CNvVexaWriterImpl() = default;
  // The package schema, made on first access with this writer's initialization data.
  virtual ComPtr<INvVexaSchema> Schema() {
    if (!schema_) schema_ = MakeSchema(initializationData_.Get());
    return schema_;
  }
  virtual ComPtr<INvVexaInitializationData> InitializationData() { return initializationData_.Get(); }

 private:
  ComPtr<INvVexaSchema> schema_;
  InitializationDataHolder initializationData_;
};

class NvVexaWriter final : public Implements<NvVexaWriter, CNvVexaWriterImpl, INvVexaWriter, IProvideClassInfo> {
 public:
  static constexpr const CLSID& kClsid = CLSID_NvVexaWriter;
};

}  // namespace nv
