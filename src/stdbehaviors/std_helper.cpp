#include "stdbehaviors/std_helper.h"

#include "frame/exception.h"
#include "stdbehaviors/schema_helper.h"

namespace nv {

ComPtr<INvVexaSchemaHelper> CNvVexaStdHelperImpl::CreateSchemaHelper(
    const ComPtr<INvVexaSchema>& schema) {
  return CreateObject<CNvVexaSchemaHelper>(schema);
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
