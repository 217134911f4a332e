#include "schema/class_behaviors_view.h"

#include "schema/class_chain.h"

namespace nv {

std::vector<ComPtr<INvVexaClassBehaviors>>
CNvMultipleClassBehaviorsAdapterImpl::OwnBehaviorsAlongChain() const {
  std::vector<ComPtr<INvVexaClassBehaviors>> own;
  for (const auto& vexaClass : ClassChain(root_)) own.push_back(vexaClass.CurrentClassBehaviors());
  return own;
}

LONG CNvMultipleClassBehaviorsAdapterImpl::Count() {
  LONG total = 0;
  for (const auto& behaviors : OwnBehaviorsAlongChain()) total += behaviors.Count();
  return total;
}

ComPtr<INvVexaClassBehavior> CNvMultipleClassBehaviorsAdapterImpl::Item(LONG index) {
  if (index >= 0) {
    for (const auto& behaviors : OwnBehaviorsAlongChain()) {
      const LONG count = behaviors.Count();
      if (index < count) return behaviors.Item(index);
      index -= count;
    }
  }
  throw ENvException("Invalid index");
}

LONG CNvMultipleClassBehaviorsAdapterImpl::IndexOf(const BstrArg& uri) {
  LONG before = 0;
  for (const auto& behaviors : OwnBehaviorsAlongChain()) {
    const LONG found = behaviors.IndexOf(uri);
    if (found >= 0) return before + found;
    before += behaviors.Count();
  }
  return -1;
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
