#include "schema/attribute.h"

#include "frame/impl_cast.h"
#include "schema/type_definition.h"

namespace nv {

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

}  // namespace nv
