#include "schema/type_definition.h"

#include <string>

#include "schema/object_reference_type_definition.h"
#include "schema/string_type_definition.h"

namespace nv {

void CNvVexaTypeDefinitionImpl::RequireValueType(DataTypeEnum wanted, const char* property) const {
  if (valueType_ == dtUndefined)
    throw ENvException(
        "You must define TypeDefinition.ValueType prior to using other properties of "
        "TypeDefinition");
  if (valueType_ != wanted)
    throw ENvException(("Invalid property \"" + std::string(property) +
                        "\" for Type definition of ValueType " +
                        std::to_string(static_cast<int32_t>(valueType_)))
                           .c_str());
}

ComPtr<INvVexaObjectReferenceTypeDefinition> CNvVexaTypeDefinitionImpl::ObjectReferenceType() {
  RequireValueType(dtObjectReference, "ObjectReference");
  if (!objectReferenceType_) {
    auto made = CreateObject<CNvVexaObjectReferenceTypeDefinition>();
    made.as<INvVexaObjectReferenceTypeDefinitionCRaw>().Create(ownerType_);
    objectReferenceType_ = made;
  }
  return objectReferenceType_;
}

ComPtr<INvVexaStringTypeDefinition> CNvVexaTypeDefinitionImpl::StringType() {
  RequireValueType(dtString, "String");
  if (!stringType_) stringType_ = CreateObject<CNvVexaStringTypeDefinition>();
  return stringType_;
}

void CNvVexaTypeDefinitionImpl::Copy(const ComPtr<INvVexaTypeDefinition>& source) {
  valueType_ = source.ValueType();
  if (valueType_ == dtString)
    StringType().as<INvVexaStringTypeDefinitionCRaw>().Copy(source.StringType());
  else if (valueType_ == dtObjectReference)
    ObjectReferenceType().as<INvVexaObjectReferenceTypeDefinitionCRaw>().Copy(
        source.ObjectReferenceType());
}

}  // namespace nv
