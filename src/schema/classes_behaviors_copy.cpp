// Copying the class behaviours of one schema into another. An embedded
// behaviour, or one whose document sits beside its schema (a relative
// location, as inside a package), travels as an embedded copy; a standard
// behaviour is defined from the built-in catalogue; any other external
// behaviour is loaded again from its location.
#include "schema/behavior_uri.h"
#include "schema/classes_behaviors.h"
#include "frame/impl_cast.h"

namespace nv {

void CNvVexaClassesBehaviorsImpl::Copy(const ComPtr<INvVexaClassesBehaviors>& source,
                                       const ComPtr<INvVexaSchema>& vexaSchema) {
  if (SameObject(source, SelfAs<INvVexaClassesBehaviors>(this))) return;
  list_.Clear();
  const LONG count = source.Count();
  for (LONG k = 0; k < count; ++k) CopyOne(source.Item(k), vexaSchema);
}

void CNvVexaClassesBehaviorsImpl::CopyOne(const ComPtr<INvVexaClassBehavior>& from,
                                          const ComPtr<INvVexaSchema>& vexaSchema) {
  const Bstr uri = from.URI();
  const Bstr behaviorNamespace = BehaviorNamespaceOf(uri);
  const Bstr location = from.SchemaLocation();
  if (IsRelativeLocation(location)) {
    Add(mtEmbedded, uri, Bstr(), false).as<INvVexaClassBehaviorCRaw>().Copy(from);
    return;
  }
  const SchemaServices* services = context_.services.get();
  if (!services)
    throw ENvException(u"Cannot copy behavior \"" + uri +
                       u"\": the standard behavior catalogue is not available");
  if (services->IsStandardBehaviorNamespace(behaviorNamespace))
    services->DefineStandardBehavior(vexaSchema, uri);
  else
    Add(mtExternal, uri, location, true);
}

}  // namespace nv
