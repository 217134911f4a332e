#include "objects/class_layout.h"

#include "frame/exception.h"
#include "schema/behaviors.h"
#include "schema/classes.h"
#include "frame/implements.h"

namespace nv {

namespace {

constexpr std::u16string_view kClassPrefix = u"tns";

AttributeFacts FactsOf(const ComPtr<INvVexaAttribute>& attribute, std::u16string_view prefix) {
  AttributeFacts facts;
  facts.name = attribute.Name();
  const std::u16string element = std::u16string(prefix) + u':' + std::u16string(facts.name.View());
  facts.startTag = u"    <" + element;
  facts.endTag = u"</" + element + u">";
  const ComPtr<INvVexaTypeDefinition> definition = attribute.TypeDefinition();
  facts.type = definition.ValueType();
  facts.required = attribute.Required();
  facts.nullAllowed = attribute.IsNullAllowed();
  if (facts.type == dtString) facts.maxLength = definition.StringType().MaxLength();
  facts.defaultValue = attribute.DefaultValue();
  return facts;
}

[[noreturn]] void ThrowNotInSchema(std::u16string_view uri, const ComPtr<INvVexaClass>& owner) {
  throw ENvException(u"Behavior \"" + std::u16string(uri) + u"\" of class \"" +
                     std::u16string(owner.Name().View()) +
                     u"\" is not one of the schema's ClassesBehaviors");
}

// The document prefix and element name of a behaviour URI.
std::u16string BehaviorElementName(const ComPtr<INvVexaNamespaces>& namespaces,
                                   std::u16string_view uri, const ComPtr<INvVexaClass>& owner) {
  const Bstr ns = BehaviorNamespaceOf(uri);
  std::u16string name;
  if (namespaces) {
    name = namespaces.GetPrefix(ns).View();
    if (name.empty()) ThrowNotInSchema(uri, owner);
  }
  name += u':';
  name += uri.substr(ns.View().size() + 1);
  return name;
}

}  // namespace

std::u16string ClassOwnerText(std::u16string_view className) {
  return u"Class \"" + std::u16string(className) + u"\"";
}

std::u16string BehaviorOwnerText(std::u16string_view behaviorUri) {
  return u"Behavior \"" + std::u16string(behaviorUri) + u"\"";
}

void AttributeSet::Append(const ComPtr<INvVexaAttributes>& attributes,
                          std::u16string_view prefix) {
  const LONG count = attributes.Count();
  for (LONG k = 0; k < count; ++k) {
    AttributeFacts facts = FactsOf(attributes.Item(k), prefix);
    const auto [entry, added] = slots_.try_emplace(std::u16string(facts.name.View()), facts_.size());
    facts.slot = entry->second;
    facts_.push_back(std::move(facts));
  }
}

long AttributeSet::SlotOf(std::u16string_view name) const {
  const auto found = slots_.find(name);
  return found == slots_.end() ? -1 : static_cast<long>(found->second);
}

long AttributeSet::IndexOf(std::u16string_view name, size_t guess) const {
  if (guess < facts_.size() && facts_[guess].name.View() == name) return static_cast<long>(guess);
  return SlotOf(name);
}

ClassLayout::ClassLayout(const ComPtr<INvVexaClass>& vexaClass,
                         const ComPtr<INvVexaNamespaces>& namespaces,
                         const ComPtr<INvVexaClassesBehaviors>& schemaBehaviors)
    : classAttributes_(ClassOwnerText(vexaClass.Name().View())) {
  std::vector<ComPtr<INvVexaClass>> chain = ClassChain(vexaClass);
  for (auto current = chain.rbegin(); current != chain.rend(); ++current) {
    TextBlock own;
    own.attributes = &classAttributes_;
    own.first = classAttributes_.Size();
    classAttributes_.Append(current->CurrentClassAttributes(), kClassPrefix);
    own.last = classAttributes_.Size();
    blocks_.push_back(std::move(own));

    const ComPtr<INvVexaClassBehaviors> behaviors = current->CurrentClassBehaviors();
    const LONG count = behaviors.Count();
    for (LONG k = 0; k < count; ++k) {
      const ComPtr<INvVexaClassBehavior> behavior = behaviors.Item(k);
      TextBlock block;
      block.behaviorUri = behavior.URI().View();
      if (schemaBehaviors && !SameObject(schemaBehaviors.ItemByURI(behavior.URI()), behavior))
        ThrowNotInSchema(block.behaviorUri, *current);
      block.element = BehaviorElementName(namespaces, block.behaviorUri, *current);
      AttributeSet& set =
          behaviors_.try_emplace(block.behaviorUri, BehaviorOwnerText(block.behaviorUri))
              .first->second;
      block.attributes = &set;
      block.first = set.Size();
      set.Append(behavior.Attributes(), std::u16string_view(block.element).substr(
                                            0, block.element.find(u':')));
      block.last = set.Size();
      blocks_.push_back(std::move(block));
    }
  }
}

const AttributeSet* ClassLayout::BehaviorAttributes(std::u16string_view uri) const {
  const auto found = behaviors_.find(uri);
  return found == behaviors_.end() ? nullptr : &found->second;
}

}  // namespace nv
