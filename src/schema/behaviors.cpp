#include "schema/behaviors.h"

#include <iterator>
#include <utility>
#include <vector>

#include "frame/exception.h"
#include "frame/implements.h"
#include "instance/names.h"
#include "schema/attributes.h"
#include "schema/schema.h"
#include "values/xml_escape.h"

namespace nv {

void CheckBehaviorUriForm(std::u16string_view uri) {
  const Bstr text(uri);
  const size_t hash = uri.find(u'#');
  if (hash == std::u16string_view::npos)
    throw ENvException(u"missing character \"#\" in class Behavior URI \"" + text + u"\"");
  if (hash == 0) throw ENvException(u"missing namespace in class Behavior URI \"" + text + u"\"");
  const std::u16string_view name = uri.substr(hash + 1);
  if (name.empty())
    throw ENvException(u"missing name for behavior in class behavior URI \"" + text + u"\"");
  if (!IsValidNCName(name))
    throw ENvException(u"Invalid name \"" + Bstr(name) + u"\" for class behavior");
  // The namespace is declared in every document that uses the behaviour.
  CheckXmlCharacters(uri, u"The class behavior URI");
}

Bstr BehaviorNamespaceOf(std::u16string_view uri) {
  const size_t hash = uri.find(u'#');
  if (hash == std::u16string_view::npos)
    throw ENvException(u"\"" + Bstr(uri) +
                       u"\" is is not a valid Behavior Name, missing # seperator");
  return Bstr(uri.substr(0, hash));
}

bool IsRelativeLocation(std::u16string_view location) noexcept {
  return location.find(u"://") == std::u16string_view::npos &&
         location.find(u':') == std::u16string_view::npos && !location.starts_with(u"\\\\");
}

ComPtr<INvVexaAttributes> CNvVexaClassBehaviorImpl::Attributes() {
  if (!attributes_) attributes_ = MakeAttributes(aotClassBehavior);
  return attributes_;
}

void CNvVexaClassBehaviorImpl::Copy(const ComPtr<INvVexaClassBehavior>& source) {
  schemaLocation_ = Bstr();
  Attributes().as<INvVexaAttributesCRaw>().Copy(source.Attributes());
}

ComPtr<INvVexaClassBehavior> CNvVexaClassBehaviorsImpl::Item(LONG index) {
  CheckItemIndex(index, items_.size());
  return items_[index].behavior;
}

void CNvVexaClassBehaviorsImpl::Remove(LONG index) {
  CheckRemoveIndex(index, items_.size());
  items_.erase(items_.begin() + index);
}

LONG CNvVexaClassBehaviorsImpl::IndexOf(const BstrArg& uri) {
  const Entry* item = Find(uri.View());
  return item ? static_cast<LONG>(item - items_.data()) : -1;
}

const CNvVexaClassBehaviorsImpl::Entry* CNvVexaClassBehaviorsImpl::Find(
    std::u16string_view uri) const {
  for (const Entry& item : items_)
    if (item.behavior.URI().View() == uri) return &item;
  return nullptr;
}

ComPtr<INvVexaClassBehavior> CNvVexaClassBehaviorsImpl::ItemByURI(const BstrArg& uri) {
  const Entry* item = Find(uri.View());
  return item ? item->behavior : nullptr;
}

MustUnderstandEnum CNvVexaClassBehaviorsImpl::GetMustUnderstandStatus(const BstrArg& uri) {
  const Entry* item = Find(uri.View());
  return item ? item->mustUnderstand : muNo;
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
  items_.push_back({behavior, mustUnderstand});
}

void CNvVexaClassBehaviorsImpl::Copy(const ComPtr<INvVexaReadOnlyClassBehaviors>& source,
                                     const ComPtr<INvVexaSchema>& destSchema) {
  if (SameObject(source, SelfAs<INvVexaReadOnlyClassBehaviors>(this))) return;
  items_.clear();
  const auto schemaBehaviors = destSchema.ClassesBehaviors();
  const LONG count = source.Count();
  for (LONG k = 0; k < count; ++k) {
    const Bstr uri = source.Item(k).URI();
    Add(schemaBehaviors.ItemByURI(uri), source.GetMustUnderstandStatus(uri));
  }
}

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

// Copying the class behaviours of one schema into another. An embedded
// behaviour, or one whose document sits beside its schema (a relative
// location, as inside a package), travels as an embedded copy; a standard
// behaviour is defined from the built-in catalogue; any other external
// behaviour is loaded again from its location.
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

ComPtr<INvVexaDomainBehaviorRoleClassMapping> CNvVexaDomainBehaviorImpl::RoleClassMapping() {
  if (!roles_) roles_ = CreateObject<CNvVexaDomainBehaviorRoleClassMapping>();
  return roles_;
}

void CNvVexaDomainBehaviorImpl::Copy(const ComPtr<INvVexaDomainBehavior>& source,
                                     const ComPtr<INvVexaSchema>& destSchema) {
  RoleClassMapping().as<INvVexaDomainBehaviorRoleClassMappingCRaw>().Copy(source.RoleClassMapping(),
                                                                          destSchema);
}

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

ComPtr<INvVexaClass> CNvVexaDomainBehaviorRoleClassMappingImpl::Item(const BstrArg& roleName) {
  const auto found = roles_.find(roleName.View());
  return found == roles_.end() ? nullptr : found->second;
}

void CNvVexaDomainBehaviorRoleClassMappingImpl::PutItem(const BstrArg& roleName,
                                                        const ComPtr<INvVexaClass>& value) {
  if (roleName.Empty()) throw ENvException("Role Name cannot be an empty string");
  CheckXmlCharacters(roleName.View(), u"The role name");
  roles_.insert_or_assign(roleName.ToBstr(), value);
}

Bstr CNvVexaDomainBehaviorRoleClassMappingImpl::GetRoleNameByIndex(LONG index) {
  if (index < 0 || index >= Count()) throw ENvException("Invalid index");
  return std::next(roles_.begin(), index)->first;
}

void CNvVexaDomainBehaviorRoleClassMappingImpl::Copy(
    const ComPtr<INvVexaDomainBehaviorRoleClassMapping>& source,
    const ComPtr<INvVexaSchema>& destSchema) {
  if (SameObject(source, SelfAs<INvVexaDomainBehaviorRoleClassMapping>(this))) return;
  roles_.clear();
  const auto sourceRoles = source.as<INvVexaDomainBehaviorRoleClassMappingCRaw>();
  const auto destClasses = destSchema.Classes();
  const LONG count = source.Count();
  for (LONG k = 0; k < count; ++k) {
    const Bstr role = sourceRoles.GetRoleNameByIndex(k);
    if (auto sourceClass = source.Item(role))
      roles_.insert_or_assign(role, destClasses.ItemByName(sourceClass.Name()));
  }
}

}  // namespace nv
