#include "writer/object_stream_text.h"

#include <cstring>

#include "frame/exception.h"
#include "frame/text.h"
#include "values/byte_array.h"

namespace nv {

namespace {
// A buffer grown beyond this by one huge object is given back afterwards.
constexpr size_t kKeptCapacity = size_t{1} << 20;
}  // namespace

ObjectTextBuffer& ObjectTextBuffer::ForThisThread() {
  thread_local ObjectTextBuffer buffer;
  return buffer;
}

void ObjectTextBuffer::Begin() noexcept {
  text_.clear();
  if (text_.capacity() > kKeptCapacity) text_.shrink_to_fit();
}

void ObjectTextBuffer::WriteTo(const ComPtr<ITStream>& stream) {
  bytes_ = Utf16ToUtf8(text_);
  if (bytes_.size() > static_cast<size_t>(INT32_MAX)) throw ENvException("Object text too large");
  uint8_t* data = nullptr;
  Variant block = MakeByteArray(bytes_.size(), &data);
  if (!bytes_.empty()) std::memcpy(data, bytes_.data(), bytes_.size());
  stream.Write(block, static_cast<LONG>(bytes_.size()));
  if (bytes_.capacity() > kKeptCapacity) std::string().swap(bytes_);
}

}  // namespace nv
