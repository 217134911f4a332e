// The domain behaviours of a schema, in insertion order, unique by URI.
#pragma once

#include "frame/collections/interface_list.h"
#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaDomainBehaviorsImpl {
 public:
  virtual ~CNvVexaDomainBehaviorsImpl() = default;

  virtual LONG Count() { return list_.Count(); }
  virtual ComPtr<INvVexaDomainBehavior> Item(LONG index) {
    return list_.ItemAs<INvVexaDomainBehavior>(index);
  }
  virtual ComPtr<INvVexaDomainBehavior> Add(const BstrArg& uri);
  virtual void Remove(LONG index) { list_.Remove(index); }
  virtual ComPtr<INvVexaDomainBehavior> ItemByURI(const BstrArg& uri);
  virtual LONG IndexOf(const BstrArg& uri);

  virtual void Clear() { list_.Clear(); }
  virtual void Copy(const ComPtr<INvVexaDomainBehaviors>& source,
                    const ComPtr<INvVexaSchema>& destSchema);

 private:
  CNvInterfaceList list_;
};

class CNvVexaDomainBehaviors final
    : public Implements<CNvVexaDomainBehaviors, CNvVexaDomainBehaviorsImpl, INvVexaDomainBehaviors,
                        INvVexaDomainBehaviorsCRaw> {};

}  // namespace nv
