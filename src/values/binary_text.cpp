#include "values/binary_text.h"

#include "frame/exception.h"
#include "values/data_type_names.h"

#include <array>
#include <cstdint>

namespace nv {
namespace {

bool HoldsBytes(const VARIANT& value) noexcept {
  if (value.vt != (VT_ARRAY | VT_UI1) && value.vt != VT_ARRAY) return false;
  SAFEARRAY* array = value.parray;
  if (array == nullptr || SafeArrayGetDim(array) != 1 || array->cbElements != 1) return false;
  if (value.vt == (VT_ARRAY | VT_UI1)) return true;
  VARTYPE element = VT_EMPTY;
  return SUCCEEDED(SafeArrayGetVartype(array, &element)) && element == VT_UI1;
}

}  // namespace

ByteArrayView::ByteArrayView(const VARIANT& value) {
  if (!HoldsBytes(value)) throw ENvException("Expecting array of byte");
  void* data = nullptr;
  Check(SafeArrayAccessData(value.parray, &data));
  array_ = value.parray;
  bytes_ =
      std::span<const uint8_t>(static_cast<const uint8_t*>(data), array_->rgsabound[0].cElements);
}

ByteArrayView::~ByteArrayView() { SafeArrayUnaccessData(array_); }

Variant MakeByteArray(size_t count, uint8_t** data) {
  if (count > INT32_MAX) throw ComError(E_OUTOFMEMORY);
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(count));
  if (array == nullptr) throw ComError(E_OUTOFMEMORY);
  Variant result;
  result.vt = VT_ARRAY | VT_UI1;
  result.parray = array;
  *data = static_cast<uint8_t*>(array->pvData);
  return result;
}

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
