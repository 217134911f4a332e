#include "writer/object_stream_text.h"

#include <algorithm>
#include <limits>

#include "frame/exception.h"
#include "frame/text.h"
#include "values/byte_array.h"

namespace nv {

namespace {
// A buffer grown beyond this by one huge object is given back afterwards.
constexpr size_t kKeptCapacity = size_t{1} << 20;
constexpr size_t kFirstCapacity = size_t{1} << 14;
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
  const size_t needed = text_.size() * kMaxUtf8PerUtf16;
  if (needed > static_cast<size_t>(std::numeric_limits<LONG>::max()))
    throw ENvException("The text to write is too long");
  if (needed > capacity_) {
    capacity_ = std::max(needed, kFirstCapacity);
    uint8_t* data = nullptr;
    bytes_ = MakeByteArray(capacity_, &data);
    data_ = reinterpret_cast<char*>(data);
  }
  const size_t length = EncodeUtf8(text_, data_);
  if (length > 0) stream.Write(bytes_, static_cast<LONG>(length));
  if (capacity_ > kKeptCapacity) {
    bytes_ = Variant();
    data_ = nullptr;
    capacity_ = 0;
  }
}

}  // namespace nv
