#include "schema/classes.h"

#include <utility>

#include "frame/implements.h"
#include "instance/names.h"
#include "schema/attributes.h"
#include "schema/behaviors.h"

namespace nv {

ComPtr<INvVexaClass> CNvVexaClassesImpl::Item(LONG index) {
  if (!InRange(index)) throw ENvException("Get item from vector failed due to illegal index");
  return classes_[static_cast<size_t>(index)];
}

LONG CNvVexaClassesImpl::IndexOf(const BstrArg& name) {
  const auto found = byName_.find(std::u16string(name.View()));
  if (found == byName_.end()) return -1;
  for (size_t k = 0; k < classes_.size(); ++k)
    if (classes_[k].get() == found->second) return static_cast<LONG>(k);
  return -1;
}

ComPtr<INvVexaClass> CNvVexaClassesImpl::ItemByName(const BstrArg& name) {
  const auto found = byName_.find(std::u16string(name.View()));
  return found == byName_.end() ? nullptr : ComPtr<INvVexaClass>(found->second);
}

ComPtr<INvVexaClass> CNvVexaClassesImpl::Add(const BstrArg& name) {
  const Bstr text = name;
  if (text.Empty()) throw ENvException("Missing Class Name");
  if (!IsValidNCName(text)) throw ENvException(u"Invalid name \"" + text + u"\" for class");
  std::u16string key(text.View());
  if (byName_.contains(key)) throw ENvException(u"Class " + text + u" already exist");
  ComPtr<INvVexaClass> made = CreateObject<CNvVexaClass>();
  made.as<INvVexaClassCRaw>().Create(text);
  classes_.push_back(made);
  byName_.emplace(std::move(key), made.get());
  ClassImplOf(made)->SetCollection(this);
  return made;
}

void CNvVexaClassesImpl::Remove(LONG index) {
  if (!InRange(index)) throw ENvException("Remove item from vector failed due to illegal index");
  const auto& removed = classes_[static_cast<size_t>(index)];
  for (const auto& other : classes_)
    if (other.ParentClass() == removed)
      throw ENvException(u"Cannot remove class \"" + removed.Name() +
                         u"\" since it is parent of class \"" + other.Name() + u"\".");
  ComPtr<INvVexaClass> taken = std::move(classes_[static_cast<size_t>(index)]);
  classes_.erase(classes_.begin() + index);
  byName_.erase(std::u16string(taken.Name().View()));
  ClassImplOf(taken)->SetCollection(nullptr);
}

void CNvVexaClassesImpl::Clear() {
  std::vector<ComPtr<INvVexaClass>> released;
  released.swap(classes_);
  byName_.clear();
  for (const auto& vexaClass : released) ClassImplOf(vexaClass)->SetCollection(nullptr);
}

void CNvVexaClassesImpl::Copy(const ComPtr<INvVexaClasses>& source,
                              const ComPtr<INvVexaSchema>& destSchema) {
  if (SameObject(source, SelfAs<INvVexaClasses>(this))) return;
  Clear();
  // Each class copy connects a parent that already exists; a parent that
  // comes later in the source is connected once every class exists.
  std::vector<std::pair<ComPtr<INvVexaClass>, Bstr>> parentsLater;
  const LONG count = source.Count();
  for (LONG k = 0; k < count; ++k) {
    ComPtr<INvVexaClass> from = source.Item(k);
    ComPtr<INvVexaClass> copied = Add(from.Name());
    copied.as<INvVexaClassCRaw>().Copy(from, destSchema);
    ComPtr<INvVexaClass> sourceParent = from.ParentClass();
    if (sourceParent && !copied.ParentClass())
      parentsLater.emplace_back(copied, sourceParent.Name());
  }
  const auto destClasses = destSchema.Classes();
  for (const auto& [copied, parentName] : parentsLater)
    copied.PutParentClass(destClasses.ItemByName(parentName));
}

namespace {

// A view of type D rooted at `root`.
template <class D>
ComPtr<typename D::NvDefault> MakeView(const ComPtr<INvVexaClass>& root) {
  auto* view = new D();
  ComPtr<typename D::NvDefault> made(static_cast<typename D::NvDefault*>(view));
  static_cast<typename D::NvImpl*>(view)->Create(root);
  return made;
}

// The self-rooted view cached in `slot`, made when the slot is empty.
template <class D>
ComPtr<typename D::NvDefault> CachedView(void*& slot, const ComPtr<INvVexaClass>& self) {
  using I = typename D::NvDefault;
  if (slot) return ComPtr<I>(static_cast<I*>(slot));
  auto* view = new D();
  ComPtr<I> made(static_cast<I*>(view));
  auto* impl = static_cast<typename D::NvImpl*>(view);
  impl->Create(self);
  slot = made.get();
  impl->slot.ClearOnRelease(&slot);
  return made;
}

}  // namespace

CNvVexaClassImpl::~CNvVexaClassImpl() {
  if (auto* behaviors = ImplFrom<CNvVexaClassBehaviors, INvVexaClassBehaviorsCRaw>(behaviors_))
    behaviors->Unbind();
}

ComPtr<INvVexaClass> CNvVexaClassImpl::ThisClass() { return SelfAs<INvVexaClass>(this); }

ComPtr<INvVexaAttributes> CNvVexaClassImpl::CurrentClassAttributes() {
  if (!attributes_) attributes_ = MakeAttributes(aotClass);
  return attributes_;
}

ComPtr<INvVexaReadOnlyAttributes> CNvVexaClassImpl::InheritedAttributes() {
  if (!inheritedAttributes_)
    inheritedAttributes_ = MakeView<CNvMultipleClassAttributesAdapter>(parent_);
  return inheritedAttributes_;
}

ComPtr<INvVexaReadOnlyAttributes> CNvVexaClassImpl::AllAttributes() {
  return CachedView<CNvMultipleClassAttributesAdapter>(allAttributes_, ThisClass());
}

ComPtr<INvVexaClassBehaviors> CNvVexaClassImpl::CurrentClassBehaviors() {
  if (!behaviors_) {
    ComPtr<INvVexaClassBehaviors> made = CreateObject<CNvVexaClassBehaviors>();
    made.as<INvVexaClassBehaviorsCRaw>().Create(ThisClass());
    behaviors_ = made;
  }
  return behaviors_;
}

ComPtr<INvVexaReadOnlyClassBehaviors> CNvVexaClassImpl::InheritedBehaviors() {
  if (!inheritedBehaviors_)
    inheritedBehaviors_ = MakeView<CNvMultipleClassBehaviorsAdapter>(parent_);
  return inheritedBehaviors_;
}

ComPtr<INvVexaReadOnlyClassBehaviors> CNvVexaClassImpl::AllBehaviors() {
  return CachedView<CNvMultipleClassBehaviorsAdapter>(allBehaviors_, ThisClass());
}

bool CNvVexaClassImpl::SupportsBehavior(const BstrArg& uri) {
  return static_cast<bool>(AllBehaviors().ItemByURI(uri));
}

CNvVexaClassImpl* CNvVexaClassImpl::ParentImpl() const { return ClassImplOf(parent_); }

void CNvVexaClassImpl::CheckParent(const ComPtr<INvVexaClass>& parent) {
  const Bstr head = u"Class \"" + parent.Name() + u"\" cannot be the parent of class \"" + name_;
  CNvVexaClassImpl* impl = ClassImplOf(parent);
  if (!impl || impl->collection_ != collection_)
    throw ENvException(head + u"\" since it belongs to another schema");
  for (CNvVexaClassImpl* at = impl; at; at = at->ParentImpl())
    if (at == this) throw ENvException(head + u"\" since the inheritance would become cyclic");
}

void CNvVexaClassImpl::PutParentClass(const ComPtr<INvVexaClass>& value) {
  if (value) CheckParent(value);
  parent_ = value;
}

void CNvVexaClassImpl::Copy(const ComPtr<INvVexaClass>& source,
                            const ComPtr<INvVexaSchema>& destSchema) {
  name_ = source.Name();
  isAbstract_ = source.IsAbstract();
  // A parent that is not yet in the destination is connected by the
  // collection's copy once every class exists.
  if (auto sourceParent = source.ParentClass())
    PutParentClass(destSchema.Classes().ItemByName(sourceParent.Name()));
  CurrentClassAttributes().as<INvVexaAttributesCRaw>().Copy(source.CurrentClassAttributes());
  CurrentClassBehaviors().as<INvVexaReadOnlyClassBehaviorsCRaw>().Copy(
      source.CurrentClassBehaviors(), destSchema);
}

CNvVexaClassImpl* ClassImplOf(const ComPtr<INvVexaClass>& vexaClass) {
  return ImplFrom<CNvVexaClass, INvVexaClassCRaw>(vexaClass);
}

std::vector<ComPtr<INvVexaClass>> ClassChain(const ComPtr<INvVexaClass>& root) {
  std::vector<ComPtr<INvVexaClass>> chain;
  for (ComPtr<INvVexaClass> at = root; at; at = at.ParentClass()) chain.push_back(at);
  return chain;
}

std::vector<ComPtr<INvVexaAttributes>>
CNvMultipleClassAttributesAdapterImpl::OwnAttributesAlongChain() const {
  return OwnAlongChain(root_,
                       [](const ComPtr<INvVexaClass>& c) { return c.CurrentClassAttributes(); });
}

LONG CNvMultipleClassAttributesAdapterImpl::Count() {
  return ChainedCount(OwnAttributesAlongChain());
}

ComPtr<INvVexaAttribute> CNvMultipleClassAttributesAdapterImpl::Item(LONG index) {
  return ChainedItem(OwnAttributesAlongChain(), index);
}

LONG CNvMultipleClassAttributesAdapterImpl::IndexOf(const BstrArg& name) {
  return ChainedIndexOf(OwnAttributesAlongChain(), name);
}

ComPtr<INvVexaAttribute> CNvMultipleClassAttributesAdapterImpl::ItemByName(const BstrArg& name) {
  for (const auto& attributes : OwnAttributesAlongChain())
    if (auto found = attributes.ItemByName(name)) return found;
  return nullptr;
}

std::vector<ComPtr<INvVexaClassBehaviors>>
CNvMultipleClassBehaviorsAdapterImpl::OwnBehaviorsAlongChain() const {
  return OwnAlongChain(root_,
                       [](const ComPtr<INvVexaClass>& c) { return c.CurrentClassBehaviors(); });
}

LONG CNvMultipleClassBehaviorsAdapterImpl::Count() {
  return ChainedCount(OwnBehaviorsAlongChain());
}

ComPtr<INvVexaClassBehavior> CNvMultipleClassBehaviorsAdapterImpl::Item(LONG index) {
  return ChainedItem(OwnBehaviorsAlongChain(), index);
}

LONG CNvMultipleClassBehaviorsAdapterImpl::IndexOf(const BstrArg& uri) {
  return ChainedIndexOf(OwnBehaviorsAlongChain(), uri);
}

ComPtr<INvVexaClassBehavior> CNvMultipleClassBehaviorsAdapterImpl::ItemByURI(const BstrArg& uri) {
  for (const auto& behaviors : OwnBehaviorsAlongChain())
    if (auto found = behaviors.ItemByURI(uri)) return found;
  return nullptr;
}

MustUnderstandEnum CNvMultipleClassBehaviorsAdapterImpl::GetMustUnderstandStatus(
    const BstrArg& uri) {
  for (const auto& behaviors : OwnBehaviorsAlongChain())
    if (behaviors.IndexOf(uri) >= 0) return behaviors.GetMustUnderstandStatus(uri);
  throw ENvException(u"behavior \"" + uri.ToBstr() + u"\" does not exist");
}

}  // namespace nv
