#include "schema/domain_behavior.h"

#include "schema/role_class_mapping.h"

namespace nv {

ComPtr<INvVexaDomainBehaviorRoleClassMapping> CNvVexaDomainBehaviorImpl::RoleClassMapping() {
  if (!roles_) roles_ = CreateObject<CNvVexaDomainBehaviorRoleClassMapping>();
  return roles_;
}

void CNvVexaDomainBehaviorImpl::Copy(const ComPtr<INvVexaDomainBehavior>& source,
                                     const ComPtr<INvVexaSchema>& destSchema) {
  RoleClassMapping().as<INvVexaDomainBehaviorRoleClassMappingCRaw>().Copy(source.RoleClassMapping(),
                                                                          destSchema);
}

}  // namespace nv
