// The behaviours a class lists itself, each with its must-understand mark.
// The items refer to behaviours of the schema; the collection owns only the
// items. It knows its class (without a reference: the class owns it and
// unbinds it when it dies) to refuse a behaviour the class already inherits.
#pragma once

#include "frame/collections/interface_list.h"
#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaClassBehaviorsImpl {
 public:
  virtual ~CNvVexaClassBehaviorsImpl() = default;

  virtual LONG Count() { return items_.Count(); }
  virtual ComPtr<INvVexaClassBehavior> Item(LONG index);
  virtual ComPtr<INvVexaClassBehavior> ItemByURI(const BstrArg& uri);
  // muNo when no item has the URI.
  virtual MustUnderstandEnum GetMustUnderstandStatus(const BstrArg& uri);
  virtual LONG IndexOf(const BstrArg& uri);
  virtual void Add(const ComPtr<INvVexaClassBehavior>& behavior, MustUnderstandEnum mustUnderstand);
  virtual void Remove(LONG index) { items_.Remove(index); }

  virtual ComPtr<INvVexaBehaviorItemCRaw> BehaviorItemByURI(const BstrArg& uri);
  // Lists the behaviours of the same URIs from DestSchema's class behaviours.
  virtual void Copy(const ComPtr<INvVexaReadOnlyClassBehaviors>& source,
                    const ComPtr<INvVexaSchema>& destSchema);
  virtual void Create(const ComPtr<INvVexaClass>& vexaClass) { class_ = vexaClass.get(); }

  void Unbind() noexcept { class_ = nullptr; }

 private:
  ComPtr<INvVexaBehaviorItemCRaw> ItemAt(LONG index) const {
    return items_.ItemAs<INvVexaBehaviorItemCRaw>(index);
  }
  // Whether the class (or, unbound, this collection) already has `uri`.
  bool Supports(const Bstr& uri);

  CNvInterfaceList items_;
  INvVexaClass* class_ = nullptr;
};

class CNvVexaClassBehaviors final
    : public Implements<CNvVexaClassBehaviors, CNvVexaClassBehaviorsImpl, INvVexaClassBehaviors,
                        INvVexaClassBehaviorsCRaw, INvVexaReadOnlyClassBehaviorsCRaw> {};

}  // namespace nv
