#include "reader/object_content.h"

#include "frame/exception.h"
#include "objects/attribute_values.h"
#include "reader/value_elements.h"

namespace nv {

CNvVexaAttributesValuesImpl* ObjectValuesOf::ClassValues() {
  return AttributesValuesImpl(object_.Values());
}

CNvVexaAttributesValuesImpl* ObjectValuesOf::BehaviorValues(const Bstr& uri) {
  return AttributesValuesImpl(object_.GetBehaviorValues(uri));
}

void ObjectContentReader::Read(ObjectValuesTarget& target, const Bstr& className,
                               std::u16string_view endName, std::u16string_view endNamespace) {
  PullParser& parser = parser_;
  parser.SkipTokens(kSkippedTokens);
  CNvVexaAttributesValuesImpl* values = target.ClassValues();
  while (!parser.AtEnd()) {
    if (parser.IsEndElement(endName, endNamespace)) {
      parser.NextSkipping(kSkippedTokens);
      break;
    }
    ExpectToken(parser, ttStartElement);
    if (IsClassNamespace(parser.CurrentToken()))
      ReadAttributeElement(values, className);
    else
      ReadBehaviorElement(target, className);
  }
}

// The parser keeps one lasting copy of each namespace URI it can, so once
// the class namespace has been met, its address recognises it.
bool ObjectContentReader::IsClassNamespace(const Token& tag) {
  if (tag.ns.data() == classNamespaceText_) return true;
  if (tag.ns != classNamespace_.View()) return false;
  if (tag.nsLasts) classNamespaceText_ = tag.ns.data();
  return true;
}

void ObjectContentReader::ReadBehaviorElement(ObjectValuesTarget& target, const Bstr& className) {
  PullParser& parser = parser_;
  const std::u16string ns(parser.CurrentToken().ns);
  const std::u16string name(parser.CurrentToken().localName);
  CNvVexaAttributesValuesImpl* values = target.BehaviorValues(Bstr(ns + u"#" + name));
  parser.NextSkipping(kSkippedTokens);
  while (!parser.AtEnd() && !parser.IsEndElement(name, ns)) {
    ExpectToken(parser, ttStartElement);
    ReadAttributeElement(values, className);
  }
  if (!parser.AtEnd()) parser.NextSkipping(kSkippedTokens);
}

void ObjectContentReader::ReadAttributeElement(CNvVexaAttributesValuesImpl* impl,
                                               const Bstr& className) {
  PullParser& parser = parser_;
  const std::u16string_view name = parser.CurrentToken().localName;
  const AttributeFacts* attribute = impl->Lookup(name);
  if (!attribute)
    throw ENvException(u"Unknown Attribute \"" + std::u16string(name) + u"\" for class \"" +
                       className + u"\"");
  ValueElement read = ReadValueElement(parser, attribute->type);
  if (read.reference) {
    impl->Assign(*attribute, Variant(Bstr(*read.reference)));
  } else if (read.empty) {
    impl->Assign(*attribute, Variant(u""));
  } else {
    if (read.value.vt == VT_NULL && !attribute->nullAllowed)
      throw ENvException(
          u"Invalid Vexa: According to schema, Null value is not allowed for attribute \"" +
          attribute->name + u"\"");
    impl->Assign(*attribute, std::move(read.value));
  }
  ExpectToken(parser, ttEndElement);
  parser.NextSkipping(kSkippedTokens);
}

}  // namespace nv
