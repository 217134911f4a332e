#include "schemadoc/attribute_element.h"

#include <string>

#include "schemadoc/markup.h"
#include "values/data_type_names.h"
#include "values/value_to_text.h"
#include "values/xml_escape.h"

namespace nv {
namespace {

[[noreturn]] void ThrowMissingType(const Bstr& name) {
  throw ENvException(u"missing Value type for attribute \"" + name + u"\"");
}

// The text of a default value, ready for an attribute value.
std::u16string DefaultText(const VARIANT& value, DataTypeEnum type, const Bstr& name) {
  std::u16string text;
  try {
    if (type != dtXML) {
      AppendVexaVariantText(text, value, type, XmlContext::kAttribute);
      return text;
    }
    // XML text comes as the client gave it: here it is the text of an attribute.
    std::u16string markup;
    AppendVexaVariantText(markup, value, type);
    AppendXmlEscaped(text, markup, XmlContext::kAttribute);
    return text;
  } catch (const UnwritableCharacter& e) {
    throw ENvException(e.Describe(u"The default value of attribute \"" + name + u"\""));
  }
}

void AppendDefault(std::u16string& out, const ComPtr<INvVexaAttribute>& attribute,
                   const Bstr& name, DataTypeEnum type) {
  const Variant value = attribute.DefaultValue();
  if (value.IsNull()) return;
  if (attribute.Required())
    throw ENvException(u"Invalid Vexa: A required Attribute \"" + name + u"\" has a default value");
  if (type == dtUndefined) ThrowMissingType(name);
  out += u" default=\"";
  out += DefaultText(value, type, name);
  out += u'"';
}

std::u16string_view RestrictionText(ObjectReferenceRestrictionTypeEnum type) {
  switch (type) {
    case ortClass:
      return u"Class";
    case ortClassAndDescendants:
      return u"ClassAndDescendants";
    case ortBehavior:
      return u"Behavior";
    default:
      throw ENvException(("Invalid ObjectReferenceRestrictionType value (" +
                          std::to_string(static_cast<int32_t>(type)) + ")")
                             .c_str());
  }
}

void AppendRestriction(std::u16string& out,
                       const ComPtr<INvVexaObjectReferenceTypeDefinition>& reference) {
  const ObjectReferenceRestrictionTypeEnum type = reference.RestrictionType();
  if (type == ortAny) return;
  const std::u16string_view text = RestrictionText(type);
  if (type == ortBehavior) {
    const Bstr uri = reference.BehaviorURI();
    if (uri.Empty()) throw ENvException("Missing BehaviorURI for ObjectRefrenceRestriction");
    AppendAttribute(out, u"vexa:restrictionType", text);
    AppendAttribute(out, u"vexa:restrictionBehaviorURI", uri);
  } else {
    const Bstr className = reference.ClassName();
    if (className.Empty()) throw ENvException("Missing ClassName for ObjectRefrenceRestriction");
    AppendAttribute(out, u"vexa:restrictionType", text);
    AppendAttribute(out, u"vexa:restrictionClassName", className);
  }
}

// The type attribute and the restriction attributes; answers the element's
// content (a length-limited string type) or an empty text.
std::u16string AppendType(std::u16string& out, const ComPtr<INvVexaTypeDefinition>& definition,
                          DataTypeEnum type) {
  if (type == dtString) {
    const LONG maxLength = definition.StringType().MaxLength();
    if (maxLength != 0) {
      const std::string digits = std::to_string(maxLength);
      return u"<simpleType><restriction base=\"string\"><maxLength value=\"" +
             std::u16string(digits.begin(), digits.end()) +
             u"\"/></restriction></simpleType>";
    }
  }
  if (type == dtObjectReference) {
    AppendAttribute(out, u"type", u"vexa:objectReference");
    AppendRestriction(out, definition.ObjectReferenceType());
  } else if (type == dtXML) {
    AppendAttribute(out, u"type", u"vexa:xml");
  } else {
    AppendAttribute(out, u"type", DataTypeToSchemaName(type));
  }
  return {};
}

}  // namespace

void AppendAttributeElement(std::u16string& out, const ComPtr<INvVexaAttribute>& attribute) {
  const Bstr name = attribute.Name();
  const ComPtr<INvVexaTypeDefinition> definition = attribute.TypeDefinition();
  const DataTypeEnum type = definition.ValueType();
  out += u"<element";
  AppendAttribute(out, u"name", name);
  if (!attribute.Required()) out += u" minOccurs=\"0\"";
  AppendDefault(out, attribute, name, type);
  if (attribute.IsNullAllowed()) out += u" nillable=\"true\"";
  if (type == dtUndefined) ThrowMissingType(name);
  const std::u16string content = AppendType(out, definition, type);
  if (attribute.IsPrimary()) out += u" vexa:primary=\"true\"";
  out += u" vexa:dataModelRole=\"vexa:attribute\">";
  out += content;
  out += u"</element>";
}

}  // namespace nv
