#include "frame/collections/containers.h"

#include "frame/exception.h"

#include <utility>

namespace nv {
namespace {

bool InRange(int32_t index, size_t count) noexcept {
  return index >= 0 && static_cast<size_t>(index) < count;
}

}  // namespace

void CheckItemIndex(int32_t index, size_t count) {
  if (!InRange(index, count)) throw ENvException("Illegal index. Failed to get item from list.");
}

void CheckRemoveIndex(int32_t index, size_t count) {
  if (!InRange(index, count))
    throw ENvException("Illegal index. Failed to remove item from list.");
}

int32_t CNvInterfaceList::Add(IUnknown* item) {
  items_.emplace_back(item);
  return Count() - 1;
}

ComPtr<IUnknown> CNvInterfaceList::Item(int32_t index) const {
  CheckItemIndex(index, items_.size());
  return items_[static_cast<size_t>(index)];
}

void CNvInterfaceList::Remove(int32_t index) {
  CheckRemoveIndex(index, items_.size());
  // Take the element out first: it is released only once the gap is closed,
  // so a release that calls back into the owner sees a consistent list.
  ComPtr<IUnknown> removed = std::move(items_[static_cast<size_t>(index)]);
  items_.erase(items_.begin() + index);
}

void CNvInterfaceList::Clear() noexcept {
  for (auto item = items_.rbegin(); item != items_.rend(); ++item) item->reset();
  items_.clear();
}

}  // namespace nv
