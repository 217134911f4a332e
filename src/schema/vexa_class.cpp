#include "schema/vexa_class.h"

#include "schema/attributes.h"
#include "schema/class_attributes_view.h"
#include "schema/class_behaviors.h"
#include "schema/class_behaviors_view.h"
#include "frame/impl_cast.h"

namespace nv {

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

}  // namespace nv
