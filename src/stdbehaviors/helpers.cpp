#include "stdbehaviors/helpers.h"

#include "frame/exception.h"
#include "platform/http.h"
#include "stdbehaviors/behavior_views.h"
#include "stdbehaviors/change_tracking.h"
#include "stdbehaviors/files.h"

namespace nv {
namespace {

// The member made on first access with `make`, and kept.
template <typename I, typename Make>
const ComPtr<I>& Kept(ComPtr<I>& member, Make make) {
  if (!member) member = make();
  return member;
}

}  // namespace

CNvVexaWriterHelperImpl::CNvVexaWriterHelperImpl(ComPtr<INvVexaWriter> writer)
    : writer_(std::move(writer)) {
  if (!writer_) throw ComError(E_POINTER);
}

ComPtr<INvVexaFileWriter> CNvVexaWriterHelperImpl::FileWriter() {
  return Kept(fileWriter_, [&] { return NewFileWriter(writer_); });
}

ComPtr<INvVexaChangeWriter> CNvVexaWriterHelperImpl::ChangeWriter() {
  return Kept(changeWriter_, [&] { return NewChangeWriter(writer_); });
}

Bstr CNvVexaWriterHelperImpl::DetectFileMimeType(const BstrArg& fileName) {
  return HttpUtils().MimeTypeOf(Bstr(fileName));
}

ComPtr<INvVexaVersioningWriter> CNvVexaWriterHelperImpl::VersioningWriter() {
  return Kept(versioningWriter_, [] { return CreateObject<CNvVexaVersioningWriter>(); });
}

ComPtr<INvVexaTimeStampWriter> CNvVexaWriterHelperImpl::TimeStampWriter() {
  return Kept(timeStampWriter_, [] { return CreateObject<CNvVexaTimeStampWriter>(); });
}

CNvVexaReaderHelperImpl::CNvVexaReaderHelperImpl(ComPtr<INvVexaReader> reader)
    : reader_(std::move(reader)) {
  if (!reader_) throw ComError(E_POINTER);
}

ComPtr<INvVexaFileReader> CNvVexaReaderHelperImpl::FileReader() {
  return Kept(fileReader_, [&] { return NewFileReader(reader_); });
}

ComPtr<INvVexaChangeReader> CNvVexaReaderHelperImpl::ChangeReader() {
  return Kept(changeReader_, [&] { return NewChangeReader(reader_); });
}

ComPtr<INvVexaVersioningReader> CNvVexaReaderHelperImpl::VersioningReader() {
  return Kept(versioningReader_, [] { return CreateObject<CNvVexaVersioningReader>(); });
}

ComPtr<INvVexaTimeStampReader> CNvVexaReaderHelperImpl::TimeStampReader() {
  return Kept(timeStampReader_, [] { return CreateObject<CNvVexaTimeStampReader>(); });
}

}  // namespace nv
