#include "schemadoc/schema_annotation.h"

#include "instance/names.h"
#include "schemadoc/markup.h"

namespace nv {
namespace {

void AppendRoles(std::u16string& out, const ComPtr<INvVexaDomainBehaviorRoleClassMapping>& roles) {
  const auto names = roles.as<INvVexaDomainBehaviorRoleClassMappingCRaw>();
  const LONG count = roles.Count();
  for (LONG k = 0; k < count; ++k) {
    const Bstr role = names.GetRoleNameByIndex(k);
    out += u"<vexa:role";
    AppendAttribute(out, u"vexa:name", role);
    AppendAttribute(out, u"vexa:class", u"tns:" + roles.Item(role).Name());
    out += u"/>";
  }
}

void AppendDomainBehaviors(std::u16string& out, const ComPtr<INvVexaDomainBehaviors>& behaviors) {
  const LONG count = behaviors.Count();
  if (count == 0) return;
  out += u"<vexa:domainBehaviors>";
  for (LONG k = 0; k < count; ++k) {
    const ComPtr<INvVexaDomainBehavior> behavior = behaviors.Item(k);
    out += u"<vexa:behavior";
    AppendAttribute(out, u"vexa:uri", behavior.URI());
    out += u">";
    AppendRoles(out, behavior.RoleClassMapping());
    out += u"</vexa:behavior>";
  }
  out += u"</vexa:domainBehaviors>";
}

// Appends the schema's Info as a Header element (also when it has no items);
// answers whether it has any. The document's own prefixes are declared on its
// root; the Header declares its item namespaces itself, so a fresh table will
// do.
bool AppendSchemaInfo(std::u16string& out, const ComPtr<INvVexaSchema>& schema) {
  const auto info = schema.Info().as<INvVexaInfoCRaw>();
  const ComPtr<INvVexaNamespaces> prefixes = CreateObject<CNvVexaNamespaces>();
  out += info.GetXMLStr(true, prefixes).View();
  return info.Count() > 0;
}

}  // namespace

void AppendSchemaAnnotation(std::u16string& out, const ComPtr<INvVexaSchema>& schema) {
  std::u16string info;
  const bool hasInfoItems = AppendSchemaInfo(info, schema);
  const ComPtr<INvVexaDomainBehaviors> domainBehaviors = schema.DomainBehaviors();
  if (!hasInfoItems && domainBehaviors.Count() == 0) return;
  out += u"<annotation><appinfo>";
  out += info;
  AppendDomainBehaviors(out, domainBehaviors);
  out += u"</appinfo></annotation>";
}

}  // namespace nv
