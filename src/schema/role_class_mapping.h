// Which class plays which role in a domain behaviour: role name to class,
// visited in key order.
#pragma once

#include <map>

#include "frame/bstr.h"
#include "frame/collections/key_less.h"
#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaDomainBehaviorRoleClassMappingImpl {
 public:
  virtual ~CNvVexaDomainBehaviorRoleClassMappingImpl() = default;

  virtual LONG Count() { return static_cast<LONG>(roles_.size()); }
  // The class of the role, or null.
  virtual ComPtr<INvVexaClass> Item(const BstrArg& roleName);
  // Maps the role anew when it is already mapped.
  virtual void PutItem(const BstrArg& roleName, const ComPtr<INvVexaClass>& value);

  virtual Bstr GetRoleNameByIndex(LONG index);
  // Maps the source's roles to the classes of the same names in `destSchema`.
  virtual void Copy(const ComPtr<INvVexaDomainBehaviorRoleClassMapping>& source,
                    const ComPtr<INvVexaSchema>& destSchema);

 private:
  std::map<Bstr, ComPtr<INvVexaClass>, KeyLess> roles_;
};

class CNvVexaDomainBehaviorRoleClassMapping final
    : public Implements<
          CNvVexaDomainBehaviorRoleClassMapping, CNvVexaDomainBehaviorRoleClassMappingImpl,
          INvVexaDomainBehaviorRoleClassMapping, INvVexaDomainBehaviorRoleClassMappingCRaw> {};

}  // namespace nv
