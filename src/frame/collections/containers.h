// Containers of the library's collections: the interface list and the sorted
// dictionary with its key order.
#pragma once

#include "frame/automation/automation_api.h"
#include "frame/bstr.h"
#include "frame/com_ptr.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

namespace nv {

// Throw the lists' messages for an index outside 0..count-1.
void CheckItemIndex(int32_t index, size_t count);
void CheckRemoveIndex(int32_t index, size_t count);

// The one key order of the library's collections: CompareKeys (null and empty
// alike and first, then unsigned code units, a prefix before its extensions).
// Transparent, so lookups by a string view need no Bstr allocation.

struct KeyLess {
  using is_transparent = void;

  bool operator()(std::u16string_view a, std::u16string_view b) const noexcept {
    return CompareKeys(a, b) < 0;
  }
};

// CNvDictionary: one value per string key, visited in key order (KeyLess),
// never in insertion order. Lookups are exact and case-sensitive.

template <class V>
class CNvDictionary {
 public:
  using Map = std::map<Bstr, V, KeyLess>;
  using const_iterator = typename Map::const_iterator;

  CNvDictionary() = default;
  CNvDictionary(const CNvDictionary&) = default;
  CNvDictionary& operator=(const CNvDictionary&) = default;
  virtual ~CNvDictionary() = default;

  // A key already present keeps its first value; the new one is dropped
  // silently, so owners that must reject duplicates test Exists first.
  void Add(const Bstr& key, V value) { entries_.try_emplace(key, std::move(value)); }

  // The value of `key`, or the empty value (default-constructed V) if absent.
  V Get(std::u16string_view key) const {
    const auto found = entries_.find(key);
    return found == entries_.end() ? V{} : found->second;
  }

  bool Exists(std::u16string_view key) const { return entries_.find(key) != entries_.end(); }
  int32_t Count() const noexcept { return static_cast<int32_t>(entries_.size()); }

  // Empties the dictionary before releasing anything, so a value whose release
  // calls back into the owner already finds the dictionary cleared.
  void Clear() noexcept {
    Map released;
    released.swap(entries_);
  }

  const_iterator begin() const noexcept { return entries_.begin(); }
  const_iterator end() const noexcept { return entries_.end(); }

 private:
  Map entries_;
};

// CNvInterfaceList: a dense, growable array of counted IUnknown references.
// Elements are kept as the bare interface; owners ask each element for the
// interface they need (ItemAs).

class CNvInterfaceList {
 public:
  CNvInterfaceList() = default;
  CNvInterfaceList(const CNvInterfaceList&) = delete;
  CNvInterfaceList& operator=(const CNvInterfaceList&) = delete;
  ~CNvInterfaceList() { Clear(); }

  int32_t Count() const noexcept { return static_cast<int32_t>(items_.size()); }

  // Appends `item` (null is stored as null) and answers its index.
  int32_t Add(IUnknown* item);

  // Throws ENvException for an index outside 0..Count()-1.
  ComPtr<IUnknown> Item(int32_t index) const;

  // The element queried for I; throws when it is null or lacks I.
  template <class I>
  ComPtr<I> ItemAs(int32_t index) const {
    return Item(index).template as<I>();
  }

  // Throws ENvException for an index outside 0..Count()-1.
  void Remove(int32_t index);

  // Releases the elements from the last to the first, then empties the list.
  void Clear() noexcept;

 private:
  std::vector<ComPtr<IUnknown>> items_;
};

}  // namespace nv
