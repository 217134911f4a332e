#include "schemadoc/document_stream.h"

#include <utility>

#include "archive/file_stream.h"
#include "archive/stream_text.h"

namespace nv {
namespace {

// The stream's create-or-truncate mode.
constexpr LONG kCreateMode = 0xFFFF;

}  // namespace

DocumentStream::DocumentStream(const Bstr& fileName) : stream_(CreateObject<TFileStream>()) {
  stream_.Create(fileName, kCreateMode);
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

}  // namespace nv
