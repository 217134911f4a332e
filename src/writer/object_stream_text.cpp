#include "writer/object_stream_text.h"

#include "archive/stream_text.h"
#include "frame/text.h"

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
  bytes_.clear();
  AppendUtf16AsUtf8(bytes_, text_);
  WriteUtf8(stream, bytes_);
  if (bytes_.capacity() > kKeptCapacity) std::string().swap(bytes_);
}

}  // namespace nv
