#include "stdbehaviors/std_helper.h"

#include "frame/exception.h"

namespace nv {

ComPtr<INvVexaSchemaHelper> CNvVexaStdHelperImpl::CreateSchemaHelper(
    const ComPtr<INvVexaSchema>&) {
  throw ENvException("The schema helper is not available yet");
}

ComPtr<INvVexaWriterHelper> CNvVexaStdHelperImpl::CreateWriterHelper(
    const ComPtr<INvVexaWriter>&) {
  throw ENvException("The writer helper is not available yet");
}

ComPtr<INvVexaReaderHelper> CNvVexaStdHelperImpl::CreateReaderHelper(
    const ComPtr<INvVexaReader>&) {
  throw ENvException("The reader helper is not available yet");
}

}  // namespace nv
