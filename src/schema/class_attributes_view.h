// The read-only view over the own attributes of a root class and of its
// ancestors, nearest first. It keeps only the root and walks the chain on
// every call, so it follows later changes above the root.
#pragma once

#include <vector>

#include "frame/implements.h"
#include "frame/interfaces.h"
#include "schema/view_slot.h"

namespace nv {

class CNvMultipleClassAttributesAdapterImpl {
 public:
  virtual ~CNvMultipleClassAttributesAdapterImpl() { slot.Clear(); }

  virtual LONG Count();
  virtual ComPtr<INvVexaAttribute> Item(LONG index);
  virtual ComPtr<INvVexaAttribute> ItemByName(const BstrArg& name);
  virtual bool Exist(const BstrArg& name) { return IndexOf(name) >= 0; }
  virtual LONG IndexOf(const BstrArg& name);

  virtual void Create(const ComPtr<INvVexaClass>& root) { root_ = root; }

  ViewSlot slot;

 private:
  std::vector<ComPtr<INvVexaAttributes>> OwnAttributesAlongChain() const;

  ComPtr<INvVexaClass> root_;
};

class CNvMultipleClassAttributesAdapter final
    : public Implements<CNvMultipleClassAttributesAdapter, CNvMultipleClassAttributesAdapterImpl,
                        INvVexaReadOnlyAttributes, INvVexaMultipleClassAttributesAdapterCRaw> {};

}  // namespace nv
