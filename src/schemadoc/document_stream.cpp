#include "schemadoc/document_stream.h"

#include <system_error>
#include <utility>

#include "archive/streams.h"
#include "frame/exception.h"

namespace nv {
namespace {

// The stream's create-or-truncate mode.
constexpr LONG kCreateMode = 0xFFFF;

[[noreturn]] void ThrowCannotCreate(const Bstr& fileName, const std::system_error& e) {
  throw ENvException(u"Cannot create file " + fileName + u": " +
                     Bstr::FromUtf8(e.code().message()));
}

}  // namespace

DocumentStream::DocumentStream(const Bstr& fileName) : fileName_(fileName) {
  try {
    file_.emplace(fileName.View());
  } catch (const std::system_error& e) {
    ThrowCannotCreate(fileName, e);
  }
  // Failures name the document, not its temporary file.
  stream_ = CreateObject<TFileStream>(u"file " + std::u16string(fileName.View()));
  stream_.Create(Bstr::FromUtf8(file_->Path()), kCreateMode);
}

DocumentStream::~DocumentStream() {
  if (!stream_) return;
  try {
    stream_.Free();
  } catch (...) {
  }
}

void DocumentStream::Write(std::u16string_view text) { WriteText(stream_, text); }

void DocumentStream::WriteUtf8(std::string_view text) { nv::WriteUtf8(stream_, text); }

void DocumentStream::Close() {
  ComPtr<ITStream> stream = std::move(stream_);
  stream.Free();
}

void DocumentStream::Place() {
  try {
    file_->ReplaceTarget();
  } catch (const std::system_error& e) {
    ThrowCannotCreate(fileName_, e);
  }
}

void DocumentSet::Place() {
  for (DocumentStream& document : documents_) document.Place();
}

}  // namespace nv
