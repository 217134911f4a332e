#include "schemadoc/document_stream.h"

#include <cstring>
#include <limits>
#include <utility>

#include "archive/file_stream.h"
#include "frame/text.h"
#include "values/byte_array.h"

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

void DocumentStream::Write(std::u16string_view text) { WriteUtf8(Utf16ToUtf8(text)); }

void DocumentStream::WriteUtf8(std::string_view text) {
  if (text.empty()) return;
  if (text.size() > static_cast<size_t>(std::numeric_limits<LONG>::max()))
    throw ENvException("The text to write is too long");
  // Handed over as bytes: the stream writes them without another conversion.
  uint8_t* data = nullptr;
  const Variant buffer = MakeByteArray(text.size(), &data);
  std::memcpy(data, text.data(), text.size());
  stream_.Write(buffer, static_cast<LONG>(text.size()));
}

void DocumentStream::Close() {
  ComPtr<ITStream> stream = std::move(stream_);
  stream.Free();
}

}  // namespace nv
