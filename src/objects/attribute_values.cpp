#include "objects/attribute_values.h"

#include <algorithm>
#include <string>

#include "frame/collections/containers.h"
#include "frame/exception.h"
#include "frame/implements.h"
#include "instance/value_elements.h"
#include "values/duration.h"
#include "values/value_to_text.h"

namespace nv {

namespace {

std::u16string Quoted(std::u16string_view text) {
  return u"\"" + std::u16string(text) + u"\"";
}

void CheckStringLength(const AttributeFacts& attribute, const VARIANT& value) {
  if (attribute.maxLength < 1) return;
  if (value.vt != VT_BSTR) {
    throw ENvException(u"Invalid variant type for attribute " + Quoted(attribute.name.View()) +
                       u" of type string");
  }
  if (SysStringLen(value.bstrVal) > static_cast<UINT>(attribute.maxLength)) {
    throw ENvException(u"Size of string value for attribute " + Quoted(attribute.name.View()) +
                       u" must not exceed the MaxLength definition of " +
                       std::u16string(Bstr::FromUtf8(std::to_string(attribute.maxLength)).View()) +
                       u" characters");
  }
}

// The definitions of the class's attributes or of one behaviour's, read from
// the schema; null when neither exists.
std::shared_ptr<const AttributeSet> ReadAttributes(const ComPtr<INvVexaSchema>& schema,
                                                   const Bstr& className, const Bstr& behaviorUri) {
  if (behaviorUri.Empty()) {
    const ComPtr<INvVexaClass> owner = schema.Classes().ItemByName(className);
    if (!owner) return nullptr;
    const auto layout = std::make_shared<const ClassLayout>(owner, nullptr);
    return ShareAttributes(layout, &layout->ClassAttributes());
  }
  const ComPtr<INvVexaClassBehavior> behavior = schema.ClassesBehaviors().ItemByURI(behaviorUri);
  if (!behavior) return nullptr;
  auto set = std::make_shared<AttributeSet>(BehaviorOwnerText(behaviorUri.View()));
  set->Append(behavior.Attributes(), u"");
  return set;
}

}  // namespace

const AttributeFacts* CNvVexaAttributesValuesImpl::Lookup(std::u16string_view name) {
  if (!attributes_) UseAttributes(ReadAttributes(schema_, className_, behaviorUri_));
  const long index = attributes_ ? attributes_->IndexOf(name, nextGuess_) : -1;
  if (index < 0) return nullptr;
  nextGuess_ = static_cast<size_t>(index) + 1;
  return &(*attributes_)[static_cast<size_t>(index)];
}

const AttributeFacts& CNvVexaAttributesValuesImpl::FindAttribute(std::u16string_view name) {
  if (const AttributeFacts* found = Lookup(name)) return *found;
  const std::u16string owner = attributes_ ? attributes_->Owner()
                               : behaviorUri_.Empty() ? ClassOwnerText(className_.View())
                                                      : BehaviorOwnerText(behaviorUri_.View());
  throw ENvException(u"attribute " + Quoted(name) + u" does not exist in " + owner);
}

long CNvVexaAttributesValuesImpl::SlotOf(std::u16string_view name) const {
  return attributes_ ? attributes_->SlotOf(name) : -1;
}

Variant CNvVexaAttributesValuesImpl::Item(const BstrArg& attributeName) {
  const VARIANT* value = nullptr;
  if (const long slot = SlotOf(attributeName); slot >= 0)
    value = AssignedValue(static_cast<size_t>(slot));
  return value ? Variant(*value) : Variant::Null();
}

void CNvVexaAttributesValuesImpl::PutItem(const BstrArg& attributeName, const VARIANT& value) {
  Assign(FindAttribute(attributeName), Variant(value));
}

void CNvVexaAttributesValuesImpl::Assign(const AttributeFacts& attribute, Variant value) {
  if (value.vt == VT_NULL) {
    if (!attribute.nullAllowed)
      throw ENvException(u"Null value is not allowed for attribute " +
                         Quoted(attribute.name.View()));
  } else {
    if (attribute.type == dtString) CheckStringLength(attribute, value);
    if (attribute.type == dtXML && !HoldsXmlAttributeValue(value))
      throw ENvException(kDtXmlAssignmentFailure);
  }
  Slot& slot = slots_[attribute.slot];
  slot.value = std::move(value);
  if (!slot.assigned) {
    slot.assigned = true;
    ++assignedCount_;
  }
}

bool CNvVexaAttributesValuesImpl::IsValueAssigned(const BstrArg& attributeName) {
  const long slot = SlotOf(attributeName);
  return slot >= 0 && slots_[static_cast<size_t>(slot)].assigned;
}

void CNvVexaAttributesValuesImpl::UnassignValue(const BstrArg& attributeName) {
  const long found = SlotOf(attributeName);
  if (found < 0 || !slots_[static_cast<size_t>(found)].assigned) return;
  slots_[static_cast<size_t>(found)] = Slot();
  --assignedCount_;
}

ComPtr<INvVexaXmlAttributeValue> CNvVexaAttributesValuesImpl::CreateXmlAttributeValue() {
  return MakeXmlAttributeValue();
}

ComPtr<INvVexaDurationAttributeValue> CNvVexaAttributesValuesImpl::CreateDurationAttributeValue() {
  return CreateObject<CNvVexaDurationAttributeValue>();
}

Bstr CNvVexaAttributesValuesImpl::AttributeName(LONG index) {
  if (index < 0 || index >= Count()) throw ENvException("Invalid index");
  std::vector<std::u16string_view> names;
  for (size_t slot = 0; slot < slots_.size(); ++slot)
    if (slots_[slot].assigned) names.push_back((*attributes_)[slot].name.View());
  std::sort(names.begin(), names.end(), KeyLess());
  return Bstr(names[static_cast<size_t>(index)]);
}

void CNvVexaAttributesValuesImpl::Create(const ComPtr<INvVexaSchema>& schema,
                                         const BstrArg& className, const BstrArg& behaviorUri) {
  schema_ = schema;
  className_ = className;
  behaviorUri_ = behaviorUri;
}

void CNvVexaAttributesValuesImpl::UseAttributes(std::shared_ptr<const AttributeSet> attributes) {
  attributes_ = std::move(attributes);
  const size_t size = attributes_ ? attributes_->Size() : 0;
  slots_.clear();
  slots_.resize(size);
  assignedCount_ = 0;
}

const VARIANT* CNvVexaAttributesValuesImpl::AssignedValue(size_t slot) const {
  return slot < slots_.size() && slots_[slot].assigned ? &slots_[slot].value : nullptr;
}

ComPtr<INvVexaAttributesValues> MakeAttributesValues(
    const ComPtr<INvVexaSchema>& schema, const Bstr& className, const Bstr& behaviorUri,
    std::shared_ptr<const AttributeSet> attributes) {
  ComPtr<INvVexaAttributesValues> made = CreateObject<CNvVexaAttributesValues>();
  CNvVexaAttributesValuesImpl* impl = AttributesValuesImpl(made);
  // Values with definitions never go back to the schema, nor need its names.
  if (attributes)
    impl->UseAttributes(std::move(attributes));
  else
    impl->Create(schema, className, behaviorUri);
  return made;
}

CNvVexaAttributesValuesImpl* AttributesValuesImpl(
    const ComPtr<INvVexaAttributesValues>& values) {
  return ImplFrom<CNvVexaAttributesValues, INvVexaAttributesValuesCRaw>(values);
}

namespace {

[[noreturn]] void ThrowUnassigned(const Bstr& name) {
  throw ENvException(u"Required attribute \"" + std::u16string(name.View()) +
                     u"\" was not assigned");
}

// A default of an XML attribute is markup of the client's own: it is written
// as an XML value, so that it is checked and its namespaces are kept.
Variant XmlDefault(const AttributeFacts& attribute) {
  Variant text;
  if (FAILED(VariantChangeType(&text, &attribute.defaultValue, 0, VT_BSTR)))
    throw ENvException("Failed to convert Variant value to the specified type");
  const ComPtr<INvVexaXmlAttributeValue> xml = MakeXmlAttributeValue();
  xml.PutXML(Bstr(std::u16string_view(text.bstrVal, SysStringLen(text.bstrVal))));
  return Variant(static_cast<IDispatch*>(xml.get()));
}

void AppendValueElement(DocumentText& out, const AttributesTextContext& context,
                        const AttributeFacts& attribute, const VARIANT& value) {
  out.Text() += attribute.startTag;
  NamingUnwritableOwner(
      [&] {
        AppendValuePart(out, attribute.endTag, value, attribute.type,
                        XmlValueScope{context.namespaces});
      },
      [&] { return u"The value of attribute " + Quoted(attribute.name.View()); });
  out.Text() += u'\n';
}

void AppendAttributeElement(DocumentText& out, const AttributesTextContext& context,
                            const AttributeFacts& attribute,
                            const CNvVexaAttributesValuesImpl* values) {
  if (const VARIANT* assigned = values ? values->AssignedValue(attribute.slot) : nullptr) {
    AppendValueElement(out, context, attribute, *assigned);
    return;
  }
  if (!context.isObjectValues) return;
  if (attribute.required) ThrowUnassigned(attribute.name);
  if (attribute.defaultValue.IsNull() || attribute.defaultValue.IsEmpty()) return;
  if (attribute.type == dtXML)
    AppendValueElement(out, context, attribute, XmlDefault(attribute));
  else  // kept by reference when long: the layout holds it while the text is written
    AppendValueElement(out, context, attribute, attribute.defaultValue);
}

}  // namespace

void AppendAttributeElements(DocumentText& out, const AttributesTextContext& context,
                             const TextBlock& block, const CNvVexaAttributesValuesImpl* values) {
  for (size_t k = block.first; k < block.last; ++k)
    AppendAttributeElement(out, context, (*block.attributes)[k], values);
}

void CheckNoRequiredAttribute(const TextBlock& block) {
  for (size_t k = block.first; k < block.last; ++k)
    if ((*block.attributes)[k].required) ThrowUnassigned((*block.attributes)[k].name);
}

}  // namespace nv
