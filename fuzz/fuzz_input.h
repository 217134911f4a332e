// The fuzz input taken apart from the front: numbers, flags and byte
// strings. The targets' own splitter rather than libFuzzer's, so that the
// same input means the same thing when a GCC build replays the corpus.
#pragma once

#include <cstdint>
#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

namespace nv_fuzz {

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : at_(data), left_(size) {}

  size_t remaining_bytes() const { return left_; }

  bool ConsumeBool() { return Byte() & 1; }

  // A number in [low, high] from as many bytes as the range needs; 0 past the end.
  template <class T>
  T ConsumeIntegralInRange(T low, T high) {
    const uint64_t range = static_cast<uint64_t>(high) - static_cast<uint64_t>(low);
    uint64_t value = 0;
    for (uint64_t span = range; span != 0; span >>= 8) value = value << 8 | Byte();
    if (range != UINT64_MAX) value %= range + 1;
    return static_cast<T>(static_cast<uint64_t>(low) + value);
  }

  template <class T>
  T ConsumeIntegral() {
    return ConsumeIntegralInRange<T>(std::numeric_limits<T>::min(), std::numeric_limits<T>::max());
  }

  // Any double, NaNs and infinities included.
  template <class T>
  T ConsumeFloatingPoint() {
    static_assert(sizeof(T) == sizeof(uint64_t));
    const uint64_t bits = ConsumeIntegral<uint64_t>();
    T value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }

  // Up to `most` bytes, the length first.
  std::string ConsumeRandomLengthString(size_t most) {
    const size_t length = std::min(ConsumeIntegralInRange<size_t>(0, most), left_);
    std::string bytes(reinterpret_cast<const char*>(at_), length);
    at_ += length;
    left_ -= length;
    return bytes;
  }

 private:
  uint8_t Byte() {
    if (left_ == 0) return 0;
    --left_;
    return *at_++;
  }

  const uint8_t* at_;
  size_t left_;
};

}  // namespace nv_fuzz
