// The initialization data: the proxy setting used when the library fetches
// a document over HTTP. Each top-level object owns one.
#pragma once

#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaInitializationDataImpl {
 public:
  virtual ~CNvVexaInitializationDataImpl() = default;
  virtual Bstr GetProxy() { return proxy_; }
  virtual void SetProxy(const BstrArg& proxy) { proxy_ = proxy; }

 private:
  Bstr proxy_;
};

class CNvVexaInitializationData final
    : public Implements<CNvVexaInitializationData, CNvVexaInitializationDataImpl,
                        INvVexaInitializationData, IProvideClassInfo> {
 public:
  static constexpr const CLSID& kClsid = CLSID_CNvVexaInitializationData;
};

// The initialization data of a top-level object, made on first access.
class InitializationDataHolder {
 public:
  ComPtr<INvVexaInitializationData> Get() {
    if (!data_) data_ = CreateObject<CNvVexaInitializationData>();
    return data_;
  }

 private:
  ComPtr<INvVexaInitializationData> data_;
};

}  // namespace nv
