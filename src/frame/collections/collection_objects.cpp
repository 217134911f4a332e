#include "frame/collections/collection_objects.h"

#include "frame/exception.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

namespace nv {
namespace {

bool BstrsEqual(BSTR a, BSTR b) {
  const UINT bytes = SysStringByteLen(a);
  if (bytes != SysStringByteLen(b)) return false;
  return bytes == 0 || std::memcmp(a, b, bytes) == 0;
}

bool DecimalsEqual(const DECIMAL& a, const DECIMAL& b) {
  static_assert(sizeof(DECIMAL) == 16);
  return std::memcmp(&a, &b, sizeof(DECIMAL)) == 0;
}

}  // namespace

bool VariantsEqual(const VARIANT& a, const VARIANT& b) {
  if (a.vt != b.vt) return false;
  switch (a.vt) {
    case VT_EMPTY:
    case VT_NULL: return true;
    case VT_I1: return a.cVal == b.cVal;
    case VT_UI1: return a.bVal == b.bVal;
    case VT_I2: return a.iVal == b.iVal;
    case VT_UI2: return a.uiVal == b.uiVal;
    case VT_I4: return a.lVal == b.lVal;
    case VT_UI4: return a.ulVal == b.ulVal;
    case VT_INT: return a.intVal == b.intVal;
    case VT_UINT: return a.uintVal == b.uintVal;
    case VT_BOOL: return a.boolVal == b.boolVal;
    case VT_ERROR: return a.scode == b.scode;
    case VT_CY: return a.cyVal.int64 == b.cyVal.int64;
    case VT_DATE: return a.date == b.date;
    case VT_R4: return a.fltVal == b.fltVal;
    case VT_R8: return a.dblVal == b.dblVal;
    case VT_BSTR: return BstrsEqual(a.bstrVal, b.bstrVal);
    case VT_UNKNOWN: return a.punkVal == b.punkVal;
    case VT_DISPATCH: return a.pdispVal == b.pdispVal;
    case VT_DECIMAL: return DecimalsEqual(a.decVal, b.decVal);
    default: throw ComError(E_INVALIDARG);
  }
}

int32_t CNvSimpleStringListImpl::Count() const { return list_.Count(); }

Bstr CNvSimpleStringListImpl::Item(int32_t index) const { return list_.Item(index); }

int32_t CNvSimpleStringListImpl::IndexOf(std::u16string_view key) const {
  return list_.IndexOf(key);
}

void CNvSimpleStringListImpl::Add(const Bstr& key) { list_.Add(key); }

void CNvSimpleStringListImpl::Delete(int32_t index) { list_.Delete(index); }

int32_t CNvStringList::Count() const { return static_cast<int32_t>(items_.size()); }

Bstr CNvStringList::Item(int32_t index) const {
  return InRange(index) ? items_[static_cast<size_t>(index)] : Bstr();
}

int32_t CNvStringList::IndexOf(std::u16string_view key) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (CompareKeys(items_[i], key) == 0) return static_cast<int32_t>(i);
  return -1;
}

void CNvStringList::Add(const Bstr& key) { items_.push_back(key); }

void CNvStringList::Delete(int32_t index) {
  if (InRange(index)) items_.erase(items_.begin() + index);
}

void CNvStringList::Clear() { items_.clear(); }

Variant CNvCollectionImpl::Item(int32_t index) const {
  if (index < 0 || index >= Count()) return Variant();
  return items_[static_cast<size_t>(index)];
}

void CNvCollectionImpl::PutItem(int32_t index, const VARIANT& value) {
  // Callers keep the index within 0..Count(); anything else is refused rather
  // than left to corrupt the array.
  if (index < 0 || index > Count()) throw ComError(E_INVALIDARG);
  items_.insert(items_.begin() + index, Variant(value));
}

void CNvCollectionImpl::Add(const VARIANT& value) { items_.emplace_back(value); }

int32_t CNvCollectionImpl::IndexOf(const VARIANT& value) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (VariantsEqual(items_[i], value)) return static_cast<int32_t>(i);
  return -1;
}

void CNvCollectionImpl::Clear() noexcept { items_.clear(); }

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
