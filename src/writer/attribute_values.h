// The values of one object (or value set) for the attributes of its class, or
// for the attributes of one class behaviour. Assignment checks the value
// against the attribute's definition; conversion to the attribute's type
// happens only when the values are written.
#pragma once

#include <map>
#include <string_view>
#include <vector>

#include "frame/collections/key_less.h"
#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaAttributesValuesImpl {
 public:
  virtual ~CNvVexaAttributesValuesImpl() = default;

  virtual LONG Count() { return static_cast<LONG>(values_.size()); }
  // Null when no value is assigned (defaults are not reported here).
  virtual Variant Item(const BstrArg& attributeName);
  virtual void PutItem(const BstrArg& attributeName, const VARIANT& value);
  virtual bool IsValueAssigned(const BstrArg& attributeName);
  virtual void UnassignValue(const BstrArg& attributeName);
  virtual ComPtr<INvVexaXmlAttributeValue> CreateXmlAttributeValue();
  virtual ComPtr<INvVexaDurationAttributeValue> CreateDurationAttributeValue();

  // The attribute name at `index` in key order.
  virtual Bstr AttributeName(LONG index);
  virtual void Create(const ComPtr<INvVexaSchema>& schema, const BstrArg& className,
                      const BstrArg& behaviorUri);

  // The assigned value of `attributeName`, or null; for writing the values.
  const VARIANT* AssignedValue(std::u16string_view attributeName) const;

 private:
  ComPtr<INvVexaAttribute> FindAttribute(const Bstr& attributeName) const;

  ComPtr<INvVexaSchema> schema_;
  Bstr className_;
  Bstr behaviorUri_;
  std::map<Bstr, Variant, KeyLess> values_;
  std::vector<Bstr> assigned_;  // in order of first assignment
};

class CNvVexaAttributesValues final
    : public Implements<CNvVexaAttributesValues, CNvVexaAttributesValuesImpl,
                        INvVexaAttributesValues, INvVexaAttributesValuesCRaw> {};

// A new collection for the class values (empty `behaviorUri`) or one behaviour.
ComPtr<INvVexaAttributesValues> MakeAttributesValues(const ComPtr<INvVexaSchema>& schema,
                                                     const Bstr& className,
                                                     const Bstr& behaviorUri);

// The implementation behind a collection made by this library, or null.
const CNvVexaAttributesValuesImpl* AttributesValuesImpl(
    const ComPtr<INvVexaAttributesValues>& values);

}  // namespace nv
