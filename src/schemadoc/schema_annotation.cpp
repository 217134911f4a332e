#include "schemadoc/schema_annotation.h"

#include "schemadoc/markup.h"
#include "schemadoc/schema_info_seam.h"

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

}  // namespace

void AppendSchemaAnnotation(std::u16string& out, const ComPtr<INvVexaSchema>& schema) {
  std::u16string info;
  const SchemaInfoRenderer render = InstalledSchemaInfoRenderer();
  const bool hasInfoItems = render && render(info, schema);
  const ComPtr<INvVexaDomainBehaviors> domainBehaviors = schema.DomainBehaviors();
  if (!hasInfoItems && domainBehaviors.Count() == 0) return;
  out += u"<annotation><appinfo>";
  out += info;
  AppendDomainBehaviors(out, domainBehaviors);
  out += u"</appinfo></annotation>";
}

}  // namespace nv
