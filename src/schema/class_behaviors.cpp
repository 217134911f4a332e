#include "schema/class_behaviors.h"

#include "schema/behavior_item.h"
#include "frame/impl_cast.h"

namespace nv {

ComPtr<INvVexaClassBehavior> CNvVexaClassBehaviorsImpl::Item(LONG index) {
  return ItemAt(index).Behavior();
}

LONG CNvVexaClassBehaviorsImpl::IndexOf(const BstrArg& uri) {
  for (LONG k = 0; k < items_.Count(); ++k)
    if (ItemAt(k).Behavior().URI().View() == uri.View()) return k;
  return -1;
}

ComPtr<INvVexaBehaviorItemCRaw> CNvVexaClassBehaviorsImpl::BehaviorItemByURI(const BstrArg& uri) {
  const LONG index = IndexOf(uri);
  return index < 0 ? nullptr : ItemAt(index);
}

ComPtr<INvVexaClassBehavior> CNvVexaClassBehaviorsImpl::ItemByURI(const BstrArg& uri) {
  auto item = BehaviorItemByURI(uri);
  return item ? item.Behavior() : nullptr;
}

MustUnderstandEnum CNvVexaClassBehaviorsImpl::GetMustUnderstandStatus(const BstrArg& uri) {
  auto item = BehaviorItemByURI(uri);
  return item ? item.MustUnderstand() : muNo;
}

bool CNvVexaClassBehaviorsImpl::Supports(const Bstr& uri) {
  if (class_) return ComPtr<INvVexaClass>(class_).SupportsBehavior(uri);
  return IndexOf(uri) >= 0;
}

void CNvVexaClassBehaviorsImpl::Add(const ComPtr<INvVexaClassBehavior>& behavior,
                                    MustUnderstandEnum mustUnderstand) {
  if (!behavior) throw ENvException("Invalid value for parameter ClassBehavior");
  // A behaviour listed by an ancestor is already the class's.
  if (Supports(behavior.URI())) throw ENvException("Error: Behavior already exist");
  ComPtr<INvVexaBehaviorItemCRaw> item = CreateObject<CNvVexaBehaviorItem>();
  item.Create(behavior, mustUnderstand);
  items_.Add(item.get());
}

void CNvVexaClassBehaviorsImpl::Copy(const ComPtr<INvVexaReadOnlyClassBehaviors>& source,
                                     const ComPtr<INvVexaSchema>& destSchema) {
  if (SameObject(source, SelfAs<INvVexaReadOnlyClassBehaviors>(this))) return;
  items_.Clear();
  const auto schemaBehaviors = destSchema.ClassesBehaviors();
  const LONG count = source.Count();
  for (LONG k = 0; k < count; ++k) {
    const Bstr uri = source.Item(k).URI();
    Add(schemaBehaviors.ItemByURI(uri), source.GetMustUnderstandStatus(uri));
  }
}

}  // namespace nv
