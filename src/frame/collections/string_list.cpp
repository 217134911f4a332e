#include "frame/collections/string_list.h"

namespace nv {

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

}  // namespace nv
