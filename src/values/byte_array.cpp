#include "values/byte_array.h"

#include "frame/exception.h"

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

}  // namespace nv
