#include "schema/classes_behaviors.h"

#include "schema/behavior_uri.h"
#include "schema/class_behavior.h"
#include "schema/schema.h"

namespace nv {

LONG CNvVexaClassesBehaviorsImpl::IndexOf(const BstrArg& uri) {
  for (LONG k = 0; k < list_.Count(); ++k)
    if (Item(k).URI().View() == uri.View()) return k;
  return -1;
}

ComPtr<INvVexaClassBehavior> CNvVexaClassesBehaviorsImpl::ItemByURI(const BstrArg& uri) {
  const LONG index = IndexOf(uri);
  return index < 0 ? nullptr : Item(index);
}

ComPtr<INvVexaClassBehavior> CNvVexaClassesBehaviorsImpl::Add(SchemaModeEnum mode,
                                                              const BstrArg& uri,
                                                              const BstrArg& schemaLocation,
                                                              bool load) {
  const Bstr text = uri;
  if (text.Empty()) throw ENvException("Behavior URI is missing");
  CheckBehaviorUriForm(text);
  if (IndexOf(uri) >= 0) throw ENvException(u"Behavior \"" + text + u"\" already exist");
  const Bstr location = schemaLocation;
  ComPtr<INvVexaClassBehavior> behavior =
      mode == mtEmbedded ? MakeEmbedded(text, location, load) : MakeExternal(text, location, load);
  list_.Add(behavior.get());
  return behavior;
}

ComPtr<INvVexaClassBehavior> CNvVexaClassesBehaviorsImpl::MakeEmbedded(const Bstr& uri,
                                                                       const Bstr& location,
                                                                       bool load) {
  if (!location.Empty())
    throw ENvException(u"SchemaLocation of behavior \"" + uri +
                       u"\" cannot be assigned while schema mode is embedded");
  if (load)
    throw ENvException(u"\"Load\" parameter cannot be true if Schema mode of behavior \"" + uri +
                       u"\" is embedded");
  ComPtr<INvVexaClassBehavior> made = CreateObject<CNvVexaClassBehavior>();
  made.as<INvVexaClassBehaviorCRaw>().Create(uri);
  return made;
}

// Any mode but embedded (mtNone included) is external.
ComPtr<INvVexaClassBehavior> CNvVexaClassesBehaviorsImpl::MakeExternal(const Bstr& uri,
                                                                       const Bstr& location,
                                                                       bool load) {
  if (location.Empty())
    throw ENvException(u"SchemaLocation is missing for behavior \"" + uri + u"\"");
  ComPtr<INvVexaClassBehavior> made;
  if (load) {
    made = LoadDefinition(uri, location);
  } else {
    made = CreateObject<CNvVexaClassBehavior>();
    made.as<INvVexaClassBehaviorCRaw>().Create(uri);
  }
  made.PutSchemaLocation(location);
  return made;
}

ComPtr<INvVexaClassBehavior> CNvVexaClassesBehaviorsImpl::LoadDefinition(const Bstr& uri,
                                                                         const Bstr& location) {
  if (!context_.services)
    throw ENvException(u"Cannot load behavior \"" + uri + u"\" from \"" + location +
                       u"\": reading behavior schema documents is not available");
  // The document is read into a schema of its own; only the behaviour is kept.
  ComPtr<INvVexaSchema> loaded = MakeSchema(context_);
  context_.services->LoadBehaviorSchema(loaded, location);
  ComPtr<INvVexaClassBehavior> found = loaded.ClassesBehaviors().ItemByURI(uri);
  if (!found)
    throw ENvException(u"Behavior \"" + uri + u"\" is not defined in the behavior schema \"" +
                       location + u"\"");
  return found;
}

}  // namespace nv
