#include "schema/class_behaviors_view.h"

#include "schema/class_chain.h"

namespace nv {

std::vector<ComPtr<INvVexaClassBehaviors>>
CNvMultipleClassBehaviorsAdapterImpl::OwnBehaviorsAlongChain() const {
  return OwnAlongChain(root_,
                       [](const ComPtr<INvVexaClass>& c) { return c.CurrentClassBehaviors(); });
}

LONG CNvMultipleClassBehaviorsAdapterImpl::Count() {
  return ChainedCount(OwnBehaviorsAlongChain());
}

ComPtr<INvVexaClassBehavior> CNvMultipleClassBehaviorsAdapterImpl::Item(LONG index) {
  return ChainedItem(OwnBehaviorsAlongChain(), index);
}

LONG CNvMultipleClassBehaviorsAdapterImpl::IndexOf(const BstrArg& uri) {
  return ChainedIndexOf(OwnBehaviorsAlongChain(), uri);
}

ComPtr<INvVexaClassBehavior> CNvMultipleClassBehaviorsAdapterImpl::ItemByURI(const BstrArg& uri) {
  for (const auto& behaviors : OwnBehaviorsAlongChain())
    if (auto found = behaviors.ItemByURI(uri)) return found;
  return nullptr;
}

MustUnderstandEnum CNvMultipleClassBehaviorsAdapterImpl::GetMustUnderstandStatus(
    const BstrArg& uri) {
  for (const auto& behaviors : OwnBehaviorsAlongChain())
    if (behaviors.IndexOf(uri) >= 0) return behaviors.GetMustUnderstandStatus(uri);
  throw ENvException(u"behavior \"" + uri.ToBstr() + u"\" does not exist");
}

}  // namespace nv
