#include "schemadoc/class_element.h"

#include <string>

#include "schema/behaviors.h"
#include "frame/impl_cast.h"
#include "schemadoc/attribute_element.h"
#include "schemadoc/markup.h"

namespace nv {
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

}  // namespace nv
