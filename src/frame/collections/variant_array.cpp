#include "frame/collections/variant_array.h"

#include "frame/exception.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

namespace nv {
namespace {

struct ArrayDestroyer {
  void operator()(SAFEARRAY* array) const noexcept { SafeArrayDestroy(array); }
};
using OwnedArray = std::unique_ptr<SAFEARRAY, ArrayDestroyer>;

OwnedArray NewVector(VARTYPE elementType, int64_t count) {
  if (count < 0 || count > INT32_MAX) throw ComError(E_INVALIDARG);
  // The runtime answers null both for lack of memory and for an element type
  // it cannot hold; the library only asks for types it can hold.
  OwnedArray made(SafeArrayCreateVector(elementType, 0, static_cast<ULONG>(count)));
  if (!made) throw ComError(E_OUTOFMEMORY);
  return made;
}

SAFEARRAY* ArrayOf(const VARIANT& array) {
  if (array.vt != VT_ARRAY) throw ENvException("VarArrayLock - variant is not an array");
  return array.parray;
}

// Total bytes of a one-dimensional array's data.
size_t DataBytes(const SAFEARRAY* array) {
  return static_cast<size_t>(array->rgsabound[0].cElements) * array->cbElements;
}

}  // namespace

Variant VarArrayCreateOneDim(LONG lowBound, LONG highBound, VARTYPE elementType) {
  if (lowBound != 0) throw ENvException("VarArrayCreateOneDim - low bound must be 0");
  OwnedArray made = NewVector(elementType, int64_t{highBound} + 1);
  Variant result;
  result.vt = VT_ARRAY;
  result.parray = made.release();
  return result;
}

void* VarArrayLock(VARIANT& array) {
  void* data = nullptr;
  Check(SafeArrayAccessData(ArrayOf(array), &data));
  return data;
}

void VarArrayUnlock(VARIANT& array) { Check(SafeArrayUnaccessData(ArrayOf(array))); }

void VarArrayRedimBytes(VARIANT& array, LONG count) {
  SAFEARRAY* old = ArrayOf(array);
  if (old != nullptr && old->rgsabound[0].cElements == static_cast<ULONG>(count)) return;
  OwnedArray made = NewVector(VT_UI1, count);
  // Never read past the old data: a larger array keeps its zeroed tail.
  const size_t copied =
      old == nullptr ? 0 : std::min(static_cast<size_t>(count), DataBytes(old));
  if (copied > 0) {
    const void* from = VarArrayLock(array);
    std::memcpy(made->pvData, from, copied);
    VarArrayUnlock(array);
  }
  Check(SafeArrayDestroy(old));
  array.parray = made.release();
}

}  // namespace nv
