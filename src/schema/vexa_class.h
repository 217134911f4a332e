// A class of the schema: its name, its parent (single inheritance), its own
// attributes and behaviours, and four read-only views over its chain.
#pragma once

#include "frame/bstr.h"
#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaClassImpl {
 public:
  virtual ~CNvVexaClassImpl();

  virtual Bstr Name() { return name_; }
  virtual ComPtr<INvVexaAttributes> CurrentClassAttributes();
  virtual ComPtr<INvVexaReadOnlyAttributes> InheritedAttributes();
  virtual ComPtr<INvVexaReadOnlyAttributes> AllAttributes();
  virtual ComPtr<INvVexaClassBehaviors> CurrentClassBehaviors();
  virtual ComPtr<INvVexaReadOnlyClassBehaviors> InheritedBehaviors();
  virtual ComPtr<INvVexaReadOnlyClassBehaviors> AllBehaviors();
  virtual ComPtr<INvVexaClass> ParentClass() { return parent_; }
  // Refuses a class of another schema and a parent that would close a cycle.
  virtual void PutParentClass(const ComPtr<INvVexaClass>& value);
  virtual bool IsAbstract() { return isAbstract_; }
  virtual void PutIsAbstract(bool value) { isAbstract_ = value; }
  virtual bool SupportsBehavior(const BstrArg& uri);

  virtual void SetAttributes(const ComPtr<INvVexaAttributes>& attributes) {
    attributes_ = attributes;
  }
  virtual void Copy(const ComPtr<INvVexaClass>& source, const ComPtr<INvVexaSchema>& destSchema);
  virtual void Create(const BstrArg& name) { name_ = name; }

  // The object's own interface, to root views at it.
  virtual ComPtr<INvVexaClass> ThisClass();

  // The class collection that holds this class (identity only), or null.
  void SetCollection(const void* collection) noexcept { collection_ = collection; }

 private:
  CNvVexaClassImpl* ParentImpl() const;
  void CheckParent(const ComPtr<INvVexaClass>& parent);

  Bstr name_;
  ComPtr<INvVexaClass> parent_;
  bool isAbstract_ = false;
  ComPtr<INvVexaAttributes> attributes_;
  ComPtr<INvVexaClassBehaviors> behaviors_;
  // Rooted at the parent of the moment they were first asked for.
  ComPtr<INvVexaReadOnlyAttributes> inheritedAttributes_;
  ComPtr<INvVexaReadOnlyClassBehaviors> inheritedBehaviors_;
  // Rooted at this class; cached without a reference (see ViewSlot).
  void* allAttributes_ = nullptr;
  void* allBehaviors_ = nullptr;
  const void* collection_ = nullptr;
};

class CNvVexaClass final
    : public Implements<CNvVexaClass, CNvVexaClassImpl, INvVexaClass, INvVexaClassCRaw> {};

// The implementation of one of the library's classes; null for a null or
// foreign object.
CNvVexaClassImpl* ClassImplOf(const ComPtr<INvVexaClass>& vexaClass);

}  // namespace nv
