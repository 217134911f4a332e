#include "values/hex.h"

#include "values/byte_array.h"
#include "values/invalid_value.h"

namespace nv {
namespace {

constexpr char16_t kDigits[] = u"0123456789ABCDEF";

int NibbleOf(char16_t c) noexcept {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

}  // namespace

void AppendHex(std::u16string& out, std::span<const uint8_t> bytes) {
  out.reserve(out.size() + 2 * bytes.size());
  for (uint8_t byte : bytes) {
    out += kDigits[byte >> 4];
    out += kDigits[byte & 15];
  }
}

Variant DecodeHex(std::u16string_view text) {
  if (text.size() % 2 != 0) ThrowInvalidValue(text, dtHexBinary);
  uint8_t* data = nullptr;
  Variant result = MakeByteArray(text.size() / 2, &data);
  for (size_t at = 0; at < text.size(); at += 2) {
    const int high = NibbleOf(text[at]);
    const int low = NibbleOf(text[at + 1]);
    if (high < 0 || low < 0) ThrowInvalidValue(text, dtHexBinary);
    *data++ = static_cast<uint8_t>(high << 4 | low);
  }
  return result;
}

}  // namespace nv
