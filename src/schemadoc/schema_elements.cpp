#include "schemadoc/schema_elements.h"

#include <set>
#include <string>

#include "frame/collections/containers.h"
#include "frame/implements.h"
#include "instance/names.h"
#include "platform/paths.h"
#include "schema/behaviors.h"
#include "values/data_type_names.h"
#include "values/value_to_text.h"
#include "values/xml_escape.h"

namespace nv {

void AppendAttribute(std::u16string& out, std::u16string_view name, std::u16string_view value) {
  NamingUnwritableOwner([&] { AppendXmlAttribute(out, name, value); },
                        [&] { return u"The " + std::u16string(name) + u" of the schema document"; });
}

namespace {

using NamespaceSet = std::set<Bstr, KeyLess>;

// Calls `use` with each class behaviour of the schema whose namespace is not
// in `seen` yet, and that namespace, adding it to `seen`.
template <class F>
void ForEachNewNamespace(const ComPtr<INvVexaSchema>& schema, NamespaceSet seen, F&& use) {
  const ComPtr<INvVexaClassesBehaviors> behaviors = schema.ClassesBehaviors();
  const LONG count = behaviors.Count();
  for (LONG k = 0; k < count; ++k) {
    const ComPtr<INvVexaClassBehavior> behavior = behaviors.Item(k);
    Bstr ns = BehaviorNamespaceOf(behavior.URI());
    if (seen.insert(ns).second) use(behavior, ns);
  }
}

// A bare relative name stays as it is, to be found beside the document that
// imports it; any other location is given as a URI.
Bstr ImportLocation(const Bstr& location) {
  const std::u16string_view text = location.View();
  const bool rooted = text.front() == u'/' || text.front() == u'\\';
  if (!rooted && text.find(u':') == std::u16string_view::npos) return location;
  return FileNameToFileSystemURI(text);
}

}  // namespace

Bstr TargetNamespaceOf(const ComPtr<INvVexaSchema>& schema) {
  const Bstr uri = schema.SchemaURI();
  return uri.Empty() ? Bstr(kDefaultTargetNamespace) : uri;
}

void AppendSchemaStartTag(std::u16string& out, const ComPtr<INvVexaSchema>& schema,
                          const ComPtr<INvVexaNamespaces>& namespaces) {
  const Bstr target = TargetNamespaceOf(schema);
  out += u"<schema";
  AppendAttribute(out, u"xmlns", kXmlSchemaNamespace);
  AppendAttribute(out, u"targetNamespace", target);
  AppendAttribute(out, u"elementFormDefault", u"qualified");
  AppendAttribute(out, u"xmlns:tns", target);
  AppendAttribute(out, u"xmlns:vexa", kCoreNamespace);
  AppendAttribute(out, u"xmlns:xsd", kXmlSchemaNamespace);
  AppendAttribute(out, u"xmlns:SOAP_ENV", kSoapEnvelopeNamespace);
  // A namespace declared above keeps its fixed prefix; declaring it twice
  // would repeat an attribute.
  const NamespaceSet declared{Bstr(kCoreNamespace), Bstr(kXmlSchemaNamespace),
                              Bstr(kSoapEnvelopeNamespace)};
  ForEachNewNamespace(schema, declared, [&](const ComPtr<INvVexaClassBehavior>&, const Bstr& ns) {
    AppendAttribute(out, u"xmlns:" + namespaces.GetPrefix(ns), ns);
  });
  out += u">\n";
}

void AppendImports(std::u16string& out, const ComPtr<INvVexaSchema>& schema) {
  out += u"<import";
  AppendAttribute(out, u"namespace", kCoreNamespace);
  AppendAttribute(out, u"schemaLocation", kCoreSchemaLocation);
  out += u"/><import";
  AppendAttribute(out, u"namespace", kSoapEnvelopeNamespace);
  AppendAttribute(out, u"schemaLocation", kSoapEnvelopeNamespace);
  out += u"/>";
  const NamespaceSet imported{Bstr(kCoreNamespace), Bstr(kSoapEnvelopeNamespace)};
  ForEachNewNamespace(schema, imported,
                      [&](const ComPtr<INvVexaClassBehavior>& behavior, const Bstr& ns) {
                        out += u"<import";
                        AppendAttribute(out, u"namespace", ns);
                        const Bstr location = behavior.SchemaLocation();
                        if (!location.Empty())
                          AppendAttribute(out, u"schemaLocation", ImportLocation(location));
                        out += u"/>";
                      });
  out += u'\n';
}

namespace {

void AppendRoles(std::u16string& out, const ComPtr<INvVexaDomainBehaviorRoleClassMapping>& roles) {
  const auto names = roles.as<INvVexaDomainBehaviorRoleClassMappingCRaw>();
  const LONG count = roles.Count();
  for (LONG k = 0; k < count; ++k) {
    const Bstr role = names.GetRoleNameByIndex(k);
    out += u"<vexa:role";
    AppendAttribute(out, u"vexa:name", role);
    AppendAttribute(out, u"vexa:class", u"tns:" + roles.Item(role).Name());
    out += u"/>";
  }
}

void AppendDomainBehaviors(std::u16string& out, const ComPtr<INvVexaDomainBehaviors>& behaviors) {
  const LONG count = behaviors.Count();
  if (count == 0) return;
  out += u"<vexa:domainBehaviors>";
  for (LONG k = 0; k < count; ++k) {
    const ComPtr<INvVexaDomainBehavior> behavior = behaviors.Item(k);
    out += u"<vexa:behavior";
    AppendAttribute(out, u"vexa:uri", behavior.URI());
    out += u">";
    AppendRoles(out, behavior.RoleClassMapping());
    out += u"</vexa:behavior>";
  }
  out += u"</vexa:domainBehaviors>";
}

// Appends the schema's Info as a Header element (also when it has no items);
// answers whether it has any. The document's own prefixes are declared on its
// root; the Header declares its item namespaces itself, so a fresh table will
// do.
bool AppendSchemaInfo(std::u16string& out, const ComPtr<INvVexaSchema>& schema) {
  const auto info = schema.Info().as<INvVexaInfoCRaw>();
  const ComPtr<INvVexaNamespaces> prefixes = CreateObject<CNvVexaNamespaces>();
  out += info.GetXMLStr(true, prefixes).View();
  return info.Count() > 0;
}

}  // namespace

void AppendSchemaAnnotation(std::u16string& out, const ComPtr<INvVexaSchema>& schema) {
  std::u16string info;
  const bool hasInfoItems = AppendSchemaInfo(info, schema);
  const ComPtr<INvVexaDomainBehaviors> domainBehaviors = schema.DomainBehaviors();
  if (!hasInfoItems && domainBehaviors.Count() == 0) return;
  out += u"<annotation><appinfo>";
  out += info;
  AppendDomainBehaviors(out, domainBehaviors);
  out += u"</appinfo></annotation>";
}

namespace {

void CheckNotInherited(const ComPtr<INvVexaClass>& vexaClass, const Bstr& uri) {
  const ComPtr<INvVexaClass> parent = vexaClass.ParentClass();
  if (parent && parent.SupportsBehavior(uri))
    throw ENvException(u"Class Behavior " + uri + u" implemented by class " + vexaClass.Name() +
                       u" is already implemented by one of the class's ancestors.");
}

MustUnderstandEnum CheckedMustUnderstand(const ComPtr<INvVexaClassBehaviors>& behaviors,
                                         const Bstr& uri) {
  const MustUnderstandEnum value = behaviors.GetMustUnderstandStatus(uri);
  if (value != muYes && value != muNo)
    throw ENvException(("Invalid MustUnderstandEnum value (" +
                        std::to_string(static_cast<int32_t>(value)) + ")")
                           .c_str());
  return value;
}

// A behaviour's namespace is declared, and its document written, from the
// schema's behaviours: one the schema does not have would be written with an
// undeclared prefix and no definition.
void CheckInSchema(const ClassElementScope& scope, const ComPtr<INvVexaClass>& vexaClass,
                   const ComPtr<INvVexaClassBehavior>& behavior, const Bstr& uri) {
  if (!SameObject(scope.behaviors.ItemByURI(uri), behavior))
    throw ENvException(u"Behavior \"" + uri + u"\" of class \"" + vexaClass.Name() +
                       u"\" is not one of the schema's ClassesBehaviors");
}

void AppendBehaviorReference(std::u16string& out, const ComPtr<INvVexaClass>& vexaClass,
                             const ComPtr<INvVexaClassBehaviors>& behaviors, LONG index,
                             const ClassElementScope& scope) {
  const ComPtr<INvVexaClassBehavior> behavior = behaviors.Item(index);
  const Bstr uri = behavior.URI();
  CheckInSchema(scope, vexaClass, behavior, uri);
  CheckNotInherited(vexaClass, uri);
  const MustUnderstandEnum mustUnderstand = CheckedMustUnderstand(behaviors, uri);
  const std::u16string_view elementName = uri.View().substr(uri.View().find(u'#') + 1);
  out += u"<element";
  const Bstr prefix = scope.namespaces.GetPrefix(BehaviorNamespaceOf(uri));
  AppendAttribute(out, u"ref", prefix + u":" + elementName);
  if (mustUnderstand == muYes) out += u" vexa:mustUnderstand=\"yes\"";
  if (!behavior.Attributes().as<INvVexaAttributesCRaw>().ConsistsRequiredAttributes())
    out += u" minOccurs=\"0\"";
  out += u"/>";
}

void AppendSequence(std::u16string& out, const ComPtr<INvVexaClass>& vexaClass,
                    const ClassElementScope& scope) {
  out += u"<sequence>";
  const ComPtr<INvVexaAttributes> attributes = vexaClass.CurrentClassAttributes();
  const LONG attributeCount = attributes.Count();
  for (LONG k = 0; k < attributeCount; ++k) AppendAttributeElement(out, attributes.Item(k));
  const ComPtr<INvVexaClassBehaviors> behaviors = vexaClass.CurrentClassBehaviors();
  const LONG behaviorCount = behaviors.Count();
  for (LONG k = 0; k < behaviorCount; ++k)
    AppendBehaviorReference(out, vexaClass, behaviors, k, scope);
  out += u"</sequence>";
}

}  // namespace

void AppendClassElements(std::u16string& out, const ComPtr<INvVexaClass>& vexaClass,
                         const ClassElementScope& scope) {
  const Bstr name = vexaClass.Name();
  out += u"<complexType";
  AppendAttribute(out, u"name", name);
  if (vexaClass.IsAbstract()) out += u" abstract=\"true\"";
  out += scope.isBehaviorSchema ? u" vexa:dataModelRole=\"vexa:class_behavior\">"
                          : u" vexa:dataModelRole=\"vexa:class\">";
  out += u"<complexContent><extension";
  const ComPtr<INvVexaClass> parent = vexaClass.ParentClass();
  AppendAttribute(out, u"base", parent ? u"tns:" + parent.Name() : Bstr(u"vexa:root"));
  out += u">";
  AppendSequence(out, vexaClass, scope);
  out += u"</extension></complexContent></complexType><element";
  AppendAttribute(out, u"name", name);
  AppendAttribute(out, u"type", u"tns:" + name);
  out += u"/>";
}

namespace {

[[noreturn]] void ThrowMissingType(const Bstr& name) {
  throw ENvException(u"missing Value type for attribute \"" + name + u"\"");
}

// The text of a default value, ready for an attribute value.
std::u16string DefaultText(const VARIANT& value, DataTypeEnum type, const Bstr& name) {
  std::u16string text;
  NamingUnwritableOwner(
      [&] {
        if (type != dtXML) return AppendVexaVariantText(text, value, type, XmlContext::kAttribute);
        // XML text comes as the client gave it: here it is the text of an attribute.
        std::u16string markup;
        AppendVexaVariantText(markup, value, type);
        AppendXmlEscaped(text, markup, XmlContext::kAttribute);
      },
      [&] { return u"The default value of attribute \"" + name + u"\""; });
  return text;
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
