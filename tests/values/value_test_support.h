// Shared helpers of the value tests: byte arrays, dates and failure messages.
#pragma once

#include "frame/text.h"
#include "frame/variant.h"
#include "support/failure_of.h"
#include "values/binary_text.h"
#include "values/date_text.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace nv::test {

using Bytes = std::vector<uint8_t>;

inline Variant ByteArray(std::initializer_list<uint8_t> bytes) {
  uint8_t* data = nullptr;
  Variant made = MakeByteArray(bytes.size(), &data);
  for (uint8_t b : bytes) *data++ = b;
  return made;
}

inline Bytes BytesOf(const VARIANT& value) {
  ByteArrayView view(value);
  return {view.Bytes().begin(), view.Bytes().end()};
}

inline DATE At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  return CombineDateAndTime(EncodeDate(y, mo, d), EncodeTime(h, mi, s, ms));
}

inline std::string Utf8(std::u16string_view text) { return Utf16ToUtf8(text); }

using nv_test::FailureOf;

}  // namespace nv::test
