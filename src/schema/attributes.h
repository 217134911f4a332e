// Attributes: the collection of a class or behaviour, one attribute, and its
// type definition (value type, string length, object reference restriction).
#pragma once

#include <string>
#include <unordered_map>

#include "frame/bstr.h"
#include "frame/collections/containers.h"
#include "frame/implements.h"
#include "frame/interfaces.h"
#include "frame/variant.h"

namespace nv {

// The attribute collection of a class or a class behaviour: its attributes
// in insertion order, names unique within the collection.
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
  // Names are found by hash; the list keeps the order.
  std::unordered_map<std::u16string, IUnknown*> byName_;
  AttributeOwnerTypeEnum ownerType_ = aotClass;
  bool consistsRequired_ = false;
};

class CNvVexaAttributes final
    : public Implements<CNvVexaAttributes, CNvVexaAttributesImpl, INvVexaAttributes,
                        INvVexaReadOnlyAttributes, INvVexaAttributesCRaw,
                        INvVexaReadOnlyAttributesCRaw> {};

// A new, empty attribute collection for owners of `ownerType`.
ComPtr<INvVexaAttributes> MakeAttributes(AttributeOwnerTypeEnum ownerType);

// An attribute: a named, typed value slot of a class or a class behaviour.
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

// The type definition of an attribute: its data type and, created on first
// access, the refinement that suits it (string or object reference). The
// refinements outlive changes of the data type, so switching back brings an
// earlier restriction back.
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

// The string refinement of a type definition: the maximum length of a value
// (0: no maximum). Stored without a test; the object writer applies it.
class CNvVexaStringTypeDefinitionImpl {
 public:
  virtual ~CNvVexaStringTypeDefinitionImpl() = default;

  virtual LONG MaxLength() { return maxLength_; }
  virtual void PutMaxLength(LONG value) { maxLength_ = value; }

  virtual void Copy(const ComPtr<INvVexaStringTypeDefinition>& source) {
    maxLength_ = source.MaxLength();
  }

 private:
  LONG maxLength_ = 0;
};

class CNvVexaStringTypeDefinition final
    : public Implements<CNvVexaStringTypeDefinition, CNvVexaStringTypeDefinitionImpl,
                        INvVexaStringTypeDefinition, INvVexaStringTypeDefinitionCRaw> {};

// The object-reference refinement of a type definition: what a referenced
// object must be (any object, an instance of a class, of a class or its
// descendants, or an object with a class behaviour).
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
