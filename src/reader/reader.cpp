#include "reader/reader.h"

#include "frame/exception.h"

namespace nv {

ComPtr<INvVexaSchema> CNvVexaReaderImpl::Schema() {
  if (!schema_) schema_ = schemas_.NewSchema();
  return schema_;
}

ComPtr<INvVexaDataReader> CNvVexaReaderImpl::DataReader() {
  throw ENvException("Reading packages is not available yet");
}

void CNvVexaReaderImpl::OpenVexaArchiveFile(const BstrArg&, bool) {
  throw ENvException("Reading packages is not available yet");
}

void CNvVexaReaderImpl::Close() {}

ComPtr<INvVexaUnderstoodInfoItems> CNvVexaReaderImpl::UnderstoodInfoItems() {
  throw ENvException("Reading packages is not available yet");
}

}  // namespace nv
