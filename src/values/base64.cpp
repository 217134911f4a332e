#include "values/base64.h"

#include "values/byte_array.h"

#include <array>

namespace nv {
namespace {

constexpr char16_t kAlphabet[] =
    u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr int8_t kNotInAlphabet = -1;

constexpr std::array<int8_t, 128> MakeSextets() {
  std::array<int8_t, 128> table{};
  table.fill(kNotInAlphabet);
  for (int k = 0; k < 64; ++k) table[kAlphabet[k]] = static_cast<int8_t>(k);
  return table;
}
constexpr std::array<int8_t, 128> kSextets = MakeSextets();

int SextetOf(char16_t c) noexcept { return c < 128 ? kSextets[c] : kNotInAlphabet; }

}  // namespace

void AppendBase64(std::u16string& out, std::span<const uint8_t> bytes) {
  out.reserve(out.size() + (bytes.size() + 2) / 3 * 4);
  size_t at = 0;
  for (; at + 3 <= bytes.size(); at += 3) {
    const uint32_t group = (bytes[at] << 16) | (bytes[at + 1] << 8) | bytes[at + 2];
    out += kAlphabet[group >> 18];
    out += kAlphabet[(group >> 12) & 63];
    out += kAlphabet[(group >> 6) & 63];
    out += kAlphabet[group & 63];
  }
  const size_t left = bytes.size() - at;
  if (left == 0) return;
  const uint32_t group = (bytes[at] << 16) | (left == 2 ? bytes[at + 1] << 8 : 0);
  out += kAlphabet[group >> 18];
  out += kAlphabet[(group >> 12) & 63];
  out += left == 2 ? kAlphabet[(group >> 6) & 63] : u'=';
  out += u'=';
}

Variant DecodeBase64(std::u16string_view text) {
  size_t sextets = 0;
  for (char16_t c : text) sextets += SextetOf(c) != kNotInAlphabet;
  uint8_t* data = nullptr;
  Variant result = MakeByteArray(sextets * 6 / 8, &data);
  uint32_t bits = 0;
  int bitCount = 0;
  for (char16_t c : text) {
    const int sextet = SextetOf(c);
    if (sextet == kNotInAlphabet) continue;
    bits = (bits << 6) | static_cast<uint32_t>(sextet);
    bitCount += 6;
    if (bitCount >= 8) {
      bitCount -= 8;
      *data++ = static_cast<uint8_t>(bits >> bitCount);
    }
  }
  return result;
}

}  // namespace nv
