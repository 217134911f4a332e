// What the schema document reader keeps while it reads classes whose parents
// may be defined further down: each class with the name of its parent, to be
// connected once every class exists.
#pragma once

#include "frame/bstr.h"
#include "frame/collections/interface_list.h"
#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaClassAndParentRawImpl {
 public:
  virtual ~CNvVexaClassAndParentRawImpl() = default;

  virtual ComPtr<INvVexaClass> VexaClass() { return class_; }
  virtual Bstr ParentClassName() { return parentName_; }
  virtual void Create(const ComPtr<INvVexaClass>& vexaClass, const BstrArg& parentName) {
    class_ = vexaClass;
    parentName_ = parentName;
  }

 private:
  ComPtr<INvVexaClass> class_;
  Bstr parentName_;
};

class CNvVexaClassAndParentRaw final
    : public Implements<CNvVexaClassAndParentRaw, CNvVexaClassAndParentRawImpl,
                        INvVexaClassAndParentCRaw> {};

class CNvVexaClassesBackPatchRawImpl {
 public:
  virtual ~CNvVexaClassesBackPatchRawImpl() = default;

  virtual LONG Count() { return list_.Count(); }
  virtual ComPtr<INvVexaClassAndParentCRaw> Item(LONG index) {
    return list_.ItemAs<INvVexaClassAndParentCRaw>(index);
  }
  virtual void AddItem(const ComPtr<INvVexaClass>& vexaClass, const BstrArg& parentClassName) {
    ComPtr<INvVexaClassAndParentCRaw> pair = CreateObject<CNvVexaClassAndParentRaw>();
    pair.Create(vexaClass, parentClassName);
    list_.Add(pair.get());
  }

 private:
  CNvInterfaceList list_;
};

class CNvVexaClassesBackPatchRaw final
    : public Implements<CNvVexaClassesBackPatchRaw, CNvVexaClassesBackPatchRawImpl,
                        INvVexaClassesBackPatchCRaw> {};

}  // namespace nv
