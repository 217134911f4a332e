// The object-reference refinement of a type definition: what a referenced
// object must be (any object, an instance of a class, of a class or its
// descendants, or an object with a class behaviour).
#pragma once

#include "frame/bstr.h"
#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaObjectReferenceTypeDefinitionImpl {
 public:
  virtual ~CNvVexaObjectReferenceTypeDefinitionImpl() = default;

  virtual ObjectReferenceRestrictionTypeEnum RestrictionType() { return restriction_; }
  virtual void PutRestrictionType(ObjectReferenceRestrictionTypeEnum value);
  virtual Bstr ClassName() { return className_; }
  virtual void PutClassName(const BstrArg& value);
  virtual Bstr BehaviorURI() { return behaviorUri_; }
  virtual void PutBehaviorURI(const BstrArg& value);

  // Takes the source's restriction as it is, without the setters' tests.
  virtual void Copy(const ComPtr<INvVexaObjectReferenceTypeDefinition>& source);
  virtual void Create(AttributeOwnerTypeEnum ownerType) { ownerType_ = ownerType; }
  virtual AttributeOwnerTypeEnum GetAttributeOwnerType() { return ownerType_; }

 private:
  ObjectReferenceRestrictionTypeEnum restriction_ = ortAny;
  Bstr className_;
  Bstr behaviorUri_;
  AttributeOwnerTypeEnum ownerType_ = aotClass;
};

class CNvVexaObjectReferenceTypeDefinition final
    : public Implements<
          CNvVexaObjectReferenceTypeDefinition, CNvVexaObjectReferenceTypeDefinitionImpl,
          INvVexaObjectReferenceTypeDefinition, INvVexaObjectReferenceTypeDefinitionCRaw> {};

}  // namespace nv
