#include "schema/class_attributes_view.h"

#include "schema/class_chain.h"

namespace nv {

std::vector<ComPtr<INvVexaAttributes>>
CNvMultipleClassAttributesAdapterImpl::OwnAttributesAlongChain() const {
  return OwnAlongChain(root_,
                       [](const ComPtr<INvVexaClass>& c) { return c.CurrentClassAttributes(); });
}

LONG CNvMultipleClassAttributesAdapterImpl::Count() {
  return ChainedCount(OwnAttributesAlongChain());
}

ComPtr<INvVexaAttribute> CNvMultipleClassAttributesAdapterImpl::Item(LONG index) {
  return ChainedItem(OwnAttributesAlongChain(), index);
}

LONG CNvMultipleClassAttributesAdapterImpl::IndexOf(const BstrArg& name) {
  return ChainedIndexOf(OwnAttributesAlongChain(), name);
}

ComPtr<INvVexaAttribute> CNvMultipleClassAttributesAdapterImpl::ItemByName(const BstrArg& name) {
  for (const auto& attributes : OwnAttributesAlongChain())
    if (auto found = attributes.ItemByName(name)) return found;
  return nullptr;
}

}  // namespace nv
