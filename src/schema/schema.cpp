#include "schema/schema.h"

#include "schema/classes.h"
#include "schema/behaviors.h"
#include "frame/implements.h"
#include "instance/info.h"
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
    classesBehaviors_ = CreateObject<CNvVexaClassesBehaviors>(context_);
  }
  return classesBehaviors_;
}

ComPtr<INvVexaDomainBehaviors> CNvVexaSchemaImpl::DomainBehaviors() {
  if (!domainBehaviors_) domainBehaviors_ = CreateObject<CNvVexaDomainBehaviors>();
  return domainBehaviors_;
}

ComPtr<INvVexaInfo> CNvVexaSchemaImpl::Info() {
  if (!info_) info_ = MakeMemoryBasedInfo(true);
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
  Info().as<INvVexaInfoCRaw>().Copy(source.Info());
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
  return info_ && ImplFrom<CNvVexaInfo, INvVexaInfoCRaw>(info_)->AnyItemMustBeUnderstood();
}

ComPtr<INvVexaSchema> MakeSchema(SchemaContext context) {
  return CreateObject<CNvVexaSchema>(std::move(context));
}

SchemaContext ContextOf(const ComPtr<INvVexaSchema>& schema) {
  const auto* impl = ImplFrom<CNvVexaSchema, INvVexaSchemaCRaw>(schema);
  return impl ? impl->Context() : SchemaContext{};
}

}  // namespace nv
