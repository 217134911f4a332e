#include "stdbehaviors/std_helper.h"

#include "stdbehaviors/helpers.h"
#include "stdbehaviors/schema_helper.h"

namespace nv {

ComPtr<INvVexaSchemaHelper> CNvVexaStdHelperImpl::CreateSchemaHelper(
    const ComPtr<INvVexaSchema>& schema) {
  return CreateObject<CNvVexaSchemaHelper>(schema);
}

ComPtr<INvVexaWriterHelper> CNvVexaStdHelperImpl::CreateWriterHelper(
    const ComPtr<INvVexaWriter>& writer) {
  return CreateObject<CNvVexaWriterHelper>(writer);
}

ComPtr<INvVexaReaderHelper> CNvVexaStdHelperImpl::CreateReaderHelper(
    const ComPtr<INvVexaReader>& reader) {
  return CreateObject<CNvVexaReaderHelper>(reader);
}

}  // namespace nv
