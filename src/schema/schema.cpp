#include "schema/schema.h"

#include "schema/classes.h"
#include "schema/classes_behaviors.h"
#include "schema/domain_behaviors.h"
#include "schema/impl_cast.h"
#include "schema/schema_seams.h"
#include "values/xml_escape.h"

namespace nv {

void CNvVexaSchemaImpl::PutSchemaURI(const BstrArg& value) {
  if (!uri_.Empty() && !copied_)
    throw ENvException(u"Schema URI is already set to \"" + uri_ + u"\"");
  // The URI is the document's target namespace.
  CheckXmlCharacters(value.View(), u"The schema URI");
  uri_ = value;
}

void CNvVexaSchemaImpl::Set_SchemaLocation(const BstrArg& value) {
  CheckXmlCharacters(value.View(), u"The schema location");
  location_ = value;
}

ComPtr<INvVexaClasses> CNvVexaSchemaImpl::Classes() {
  if (!classes_) classes_ = CreateObject<CNvVexaClasses>();
  return classes_;
}

ComPtr<INvVexaClassesBehaviors> CNvVexaSchemaImpl::ClassesBehaviors() {
  if (!classesBehaviors_) {
    ComPtr<INvVexaClassesBehaviors> made = CreateObject<CNvVexaClassesBehaviors>();
    made.as<INvVexaClassesBehaviorsCRaw>().Create(initializationData_);
    classesBehaviors_ = made;
  }
  return classesBehaviors_;
}

ComPtr<INvVexaDomainBehaviors> CNvVexaSchemaImpl::DomainBehaviors() {
  if (!domainBehaviors_) domainBehaviors_ = CreateObject<CNvVexaDomainBehaviors>();
  return domainBehaviors_;
}

ComPtr<IUnknown> CNvVexaSchemaImpl::Info() {
  if (!info_) {
    auto create = InstalledSchemaSeams().createSchemaInfo;
    if (!create) throw ENvException("The Info collection of a schema is not available");
    info_ = create();
  }
  return info_;
}

ComPtr<INvVexaSchema> CNvVexaSchemaImpl::ThisSchema() { return SelfAs<INvVexaSchema>(this); }

void CNvVexaSchemaImpl::Clear() {
  location_ = Bstr();
  uri_ = Bstr();
  DomainBehaviors().as<INvVexaDomainBehaviorsCRaw>().Clear();
  Classes().as<INvVexaClassesCRaw>().Clear();
  ClassesBehaviors().as<INvVexaClassesBehaviorsCRaw>().Clear();
}

void CNvVexaSchemaImpl::Copy(const ComPtr<INvVexaSchema>& source) {
  if (SameObject(source, ThisSchema())) return;
  uri_ = source.SchemaURI();
  location_ = source.SchemaLocation();
  copied_ = true;
  // Classes find their behaviours, and domain behaviours their classes, in
  // this schema: the order matters.
  const ComPtr<INvVexaSchema> self = ThisSchema();
  ClassesBehaviors().as<INvVexaClassesBehaviorsCRaw>().Copy(source.ClassesBehaviors(), self);
  Classes().as<INvVexaClassesCRaw>().Copy(source.Classes(), self);
  DomainBehaviors().as<INvVexaDomainBehaviorsCRaw>().Copy(source.DomainBehaviors(), self);
  // Without the Info seam no schema has Info items, so there is nothing to copy.
  const auto copyInfo = InstalledSchemaSeams().copySchemaInfo;
  auto* sourceImpl = ImplFrom<CNvVexaSchema, INvVexaSchemaCRaw>(source);
  if (copyInfo && sourceImpl) copyInfo(Info(), sourceImpl->Info());
}

bool CNvVexaSchemaImpl::ClassesHaveMustUnderstandBehaviors() {
  const auto classes = Classes();
  for (LONG k = 0, count = classes.Count(); k < count; ++k) {
    const auto own = classes.Item(k).CurrentClassBehaviors();
    for (LONG b = 0, listed = own.Count(); b < listed; ++b)
      if (own.GetMustUnderstandStatus(own.Item(b).URI()) == muYes) return true;
  }
  return false;
}

bool CNvVexaSchemaImpl::HasMustUnderstandItems() {
  if (ClassesHaveMustUnderstandBehaviors()) return true;
  const auto hasItems = InstalledSchemaSeams().infoHasMustUnderstandItems;
  return info_ && hasItems && hasItems(info_);
}

ComPtr<INvVexaSchema> MakeSchema(const ComPtr<INvVexaInitializationData>& data) {
  ComPtr<INvVexaSchema> made = CreateObject<CNvVexaSchema>();
  made.as<INvVexaSchemaCRaw>().Create(data);
  return made;
}

}  // namespace nv
