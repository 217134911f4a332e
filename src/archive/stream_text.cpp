#include "archive/stream_text.h"

#include "frame/exception.h"
#include "frame/text.h"
#include "values/binary_text.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace nv {

namespace {

// The byte array handed to streams. It is reused from write to write on a
// thread, so writing many small texts (one per object) allocates nothing.
class ByteBlock {
 public:
  static ByteBlock& ForThisThread() {
    thread_local ByteBlock block;
    return block;
  }

  // Room for `size` bytes.
  char* Reserve(size_t size) {
    if (size > static_cast<size_t>(std::numeric_limits<LONG>::max()))
      throw ENvException("The text to write is too long");
    if (size > capacity_) {
      capacity_ = std::max(size, kFirstCapacity);
      uint8_t* data = nullptr;
      bytes_ = MakeByteArray(capacity_, &data);
      data_ = reinterpret_cast<char*>(data);
    }
    return data_;
  }

  void WriteEmptyTo(const ComPtr<ITStream>& stream) { stream.Write(bytes_, 0); }

  // Hands the first `size` bytes to the stream; gives back a block grown
  // beyond the usual by one huge text.
  void WriteTo(const ComPtr<ITStream>& stream, size_t size) {
    if (size > 0) stream.Write(bytes_, static_cast<LONG>(size));
    if (capacity_ > kKeptCapacity) *this = ByteBlock();
  }

 private:
  static constexpr size_t kFirstCapacity = size_t{1} << 14;
  static constexpr size_t kKeptCapacity = size_t{1} << 20;

  Variant bytes_;
  char* data_ = nullptr;
  size_t capacity_ = 0;
};

}  // namespace

void WriteUtf8(const ComPtr<ITStream>& stream, std::string_view text) {
  ByteBlock& block = ByteBlock::ForThisThread();
  std::memcpy(block.Reserve(text.size()), text.data(), text.size());
  block.WriteTo(stream, text.size());
}

void ThrowIfStreamFailed(const ComPtr<ITStream>& stream) {
  // Writing nothing still answers with the failure of a failed stream.
  ByteBlock& block = ByteBlock::ForThisThread();
  block.Reserve(1);  // the stream takes a byte array, even an empty one
  block.WriteEmptyTo(stream);
}

void WriteText(const ComPtr<ITStream>& stream, std::u16string_view text) {
  ByteBlock& block = ByteBlock::ForThisThread();
  const size_t size = EncodeUtf8(text, block.Reserve(text.size() * kMaxUtf8PerUtf16));
  block.WriteTo(stream, size);
}

}  // namespace nv
