// CNvDictionary: one value per string key, visited in key order (KeyLess),
// never in insertion order. Lookups are exact and case-sensitive.
#pragma once

#include "frame/bstr.h"
#include "frame/collections/key_less.h"

#include <cstdint>
#include <map>
#include <string_view>
#include <utility>

namespace nv {

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

}  // namespace nv
