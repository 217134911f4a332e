// The read-only view over the own behaviour collections of a root class and
// of its ancestors, nearest first, walked anew on every call.
#pragma once

#include <vector>

#include "frame/implements.h"
#include "frame/interfaces.h"
#include "schema/view_slot.h"

namespace nv {

class CNvMultipleClassBehaviorsAdapterImpl {
 public:
  virtual ~CNvMultipleClassBehaviorsAdapterImpl() { slot.Clear(); }

  virtual LONG Count();
  virtual ComPtr<INvVexaClassBehavior> Item(LONG index);
  virtual ComPtr<INvVexaClassBehavior> ItemByURI(const BstrArg& uri);
  // The mark of the nearest class that lists the URI; fails when none does.
  virtual MustUnderstandEnum GetMustUnderstandStatus(const BstrArg& uri);
  virtual LONG IndexOf(const BstrArg& uri);

  virtual void Create(const ComPtr<INvVexaClass>& root) { root_ = root; }

  ViewSlot slot;

 private:
  std::vector<ComPtr<INvVexaClassBehaviors>> OwnBehaviorsAlongChain() const;

  ComPtr<INvVexaClass> root_;
};

class CNvMultipleClassBehaviorsAdapter final
    : public Implements<CNvMultipleClassBehaviorsAdapter, CNvMultipleClassBehaviorsAdapterImpl,
                        INvVexaReadOnlyClassBehaviors, INvVexaMultipleClassBehaviorsAdapterCRaw> {};

}  // namespace nv
