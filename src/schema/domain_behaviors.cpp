#include "schema/domain_behaviors.h"

#include "schema/domain_behavior.h"
#include "frame/impl_cast.h"
#include "values/xml_escape.h"

namespace nv {

LONG CNvVexaDomainBehaviorsImpl::IndexOf(const BstrArg& uri) {
  for (LONG k = 0; k < list_.Count(); ++k)
    if (Item(k).URI().View() == uri.View()) return k;
  return -1;
}

ComPtr<INvVexaDomainBehavior> CNvVexaDomainBehaviorsImpl::ItemByURI(const BstrArg& uri) {
  const LONG index = IndexOf(uri);
  return index < 0 ? nullptr : Item(index);
}

ComPtr<INvVexaDomainBehavior> CNvVexaDomainBehaviorsImpl::Add(const BstrArg& uri) {
  const Bstr text = uri;
  if (text.Empty()) throw ENvException("Missing URI for domain behavior");
  CheckXmlCharacters(text.View(), u"The domain behavior URI");
  if (IndexOf(uri) >= 0) throw ENvException(u"Behavior \"" + text + u"\" already exist");
  ComPtr<INvVexaDomainBehavior> made = CreateObject<CNvVexaDomainBehavior>();
  made.as<INvVexaDomainBehaviorCRaw>().Create(text);
  list_.Add(made.get());
  return made;
}

void CNvVexaDomainBehaviorsImpl::Copy(const ComPtr<INvVexaDomainBehaviors>& source,
                                      const ComPtr<INvVexaSchema>& destSchema) {
  if (SameObject(source, SelfAs<INvVexaDomainBehaviors>(this))) return;
  list_.Clear();
  const LONG count = source.Count();
  for (LONG k = 0; k < count; ++k) {
    ComPtr<INvVexaDomainBehavior> from = source.Item(k);
    Add(from.URI()).as<INvVexaDomainBehaviorCRaw>().Copy(from, destSchema);
  }
}

}  // namespace nv
