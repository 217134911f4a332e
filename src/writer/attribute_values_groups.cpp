#include "writer/attribute_values_groups.h"

#include <vector>

#include "frame/exception.h"
#include "schema/behavior_uri.h"
#include "schema/impl_cast.h"
#include "writer/attribute_values.h"
#include "writer/attributes_text.h"

namespace nv {

namespace {

constexpr std::u16string_view kClassPrefix = u"tns";

// The class and its ancestors, root first.
std::vector<ComPtr<INvVexaClass>> RootFirstChain(const ComPtr<INvVexaClass>& leaf) {
  std::vector<ComPtr<INvVexaClass>> chain;
  for (ComPtr<INvVexaClass> current = leaf; current; current = current.ParentClass())
    chain.insert(chain.begin(), current);
  return chain;
}

// The document prefix and element name of a behaviour URI.
std::u16string BehaviorElementName(const ComPtr<INvVexaNamespaces>& namespaces,
                                   const Bstr& uri) {
  const Bstr ns = BehaviorNamespaceOf(uri.View());
  std::u16string name;
  if (namespaces) name = namespaces.GetPrefix(ns).View();
  name += u':';
  name += uri.View().substr(ns.View().size() + 1);
  return name;
}

}  // namespace

ComPtr<INvVexaAttributesValues> CNvVexaAttributesValuesGroupsImpl::GetBehaviorValues(
    const BstrArg& behaviorUri) {
  const Bstr uri = behaviorUri;
  auto found = groups_.find(uri.View());
  if (found == groups_.end())
    found = groups_.emplace(uri, MakeAttributesValues(schema_, className_, uri)).first;
  return found->second;
}

Bstr CNvVexaAttributesValuesGroupsImpl::GetAttributesXML() {
  std::u16string text;
  AppendAttributesXML(text);
  return Bstr(text);
}

ComPtr<INvVexaAttributesValues> CNvVexaAttributesValuesGroupsImpl::Item(
    const BstrArg& behaviorUri) {
  const auto found = groups_.find(std::u16string_view(behaviorUri));
  return found == groups_.end() ? nullptr : found->second;
}

bool CNvVexaAttributesValuesGroupsImpl::IsValueAssigned(const BstrArg& attributeName,
                                                        const BstrArg& behaviorUri) {
  const ComPtr<INvVexaAttributesValues> values = Item(behaviorUri);
  return values && values.IsValueAssigned(attributeName);
}

void CNvVexaAttributesValuesGroupsImpl::Create(const ComPtr<INvVexaSchema>& schema,
                                               const ComPtr<INvVexaNamespaces>& namespaces,
                                               const BstrArg& className, bool isObjectValues) {
  schema_ = schema;
  namespaces_ = namespaces;
  className_ = className;
  isObjectValues_ = isObjectValues;
  groups_.clear();
  groups_.emplace(Bstr(), MakeAttributesValues(schema_, className_, Bstr()));
}

void CNvVexaAttributesValuesGroupsImpl::AppendAttributesXML(std::u16string& out) const {
  const ComPtr<INvVexaClass> leaf = schema_.Classes().ItemByName(className_);
  if (!leaf) throw ENvException(u"class " + std::u16string(className_.View()) +
                                u" does not exist in schema");
  const AttributesTextContext context{namespaces_, isObjectValues_};
  const CNvVexaAttributesValuesImpl* classValues =
      AttributesValuesImpl(groups_.find(std::u16string_view())->second);
  for (const ComPtr<INvVexaClass>& current : RootFirstChain(leaf)) {
    AppendAttributeElements(out, context, current.CurrentClassAttributes(), kClassPrefix,
                            classValues);
    const ComPtr<INvVexaClassBehaviors> behaviors = current.CurrentClassBehaviors();
    const LONG count = behaviors.Count();
    for (LONG k = 0; k < count; ++k) {
      const ComPtr<INvVexaClassBehavior> behavior = behaviors.Item(k);
      const Bstr uri = behavior.URI();
      const auto entry = groups_.find(uri.View());
      if (entry == groups_.end()) {
        if (isObjectValues_) CheckNoRequiredAttribute(behavior.Attributes());
        continue;
      }
      const std::u16string element = BehaviorElementName(namespaces_, uri);
      out += u"  <" + element + u">\n";
      AppendAttributeElements(out, context, behavior.Attributes(), element.substr(0, element.find(u':')),
                              AttributesValuesImpl(entry->second));
      out += u"  </" + element + u">\n";
    }
  }
}

ComPtr<INvVexaAttributesValuesGroups> MakeAttributesValuesGroups(
    const ComPtr<INvVexaSchema>& schema, const ComPtr<INvVexaNamespaces>& namespaces,
    const Bstr& className, bool isObjectValues) {
  ComPtr<INvVexaAttributesValuesGroups> made = CreateObject<CNvVexaAttributesValuesGroups>();
  made.as<INvVexaAttributesValuesGroupsCRaw>().Create(schema, namespaces, className,
                                                      isObjectValues);
  return made;
}

const CNvVexaAttributesValuesGroupsImpl* AttributesValuesGroupsImpl(
    const ComPtr<INvVexaAttributesValuesGroups>& groups) {
  return ImplFrom<CNvVexaAttributesValuesGroups, INvVexaAttributesValuesGroupsCRaw>(groups);
}

}  // namespace nv
