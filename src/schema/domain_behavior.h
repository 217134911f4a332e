// A domain behaviour: a convention identified by a URI in which classes of
// the schema play named roles.
#pragma once

#include "frame/bstr.h"
#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaDomainBehaviorImpl {
 public:
  virtual ~CNvVexaDomainBehaviorImpl() = default;

  virtual Bstr URI() { return uri_; }
  virtual ComPtr<INvVexaDomainBehaviorRoleClassMapping> RoleClassMapping();

  virtual void Copy(const ComPtr<INvVexaDomainBehavior>& source,
                    const ComPtr<INvVexaSchema>& destSchema);
  virtual void Create(const BstrArg& uri) { uri_ = uri; }

 private:
  Bstr uri_;
  ComPtr<INvVexaDomainBehaviorRoleClassMapping> roles_;
};

class CNvVexaDomainBehavior final
    : public Implements<CNvVexaDomainBehavior, CNvVexaDomainBehaviorImpl, INvVexaDomainBehavior,
                        INvVexaDomainBehaviorCRaw> {};

}  // namespace nv
