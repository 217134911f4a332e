// Binary values: byte arrays in variants and their hexadecimal and base64 texts.
#pragma once

#include "frame/automation/automation_api.h"
#include "frame/variant.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace nv {

// Byte arrays in variants: the form binary values take in the API.

// Holds the data of a one-dimensional byte array variant locked while it
// reads them. Accepts VT_ARRAY|VT_UI1 and the bare VT_ARRAY arrays whose
// element type is VT_UI1; anything else throws ENvException "Expecting
// array of byte".
class ByteArrayView {
 public:
  explicit ByteArrayView(const VARIANT& value);
  ~ByteArrayView();
  ByteArrayView(const ByteArrayView&) = delete;
  ByteArrayView& operator=(const ByteArrayView&) = delete;

  std::span<const uint8_t> Bytes() const noexcept { return bytes_; }

 private:
  SAFEARRAY* array_ = nullptr;
  std::span<const uint8_t> bytes_;
};

// A VT_ARRAY|VT_UI1 variant of `count` bytes indexed from 0, and the
// address of its data (valid while the variant holds the array).
Variant MakeByteArray(size_t count, uint8_t** data);

// Hexadecimal text for hexBinary values: written in upper case, read in
// either case.

void AppendHex(std::u16string& out, std::span<const uint8_t> bytes);

// The bytes of a hexadecimal text as a VT_ARRAY|VT_UI1 variant; throws the
// invalid-value failure of hexBinary for an odd length or a non-hex digit.
Variant DecodeHex(std::u16string_view text);

// Standard base64 (RFC 4648 alphabet, "=" padding) for base64Binary values.

void AppendBase64(std::u16string& out, std::span<const uint8_t> bytes);

// The bytes of a base64 text as a VT_ARRAY|VT_UI1 variant. Characters
// outside the alphabet ("=", blanks, line breaks, anything else) are
// skipped; a trailing partial group gives only its whole bytes.
Variant DecodeBase64(std::u16string_view text);

}  // namespace nv
