#include "objects/attribute_values_groups.h"

#include "frame/exception.h"
#include "frame/implements.h"
#include "objects/attribute_values.h"

namespace nv {

const ClassLayout* CNvVexaAttributesValuesGroupsImpl::Layout() const {
  if (!layout_) {
    if (const ComPtr<INvVexaClass> owner = schema_.Classes().ItemByName(className_))
      layout_ = std::make_shared<const ClassLayout>(owner, namespaces_);
  }
  return layout_.get();
}

CNvVexaAttributesValuesGroupsImpl::Group CNvVexaAttributesValuesGroupsImpl::MakeGroup(
    const Bstr& behaviorUri) const {
  std::shared_ptr<const AttributeSet> attributes;
  if (const ClassLayout* layout = Layout()) {
    attributes = ShareAttributes(layout_, behaviorUri.Empty()
                                              ? &layout->ClassAttributes()
                                              : layout->BehaviorAttributes(behaviorUri.View()));
  }
  ComPtr<INvVexaAttributesValues> values =
      MakeAttributesValues(schema_, className_, behaviorUri, std::move(attributes));
  CNvVexaAttributesValuesImpl* impl = AttributesValuesImpl(values);
  return Group{std::move(values), impl};
}

ComPtr<INvVexaAttributesValues> CNvVexaAttributesValuesGroupsImpl::GetBehaviorValues(
    const BstrArg& behaviorUri) {
  auto found = groups_.find(std::u16string_view(behaviorUri));
  if (found == groups_.end()) {
    const Bstr uri = behaviorUri;
    found = groups_.emplace(uri, MakeGroup(uri)).first;
  }
  return found->second.values;
}

Bstr CNvVexaAttributesValuesGroupsImpl::GetAttributesXML() {
  DocumentText text;
  AppendAttributesXML(text);
  return Bstr(text.ToString());
}

ComPtr<INvVexaAttributesValues> CNvVexaAttributesValuesGroupsImpl::Item(
    const BstrArg& behaviorUri) {
  const auto found = groups_.find(std::u16string_view(behaviorUri));
  return found == groups_.end() ? nullptr : found->second.values;
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
  groups_.emplace(Bstr(), MakeGroup(Bstr()));
}

const ClassLayout& CNvVexaAttributesValuesGroupsImpl::RequiredLayout() const {
  const ClassLayout* layout = Layout();
  if (!layout) throw ENvException(u"class " + std::u16string(className_.View()) +
                                  u" does not exist in schema");
  return *layout;
}

void CNvVexaAttributesValuesGroupsImpl::AppendAttributesXML(DocumentText& out) const {
  AppendBlocks(out, RequiredLayout(), namespaces_);
}

// A layout of the same class from the same schema keeps every attribute in
// the same slot, so the values are found whatever prefixes it gives.
void CNvVexaAttributesValuesGroupsImpl::AppendAttributesXML(
    DocumentText& out, const ComPtr<INvVexaNamespaces>& namespaces) const {
  if (SameObject(namespaces, namespaces_)) return AppendAttributesXML(out);
  RequiredLayout();
  const ClassLayout layout(schema_.Classes().ItemByName(className_), namespaces);
  AppendBlocks(out, layout, namespaces);
}

void CNvVexaAttributesValuesGroupsImpl::AppendBlocks(
    DocumentText& out, const ClassLayout& layout,
    const ComPtr<INvVexaNamespaces>& namespaces) const {
  const AttributesTextContext context{namespaces, isObjectValues_};
  const CNvVexaAttributesValuesImpl* classValues = groups_.find(std::u16string_view())->second.impl;
  for (const TextBlock& block : layout.Blocks()) {
    if (block.behaviorUri.empty()) {
      AppendAttributeElements(out, context, block, classValues);
      continue;
    }
    const auto entry = groups_.find(std::u16string_view(block.behaviorUri));
    if (entry == groups_.end()) {
      if (isObjectValues_) CheckNoRequiredAttribute(block);
      continue;
    }
    out.Text() += u"  <";
    out.Text() += block.element;
    out.Text() += u">\n";
    AppendAttributeElements(out, context, block, entry->second.impl);
    out.Text() += u"  </";
    out.Text() += block.element;
    out.Text() += u">\n";
  }
}

ComPtr<INvVexaAttributesValuesGroups> MakeAttributesValuesGroups(
    const ComPtr<INvVexaSchema>& schema, const ComPtr<INvVexaNamespaces>& namespaces,
    const Bstr& className, bool isObjectValues, std::shared_ptr<const ClassLayout> layout) {
  ComPtr<INvVexaAttributesValuesGroups> made = CreateObject<CNvVexaAttributesValuesGroups>();
  ImplFrom<CNvVexaAttributesValuesGroups, INvVexaAttributesValuesGroupsCRaw>(made)->UseLayout(
      std::move(layout));
  made.as<INvVexaAttributesValuesGroupsCRaw>().Create(schema, namespaces, className,
                                                      isObjectValues);
  return made;
}

Bstr AttributesXMLWith(const ComPtr<INvVexaAttributesValuesGroups>& groups,
                       const ComPtr<INvVexaNamespaces>& namespaces) {
  const CNvVexaAttributesValuesGroupsImpl* impl = AttributesValuesGroupsImpl(groups);
  if (!impl) return groups.as<INvVexaAttributesValuesGroupsCRaw>().GetAttributesXML();
  DocumentText text;
  impl->AppendAttributesXML(text, namespaces);
  return Bstr(text.ToString());
}

const CNvVexaAttributesValuesGroupsImpl* AttributesValuesGroupsImpl(
    const ComPtr<INvVexaAttributesValuesGroups>& groups) {
  return ImplFrom<CNvVexaAttributesValuesGroups, INvVexaAttributesValuesGroupsCRaw>(groups);
}

}  // namespace nv
