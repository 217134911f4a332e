// The type definition of an attribute: its data type and, created on first
// access, the refinement that suits it (string or object reference). The
// refinements outlive changes of the data type, so switching back brings an
// earlier restriction back.
#pragma once

#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaTypeDefinitionImpl {
 public:
  virtual ~CNvVexaTypeDefinitionImpl() = default;

  virtual DataTypeEnum ValueType() { return valueType_; }
  virtual void PutValueType(DataTypeEnum value) { valueType_ = value; }
  virtual ComPtr<INvVexaObjectReferenceTypeDefinition> ObjectReferenceType();
  virtual ComPtr<INvVexaStringTypeDefinition> StringType();

  virtual void Copy(const ComPtr<INvVexaTypeDefinition>& source);
  virtual void Create(AttributeOwnerTypeEnum ownerType) { ownerType_ = ownerType; }
  virtual AttributeOwnerTypeEnum GetAttributeOwnerType() { return ownerType_; }

 private:
  // Fails unless ValueType is `wanted`; `property` names the refinement.
  void RequireValueType(DataTypeEnum wanted, const char* property) const;

  DataTypeEnum valueType_ = dtUndefined;
  AttributeOwnerTypeEnum ownerType_ = aotClass;
  ComPtr<INvVexaStringTypeDefinition> stringType_;
  ComPtr<INvVexaObjectReferenceTypeDefinition> objectReferenceType_;
};

class CNvVexaTypeDefinition final
    : public Implements<CNvVexaTypeDefinition, CNvVexaTypeDefinitionImpl, INvVexaTypeDefinition,
                        INvVexaTypeDefinitionCRaw> {};

}  // namespace nv
