#include "frame/collections/variant_collection.h"

#include "frame/collections/variant_equality.h"
#include "frame/exception.h"

namespace nv {

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

}  // namespace nv
