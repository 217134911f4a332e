#include "schema/object_reference_type_definition.h"

#include <utility>

namespace nv {

namespace {

bool IsClassRestriction(ObjectReferenceRestrictionTypeEnum type) {
  return type == ortClass || type == ortClassAndDescendants;
}

}  // namespace

void CNvVexaObjectReferenceTypeDefinitionImpl::PutRestrictionType(
    ObjectReferenceRestrictionTypeEnum value) {
  // A class behaviour is defined apart from any class, so its references
  // cannot name one.
  if (ownerType_ == aotClassBehavior && IsClassRestriction(value))
    throw ENvException(
        "Class Behavior attribute of type dtObjectReference cannot be restricted to ortClass "
        "or to ortClassAndDescendants");
  restriction_ = value;
}

void CNvVexaObjectReferenceTypeDefinitionImpl::PutClassName(const BstrArg& value) {
  if (!IsClassRestriction(restriction_))
    throw ENvException(
        "Object reference restriction type must be defined as ortClass or "
        "ortClassAndDescendants before assigning restriction class name");
  className_ = value;
}

void CNvVexaObjectReferenceTypeDefinitionImpl::PutBehaviorURI(const BstrArg& value) {
  if (restriction_ != ortBehavior)
    throw ENvException(
        "Object reference restriction type must be defined as ortBehavior before assigning "
        "restriction behavior name");
  behaviorUri_ = value;
}

void CNvVexaObjectReferenceTypeDefinitionImpl::Copy(
    const ComPtr<INvVexaObjectReferenceTypeDefinition>& source) {
  const ObjectReferenceRestrictionTypeEnum restriction = source.RestrictionType();
  Bstr className = source.ClassName();
  Bstr behaviorUri = source.BehaviorURI();
  restriction_ = restriction;
  className_ = std::move(className);
  behaviorUri_ = std::move(behaviorUri);
}

}  // namespace nv
