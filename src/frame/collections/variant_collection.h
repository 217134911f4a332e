// CNvCollectionImpl: the implementation behind the variant collection
// interface object; a dense array of full variant copies. Exceptions pass
// through to the calling code unchanged.
#pragma once

#include "frame/automation/automation_api.h"
#include "frame/variant.h"

#include <cstdint>
#include <vector>

namespace nv {

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

}  // namespace nv
