// One entry of a class's own behaviour collection: a class behaviour of the
// schema and whether readers must understand it.
#pragma once

#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaBehaviorItemImpl {
 public:
  virtual ~CNvVexaBehaviorItemImpl() = default;

  virtual ComPtr<INvVexaClassBehavior> Behavior() { return behavior_; }
  virtual void PutBehavior(const ComPtr<INvVexaClassBehavior>& value) { behavior_ = value; }
  virtual MustUnderstandEnum MustUnderstand() { return mustUnderstand_; }
  virtual void PutMustUnderstand(MustUnderstandEnum value) { mustUnderstand_ = value; }
  virtual void Create(const ComPtr<INvVexaClassBehavior>& behavior,
                      MustUnderstandEnum mustUnderstand) {
    behavior_ = behavior;
    mustUnderstand_ = mustUnderstand;
  }

 private:
  ComPtr<INvVexaClassBehavior> behavior_;
  MustUnderstandEnum mustUnderstand_ = muNo;
};

class CNvVexaBehaviorItem final
    : public Implements<CNvVexaBehaviorItem, CNvVexaBehaviorItemImpl, INvVexaBehaviorItemCRaw> {};

}  // namespace nv
