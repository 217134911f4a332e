// CNvInterfaceList: a dense, growable array of counted IUnknown references.
// Elements are kept as the bare interface; owners ask each element for the
// interface they need (ItemAs).
#pragma once

#include "frame/automation/automation_api.h"
#include "frame/com_ptr.h"

#include <cstdint>
#include <vector>

namespace nv {

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
  bool InRange(int32_t index) const noexcept { return index >= 0 && index < Count(); }

  std::vector<ComPtr<IUnknown>> items_;
};

}  // namespace nv
