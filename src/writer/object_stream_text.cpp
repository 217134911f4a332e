#include "writer/object_stream_text.h"

#include "archive/stream_text.h"

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

void ObjectTextBuffer::WriteTo(const ComPtr<ITStream>& stream) { WriteText(stream, text_); }

}  // namespace nv
