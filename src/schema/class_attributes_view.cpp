#include "schema/class_attributes_view.h"

#include "schema/class_chain.h"

namespace nv {

std::vector<ComPtr<INvVexaAttributes>>
CNvMultipleClassAttributesAdapterImpl::OwnAttributesAlongChain() const {
  std::vector<ComPtr<INvVexaAttributes>> own;
  for (const auto& vexaClass : ClassChain(root_)) own.push_back(vexaClass.CurrentClassAttributes());
  return own;
}

LONG CNvMultipleClassAttributesAdapterImpl::Count() {
  LONG total = 0;
  for (const auto& attributes : OwnAttributesAlongChain()) total += attributes.Count();
  return total;
}

ComPtr<INvVexaAttribute> CNvMultipleClassAttributesAdapterImpl::Item(LONG index) {
  if (index >= 0) {
    for (const auto& attributes : OwnAttributesAlongChain()) {
      const LONG count = attributes.Count();
      if (index < count) return attributes.Item(index);
      index -= count;
    }
  }
  throw ENvException("Invalid index");
}

LONG CNvMultipleClassAttributesAdapterImpl::IndexOf(const BstrArg& name) {
  LONG before = 0;
  for (const auto& attributes : OwnAttributesAlongChain()) {
    const LONG found = attributes.IndexOf(name);
    if (found >= 0) return before + found;
    before += attributes.Count();
  }
  return -1;
}

ComPtr<INvVexaAttribute> CNvMultipleClassAttributesAdapterImpl::ItemByName(const BstrArg& name) {
  for (const auto& attributes : OwnAttributesAlongChain())
    if (auto found = attributes.ItemByName(name)) return found;
  return nullptr;
}

}  // namespace nv
