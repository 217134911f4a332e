#include "schema/role_class_mapping.h"

#include <iterator>
#include <utility>
#include <vector>

#include "frame/impl_cast.h"
#include "values/xml_escape.h"

namespace nv {

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
