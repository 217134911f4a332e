// GUID text conversions and task memory of the automation layer, plus the
// UTF-8 helpers of frame/guid_text.h that they are built on.
#include "frame/text.h"

#include <uuid/uuid.h>

#include <cstdio>
#include <cstdlib>

namespace nv {
namespace {

// Buffer for the text form including its NUL.
using GuidChars = char[kGuidTextLength + 1];

void FormatGuid(const GUID& g, GuidChars& out) {
  std::snprintf(out, sizeof out, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(g.Data1), static_cast<unsigned>(g.Data2),
                static_cast<unsigned>(g.Data3), g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3],
                g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads `count` hexadecimal digits starting at `pos`.
bool ReadHex(std::string_view text, size_t pos, int count, uint64_t& value) {
  value = 0;
  for (int i = 0; i < count; ++i) {
    const int digit = HexDigitValue(text[pos + i]);
    if (digit < 0) return false;
    value = value << 4 | static_cast<uint64_t>(digit);
  }
  return true;
}

bool HasGuidPunctuation(std::string_view t) {
  return t.size() == kGuidTextLength && t.front() == '{' && t.back() == '}' && t[9] == '-' &&
         t[14] == '-' && t[19] == '-' && t[24] == '-';
}

// Copies NUL-terminated UTF-16 into `out` when it is exactly as long as the
// GUID text form. Characters outside ASCII become '?', which no parse accepts.
bool NarrowGuidText(LPCOLESTR text, GuidChars& out) {
  size_t n = 0;
  for (; n <= kGuidTextLength && text[n] != u'\0'; ++n)
    out[n] = text[n] < 0x80 ? static_cast<char>(text[n]) : '?';
  return n == kGuidTextLength;
}

HRESULT GuidFromOleText(LPCOLESTR text, GUID* guid, HRESULT badText) {
  if (guid == nullptr) return E_INVALIDARG;
  // A null string stands for the null GUID, as on Windows.
  if (text == nullptr) {
    *guid = GUID_NULL;
    return S_OK;
  }
  GuidChars narrow;
  if (NarrowGuidText(text, narrow) && ParseGuid({narrow, kGuidTextLength}, *guid)) return S_OK;
  *guid = GUID_NULL;
  return badText;
}

}  // namespace

std::string GuidToString(const GUID& guid) {
  GuidChars text;
  FormatGuid(guid, text);
  return text;
}

bool ParseGuid(std::string_view text, GUID& guid) {
  if (!HasGuidPunctuation(text)) return false;
  uint64_t d1, d2, d3, d4High, d4Low;
  if (!ReadHex(text, 1, 8, d1) || !ReadHex(text, 10, 4, d2) || !ReadHex(text, 15, 4, d3) ||
      !ReadHex(text, 20, 4, d4High) || !ReadHex(text, 25, 12, d4Low))
    return false;
  guid.Data1 = static_cast<uint32_t>(d1);
  guid.Data2 = static_cast<uint16_t>(d2);
  guid.Data3 = static_cast<uint16_t>(d3);
  guid.Data4[0] = static_cast<uint8_t>(d4High >> 8);
  guid.Data4[1] = static_cast<uint8_t>(d4High);
  for (int i = 0; i < 6; ++i) guid.Data4[2 + i] = static_cast<uint8_t>(d4Low >> (8 * (5 - i)));
  return true;
}

GUID NewGuid() {
  uuid_t bytes;
  uuid_generate(bytes);
  // The leading fields are printed as big-endian numbers, so read them so.
  GUID guid;
  guid.Data1 = static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
               static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
  guid.Data2 = static_cast<uint16_t>(bytes[4] << 8 | bytes[5]);
  guid.Data3 = static_cast<uint16_t>(bytes[6] << 8 | bytes[7]);
  for (int i = 0; i < 8; ++i) guid.Data4[i] = bytes[8 + i];
  return guid;
}

std::string NewGuidText() {
  const std::string braced = GuidToString(NewGuid());
  return braced.substr(1, braced.size() - 2);
}

}  // namespace nv

NVAPI INT StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, INT cchMax) {
  if (lpsz == nullptr || cchMax < static_cast<INT>(nv::kGuidTextLength + 1)) return 0;
  nv::GuidChars text;
  nv::FormatGuid(rguid, text);
  for (size_t i = 0; i <= nv::kGuidTextLength; ++i) lpsz[i] = static_cast<OLECHAR>(text[i]);
  return static_cast<INT>(nv::kGuidTextLength + 1);
}

NVAPI HRESULT CLSIDFromString(LPCOLESTR lpsz, CLSID* pclsid) {
  return nv::GuidFromOleText(lpsz, pclsid, CO_E_CLASSSTRING);
}

NVAPI HRESULT IIDFromString(LPCOLESTR lpsz, IID* lpiid) {
  return nv::GuidFromOleText(lpsz, lpiid, E_INVALIDARG);
}

NVAPI void* CoTaskMemAlloc(size_t cb) { return std::malloc(cb); }

NVAPI void CoTaskMemFree(void* pv) { std::free(pv); }
