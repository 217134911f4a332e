// The attribute values of an object (of its class or of one behaviour), and
// the text they are written as.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "frame/implements.h"
#include "frame/interfaces.h"
#include "objects/class_layout.h"
#include "xml/document_text.h"

namespace nv {

// The values of one object (or value set) for the attributes of its class, or
// for the attributes of one class behaviour. Assignment checks the value
// against the attribute's definition; conversion to the attribute's type
// happens only when the values are written.
class CNvVexaAttributesValuesImpl {
 public:
  virtual ~CNvVexaAttributesValuesImpl() = default;

  virtual LONG Count() { return static_cast<LONG>(assignedCount_); }
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

  // Takes the attribute definitions from a layout; without one they are
  // read from the schema at the first assignment.
  void UseAttributes(std::shared_ptr<const AttributeSet> attributes);
  // The definition of the attribute `name`, or null when there is none.
  const AttributeFacts* Lookup(std::u16string_view name);
  // Assigns `value` to `attribute`, one of Lookup's answers, with the checks
  // of PutItem.
  void Assign(const AttributeFacts& attribute, Variant value);
  // The assigned value of the attribute kept in `slot`, or null.
  const VARIANT* AssignedValue(size_t slot) const;

 private:
  const AttributeFacts& FindAttribute(std::u16string_view name);
  // The slot of `name`, or -1 for a name without a definition.
  long SlotOf(std::u16string_view name) const;

  ComPtr<INvVexaSchema> schema_;
  Bstr className_;
  Bstr behaviorUri_;
  std::shared_ptr<const AttributeSet> attributes_;
  struct Slot {
    Variant value;
    bool assigned = false;
  };
  std::vector<Slot> slots_;  // one per attribute definition
  size_t assignedCount_ = 0;
  size_t nextGuess_ = 0;  // where the next name is looked for first
};

class CNvVexaAttributesValues final
    : public Implements<CNvVexaAttributesValues, CNvVexaAttributesValuesImpl,
                        INvVexaAttributesValues, INvVexaAttributesValuesCRaw> {};

// A new collection for the class values (empty `behaviorUri`) or one
// behaviour, with the definitions of `attributes` when given.
ComPtr<INvVexaAttributesValues> MakeAttributesValues(
    const ComPtr<INvVexaSchema>& schema, const Bstr& className, const Bstr& behaviorUri,
    std::shared_ptr<const AttributeSet> attributes = nullptr);

// The implementation behind a collection made by this library, or null.
CNvVexaAttributesValuesImpl* AttributesValuesImpl(const ComPtr<INvVexaAttributesValues>& values);

// The attribute elements of one class or behaviour, as they appear inside an
// object element.
struct AttributesTextContext {
  const ComPtr<INvVexaNamespaces>& namespaces;
  // An object's own values fall back to defaults and insist on required
  // attributes; other value sets list only what was assigned.
  bool isObjectValues;
};

// One element per attribute of `block` that has a value to write. `values`
// may be null (nothing assigned).
void AppendAttributeElements(DocumentText& out, const AttributesTextContext& context,
                             const TextBlock& block, const CNvVexaAttributesValuesImpl* values);

// Throws the unassigned failure for the first required attribute of `block`.
void CheckNoRequiredAttribute(const TextBlock& block);

}  // namespace nv
