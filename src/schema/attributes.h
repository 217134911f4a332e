// The attribute collection of a class or a class behaviour: its attributes
// in insertion order, names unique within the collection.
#pragma once

#include "frame/collections/interface_list.h"
#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaAttributesImpl {
 public:
  virtual ~CNvVexaAttributesImpl();

  virtual LONG Count() { return list_.Count(); }
  virtual ComPtr<INvVexaAttribute> Item(LONG index) {
    return list_.ItemAs<INvVexaAttribute>(index);
  }
  virtual ComPtr<INvVexaAttribute> ItemByName(const BstrArg& name);
  virtual ComPtr<INvVexaAttribute> Add(const BstrArg& name);
  virtual void Remove(LONG index);
  virtual bool Exist(const BstrArg& name) { return IndexOf(name) >= 0; }
  virtual LONG IndexOf(const BstrArg& name);

  // Replaces the attributes by copies of the source's.
  virtual void Copy(const ComPtr<INvVexaAttributes>& source);
  virtual void Copy(const ComPtr<INvVexaReadOnlyAttributes>& source);
  virtual bool ConsistsRequiredAttributes() { return consistsRequired_; }
  virtual void PutConsistsRequiredAttributes(bool value) { consistsRequired_ = value; }
  virtual void Create(AttributeOwnerTypeEnum ownerType) { ownerType_ = ownerType; }
  virtual AttributeOwnerTypeEnum GetAttributeOwnerType() { return ownerType_; }

 private:
  // Detaches and releases every attribute.
  void Empty() noexcept;
  // Appends copies of the attributes of `source`, which lists `count` of them.
  template <class Source>
  void CopyFrom(const ComPtr<Source>& source);

  CNvInterfaceList list_;
  AttributeOwnerTypeEnum ownerType_ = aotClass;
  bool consistsRequired_ = false;
};

class CNvVexaAttributes final
    : public Implements<CNvVexaAttributes, CNvVexaAttributesImpl, INvVexaAttributes,
                        INvVexaReadOnlyAttributes, INvVexaAttributesCRaw,
                        INvVexaReadOnlyAttributesCRaw> {};

// A new, empty attribute collection for owners of `ownerType`.
ComPtr<INvVexaAttributes> MakeAttributes(AttributeOwnerTypeEnum ownerType);

}  // namespace nv
