// An attribute: a named, typed value slot of a class or a class behaviour.
#pragma once

#include "frame/bstr.h"
#include "frame/implements.h"
#include "frame/interfaces.h"
#include "frame/variant.h"

namespace nv {

class CNvVexaAttributeImpl {
 public:
  virtual ~CNvVexaAttributeImpl() = default;

  virtual Bstr Name() { return name_; }
  virtual bool IsPrimary() { return isPrimary_; }
  virtual void PutIsPrimary(bool value) { isPrimary_ = value; }
  virtual Variant DefaultValue() { return defaultValue_; }
  // Kept as given: defaults are checked against the type only when written.
  virtual void PutDefaultValue(const VARIANT& value) { defaultValue_ = Variant(value); }
  virtual bool Required() { return required_; }
  virtual void PutRequired(bool value);
  virtual bool IsNullAllowed() { return isNullAllowed_; }
  virtual void PutIsNullAllowed(bool value) { isNullAllowed_ = value; }
  virtual ComPtr<INvVexaTypeDefinition> TypeDefinition();

  // `owner` is held without a reference: the collection detaches its
  // attributes (DetachFromOwner) before it lets them go or dies.
  virtual void Create(const BstrArg& name, const ComPtr<INvVexaAttributes>& owner);
  // Takes everything but the name; Required is stored directly.
  virtual void Copy(const ComPtr<INvVexaAttribute>& source);
  virtual ComPtr<INvVexaAttributes> GetOwner() { return ComPtr<INvVexaAttributes>(owner_); }

  void DetachFromOwner() noexcept { owner_ = nullptr; }

 private:
  Bstr name_;
  bool isPrimary_ = false;
  Variant defaultValue_ = Variant::Null();
  bool required_ = false;
  bool isNullAllowed_ = true;
  ComPtr<INvVexaTypeDefinition> typeDefinition_;
  INvVexaAttributes* owner_ = nullptr;
  AttributeOwnerTypeEnum ownerType_ = aotClass;
};

class CNvVexaAttribute final : public Implements<CNvVexaAttribute, CNvVexaAttributeImpl,
                                                 INvVexaAttribute, INvVexaAttributeCRaw> {};

// Detaches an attribute held by a collection from that collection.
void DetachAttributeFromOwner(const ComPtr<IUnknown>& attribute);

}  // namespace nv
