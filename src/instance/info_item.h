// One Info item: a named, typed value in a namespace, written as one child
// of the Header (or of a schema's Header annotation).
#pragma once

#include "frame/bstr.h"
#include "frame/implements.h"
#include "frame/interfaces.h"
#include "frame/variant.h"

namespace nv {

class CNvVexaInfoItemImpl {
 public:
  virtual ~CNvVexaInfoItemImpl() = default;

  virtual Bstr Name() { return name_; }
  virtual Variant Value() { return value_; }
  // Needs the value type first; the value is converted only when written.
  virtual void PutValue(const VARIANT& value);
  virtual Bstr Namespace() { return namespace_; }
  virtual DataTypeEnum ValueType() { return valueType_; }
  virtual void PutValueType(DataTypeEnum value) { valueType_ = value; }
  virtual MustUnderstandEnum MustUnderstand() { return mustUnderstand_; }
  virtual void PutMustUnderstand(MustUnderstandEnum value) { mustUnderstand_ = value; }

  // The item's element, named `prefix`:Name.
  virtual Bstr GetXMLStr(bool isForSchema, const BstrArg& prefix,
                         const ComPtr<INvVexaNamespaces>& globalNamespaces,
                         const ComPtr<INvVexaNamespaces>& infoNamespaces);
  virtual void Create(const BstrArg& itemName, const BstrArg& itemNamespace, bool isForSchema);
  // Takes the source's type, value and must-understand mark.
  virtual void Copy(const ComPtr<INvVexaInfoItem>& source);

 private:
  Bstr name_;
  Bstr namespace_;
  DataTypeEnum valueType_ = dtUndefined;
  Variant value_;
  // Neither muYes nor muNo until the client sets it.
  MustUnderstandEnum mustUnderstand_ = static_cast<MustUnderstandEnum>(0);
  bool isForSchema_ = false;
};

class CNvVexaInfoItem final : public Implements<CNvVexaInfoItem, CNvVexaInfoItemImpl,
                                                INvVexaInfoItem, INvVexaInfoItemCRaw> {};

}  // namespace nv
