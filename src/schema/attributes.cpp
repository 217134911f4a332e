#include "schema/attributes.h"

#include <string>
#include <utility>

#include "frame/implements.h"
#include "instance/names.h"

namespace nv {

CNvVexaAttributesImpl::~CNvVexaAttributesImpl() { Empty(); }

void CNvVexaAttributesImpl::Empty() noexcept {
  for (int32_t k = 0; k < list_.Count(); ++k) DetachAttributeFromOwner(list_.Item(k));
  list_.Clear();
  byName_.clear();
}

LONG CNvVexaAttributesImpl::IndexOf(const BstrArg& name) {
  const auto found = byName_.find(std::u16string(name.View()));
  if (found == byName_.end()) return -1;
  for (int32_t k = 0; k < list_.Count(); ++k)
    if (list_.Item(k).get() == found->second) return k;
  return -1;
}

ComPtr<INvVexaAttribute> CNvVexaAttributesImpl::ItemByName(const BstrArg& name) {
  const auto found = byName_.find(std::u16string(name.View()));
  if (found == byName_.end()) return nullptr;
  return ComPtr<IUnknown>(found->second).as<INvVexaAttribute>();
}

ComPtr<INvVexaAttribute> CNvVexaAttributesImpl::Add(const BstrArg& name) {
  const Bstr text = name;
  if (text.Empty()) throw ENvException("Missing Name for attribute");
  if (!IsValidNCName(text)) throw ENvException(u"Invalid name \"" + text + u"\" for attribute");
  // Only this collection counts: a class may reuse the name of an inherited attribute.
  std::u16string key(text.View());
  if (byName_.contains(key)) throw ENvException(u"Attribute " + text + u" already exist");
  ComPtr<INvVexaAttribute> attribute = CreateObject<CNvVexaAttribute>();
  attribute.as<INvVexaAttributeCRaw>().Create(text, SelfAs<INvVexaAttributes>(this));
  list_.Add(attribute.get());
  byName_.emplace(std::move(key), list_.Item(list_.Count() - 1).get());
  return attribute;
}

void CNvVexaAttributesImpl::Remove(LONG index) {
  const bool inRange = index >= 0 && index < list_.Count();
  ComPtr<IUnknown> removed = inRange ? list_.Item(index) : nullptr;
  list_.Remove(index);  // fails for an index out of range
  byName_.erase(std::u16string(removed.as<INvVexaAttribute>().Name().View()));
  DetachAttributeFromOwner(removed);
}

template <class Source>
void CNvVexaAttributesImpl::CopyFrom(const ComPtr<Source>& source) {
  if (SameObject(source, SelfAs<Source>(this))) return;  // already a copy of itself
  Empty();
  bool holdsRequired = false;
  const LONG count = source.Count();
  for (LONG k = 0; k < count; ++k) {
    ComPtr<INvVexaAttribute> from = source.Item(k);
    ComPtr<INvVexaAttribute> to = Add(from.Name());
    to.template as<INvVexaAttributeCRaw>().Copy(from);
    holdsRequired = holdsRequired || from.Required();
  }
  // The copy declares required attributes exactly when its source does.
  auto sourceRaw = source.template try_as<INvVexaAttributesCRaw>();
  consistsRequired_ = holdsRequired || (sourceRaw && sourceRaw.ConsistsRequiredAttributes());
}

void CNvVexaAttributesImpl::Copy(const ComPtr<INvVexaAttributes>& source) { CopyFrom(source); }

void CNvVexaAttributesImpl::Copy(const ComPtr<INvVexaReadOnlyAttributes>& source) {
  CopyFrom(source);
}

ComPtr<INvVexaAttributes> MakeAttributes(AttributeOwnerTypeEnum ownerType) {
  ComPtr<INvVexaAttributes> made = CreateObject<CNvVexaAttributes>();
  made.as<INvVexaAttributesCRaw>().Create(ownerType);
  return made;
}

void CNvVexaAttributeImpl::PutRequired(bool value) {
  // The collection remembers that it ever held a required attribute; the
  // object writer relies on that flag.
  if (value && owner_)
    ComPtr<INvVexaAttributes>(owner_).as<INvVexaAttributesCRaw>().PutConsistsRequiredAttributes(
        true);
  required_ = value;
}

ComPtr<INvVexaTypeDefinition> CNvVexaAttributeImpl::TypeDefinition() {
  if (!typeDefinition_) {
    auto made = CreateObject<CNvVexaTypeDefinition>();
    made.as<INvVexaTypeDefinitionCRaw>().Create(ownerType_);
    typeDefinition_ = made;
  }
  return typeDefinition_;
}

void CNvVexaAttributeImpl::Create(const BstrArg& name, const ComPtr<INvVexaAttributes>& owner) {
  name_ = name;
  owner_ = owner.get();
  ownerType_ = owner ? owner.as<INvVexaAttributesCRaw>().GetAttributeOwnerType() : aotClass;
  isPrimary_ = false;
  defaultValue_ = Variant::Null();
  required_ = false;
  isNullAllowed_ = true;
  typeDefinition_.reset();
}

void CNvVexaAttributeImpl::Copy(const ComPtr<INvVexaAttribute>& source) {
  TypeDefinition().as<INvVexaTypeDefinitionCRaw>().Copy(source.TypeDefinition());
  isPrimary_ = source.IsPrimary();
  required_ = source.Required();
  defaultValue_ = source.DefaultValue();
  isNullAllowed_ = source.IsNullAllowed();
}

void DetachAttributeFromOwner(const ComPtr<IUnknown>& attribute) {
  if (auto* impl = ImplFrom<CNvVexaAttribute, INvVexaAttributeCRaw>(attribute))
    impl->DetachFromOwner();
}

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
