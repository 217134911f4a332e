// The shared collection objects: string lists, the variant collection and
// array, and the variant equality they compare with.
#pragma once

#include "frame/automation/automation_api.h"
#include "frame/bstr.h"
#include "frame/implements.h"
#include "frame/variant.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace nv {

// CNvStringList: a dense, growable array of strings. Bad indexes never fail:
// Item yields an empty string and Delete does nothing. The virtual members
// keep their declared order (destructor, Count, Item, IndexOf, Add, Delete,
// Clear) because other objects rely on that layout.

class CNvStringList {
 public:
  CNvStringList() = default;
  CNvStringList(const CNvStringList&) = default;
  CNvStringList& operator=(const CNvStringList&) = default;
  virtual ~CNvStringList() = default;

  virtual int32_t Count() const;
  virtual Bstr Item(int32_t index) const;
  // First index holding exactly `key` (case-sensitive), or -1.
  virtual int32_t IndexOf(std::u16string_view key) const;
  // Duplicates are allowed.
  virtual void Add(const Bstr& key);
  virtual void Delete(int32_t index);
  virtual void Clear();

 private:
  bool InRange(int32_t index) const noexcept {
    return index >= 0 && static_cast<size_t>(index) < items_.size();
  }

  std::vector<Bstr> items_;
};

// CNvSimpleStringListImpl: the implementation behind the simple string list
// interface object; it owns one CNvStringList and forwards to it.

class CNvSimpleStringListImpl {
 public:
  virtual ~CNvSimpleStringListImpl() = default;

  int32_t Count() const;
  Bstr Item(int32_t index) const;
  int32_t IndexOf(std::u16string_view key) const;
  void Add(const Bstr& key);
  void Delete(int32_t index);

 private:
  CNvStringList list_;
};

// CNvCollectionImpl: the implementation behind the variant collection
// interface object; a dense array of full variant copies. Exceptions pass
// through to the calling code unchanged.

class CNvCollectionImpl {
 public:
  virtual ~CNvCollectionImpl() = default;

  int32_t Count() const noexcept { return static_cast<int32_t>(items_.size()); }
  // A copy of the element; an empty variant for an index out of range.
  Variant Item(int32_t index) const;
  // Inserts a copy at `index` (0..Count()); later elements move up.
  void PutItem(int32_t index, const VARIANT& value);
  void Add(const VARIANT& value);
  // First index equal under VariantsEqual, or -1.
  int32_t IndexOf(const VARIANT& value) const;
  void Clear() noexcept;

 private:
  std::vector<Variant> items_;
};

// The interface objects that expose the variant collection and the simple
// string list to other objects of the library.

class CNvCollection final
    : public Implements<CNvCollection, CNvCollectionImpl, INvVariantCollection> {};

class CNvSimpleStringList final
    : public Implements<CNvSimpleStringList, CNvSimpleStringListImpl, INvSimpleStringList> {};

// Equality of two variants as IndexOf of the variant collection sees it.

// False when the variant types differ (no conversion: I2 1 is not I4 1).
// For one shared type: empty/null always equal; integers, booleans, error
// codes, currency and dates by value; R4/R8 numerically; strings by byte
// length and bytes; interfaces by pointer identity; decimals by all 16 bytes.
// Any other shared type (arrays, by-reference, records, 64-bit integers)
// throws ComError(E_INVALIDARG).
bool VariantsEqual(const VARIANT& a, const VARIANT& b);

// One-dimensional variant arrays for the value conversions. The variant's
// type word is exactly VT_ARRAY (no element type bits); the element type
// lives in the array itself, which is also what VariantClear relies on.

// A new array of `elementType` indexed 0..highBound. Throws ENvException when
// lowBound is not 0.
Variant VarArrayCreateOneDim(LONG lowBound, LONG highBound, VARTYPE elementType);

// Locks the array and answers its first element. Throws ENvException when
// the type word is not exactly VT_ARRAY.
void* VarArrayLock(VARIANT& array);
void VarArrayUnlock(VARIANT& array);

// Replaces the array by a byte array of `count` elements holding the leading
// bytes of the old data; unchanged when the element count is already `count`.
void VarArrayRedimBytes(VARIANT& array, LONG count);

}  // namespace nv
