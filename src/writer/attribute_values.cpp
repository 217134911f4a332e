#include "writer/attribute_values.h"

#include <algorithm>
#include <string>

#include "frame/exception.h"
#include "schema/impl_cast.h"
#include "values/duration_value.h"
#include "writer/attribute_value_text.h"
#include "writer/xml_value.h"

namespace nv {

namespace {

std::u16string Quoted(std::u16string_view text) {
  return u"\"" + std::u16string(text) + u"\"";
}

void CheckStringLength(const ComPtr<INvVexaAttribute>& attribute, const Bstr& name,
                       const VARIANT& value) {
  const LONG maxLength = attribute.TypeDefinition().StringType().MaxLength();
  if (maxLength < 1) return;
  if (value.vt != VT_BSTR) {
    throw ENvException(u"Invalid variant type for attribute " + Quoted(name.View()) +
                       u" of type string");
  }
  if (SysStringLen(value.bstrVal) > static_cast<UINT>(maxLength)) {
    throw ENvException(u"Size of string value for attribute " + Quoted(name.View()) +
                       u" must not exceed the MaxLength definition of " +
                       std::u16string(Bstr::FromUtf8(std::to_string(maxLength)).View()) + u" characters");
  }
}

}  // namespace

ComPtr<INvVexaAttribute> CNvVexaAttributesValuesImpl::FindAttribute(const Bstr& name) const {
  ComPtr<INvVexaAttribute> attribute;
  if (behaviorUri_.Empty()) {
    if (ComPtr<INvVexaClass> owner = schema_.Classes().ItemByName(className_))
      attribute = owner.AllAttributes().ItemByName(name);
  } else if (ComPtr<INvVexaClassBehavior> behavior =
                 schema_.ClassesBehaviors().ItemByURI(behaviorUri_)) {
    attribute = behavior.Attributes().ItemByName(name);
  }
  if (attribute) return attribute;
  const std::u16string owner = behaviorUri_.Empty() ? u"Class " + Quoted(className_.View())
                                                    : u"Behavior " + Quoted(behaviorUri_.View());
  throw ENvException(u"attribute " + Quoted(name.View()) + u" does not exist in " + owner);
}

Variant CNvVexaAttributesValuesImpl::Item(const BstrArg& attributeName) {
  const auto found = values_.find(std::u16string_view(attributeName));
  return found == values_.end() ? Variant::Null() : found->second;
}

void CNvVexaAttributesValuesImpl::PutItem(const BstrArg& attributeName, const VARIANT& value) {
  const Bstr name = attributeName;
  const ComPtr<INvVexaAttribute> attribute = FindAttribute(name);
  if (value.vt == VT_NULL) {
    if (!attribute.IsNullAllowed())
      throw ENvException(u"Null value is not allowed for attribute " + Quoted(name.View()));
  } else {
    const DataTypeEnum type = attribute.TypeDefinition().ValueType();
    if (type == dtString) CheckStringLength(attribute, name, value);
    if (type == dtXML && !HoldsXmlAttributeValue(value))
      throw ENvException(kDtXmlAssignmentFailure);
  }
  Variant copy(value);
  values_.insert_or_assign(name, std::move(copy));
  if (std::find(assigned_.begin(), assigned_.end(), name) == assigned_.end())
    assigned_.push_back(name);
}

bool CNvVexaAttributesValuesImpl::IsValueAssigned(const BstrArg& attributeName) {
  const std::u16string_view name = attributeName;
  return std::any_of(assigned_.begin(), assigned_.end(),
                     [&](const Bstr& assigned) { return assigned.View() == name; });
}

void CNvVexaAttributesValuesImpl::UnassignValue(const BstrArg& attributeName) {
  const std::u16string_view name = attributeName;
  std::erase_if(assigned_, [&](const Bstr& assigned) { return assigned.View() == name; });
  if (const auto found = values_.find(name); found != values_.end()) values_.erase(found);
}

ComPtr<INvVexaXmlAttributeValue> CNvVexaAttributesValuesImpl::CreateXmlAttributeValue() {
  return MakeXmlAttributeValue();
}

ComPtr<INvVexaDurationAttributeValue> CNvVexaAttributesValuesImpl::CreateDurationAttributeValue() {
  return CreateObject<CNvVexaDurationAttributeValue>();
}

Bstr CNvVexaAttributesValuesImpl::AttributeName(LONG index) {
  if (index < 0 || index >= Count()) throw ENvException("Invalid index");
  return std::next(values_.begin(), index)->first;
}

void CNvVexaAttributesValuesImpl::Create(const ComPtr<INvVexaSchema>& schema,
                                         const BstrArg& className, const BstrArg& behaviorUri) {
  schema_ = schema;
  className_ = className;
  behaviorUri_ = behaviorUri;
}

const VARIANT* CNvVexaAttributesValuesImpl::AssignedValue(std::u16string_view name) const {
  const auto found = values_.find(name);
  return found == values_.end() ? nullptr : &found->second;
}

ComPtr<INvVexaAttributesValues> MakeAttributesValues(const ComPtr<INvVexaSchema>& schema,
                                                     const Bstr& className,
                                                     const Bstr& behaviorUri) {
  ComPtr<INvVexaAttributesValues> made = CreateObject<CNvVexaAttributesValues>();
  made.as<INvVexaAttributesValuesCRaw>().Create(schema, className, behaviorUri);
  return made;
}

const CNvVexaAttributesValuesImpl* AttributesValuesImpl(
    const ComPtr<INvVexaAttributesValues>& values) {
  return ImplFrom<CNvVexaAttributesValues, INvVexaAttributesValuesCRaw>(values);
}

}  // namespace nv
