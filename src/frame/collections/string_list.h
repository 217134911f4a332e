// CNvStringList: a dense, growable array of strings. Bad indexes never fail:
// Item yields an empty string and Delete does nothing. The virtual members
// keep their declared order (destructor, Count, Item, IndexOf, Add, Delete,
// Clear) because other objects rely on that layout.
#pragma once

#include "frame/bstr.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace nv {

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

}  // namespace nv
