#include "writer/data_writer.h"

#include "archive/streams.h"
#include "instance/envelope_writer_text.h"
#include "instance/info.h"
#include "writer/object_writer.h"

namespace nv {
namespace {

void WriteBodyTag(const ComPtr<ITStream>& stream, bool start) {
  std::u16string tag;
  if (start) {
    AppendSoapStartTagOpen(tag, u"Body");
    tag += u'>';
  } else {
    AppendSoapEndTag(tag, u"Body");
  }
  tag += u'\n';
  WriteText(stream, tag);
}

}  // namespace

void CNvVexaDataWriterImpl::Create(const ComPtr<ITStream>& stream,
                                   const ComPtr<ITAbZipper>& zipper,
                                   const ComPtr<INvVexaNamespaces>& namespaces,
                                   const ComPtr<INvVexaSchema>& schema) {
  stream_ = stream;
  zipper_ = zipper;
  namespaces_ = namespaces;
  schema_ = schema;
  objectWriter_ = MakeObjectWriter(stream_, namespaces_, schema_);
}

ComPtr<INvVexaObjectWriter> CNvVexaDataWriterImpl::ObjectWriter() {
  if (!bodyOpen_) OpenBodyElement();
  objectWriter_.as<INvVexaObjectWriterCRaw>().PutIsBodyElementOpen(true);
  return objectWriter_;
}

ComPtr<INvVexaInfo> CNvVexaDataWriterImpl::Info() {
  if (!info_) {
    ComPtr<INvVexaInfo> made = CreateObject<CNvVexaInfo>();
    made.as<INvVexaInfoCRaw>().CreateForWriter(stream_, namespaces_, objectWriter_);
    info_ = made;
  }
  return info_;
}

void CNvVexaDataWriterImpl::OpenBodyElement() {
  WriteBodyTag(stream_, true);
  bodyOpen_ = true;
}

void CNvVexaDataWriterImpl::CloseBodyElement() {
  if (!bodyOpen_) OpenBodyElement();
  WriteBodyTag(stream_, false);
}

}  // namespace nv
