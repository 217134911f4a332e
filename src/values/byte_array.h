// Byte arrays in variants: the form binary values take in the API.
#pragma once

#include "frame/automation/automation_api.h"
#include "frame/variant.h"

#include <cstdint>
#include <span>

namespace nv {

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

}  // namespace nv
