#include "schema/classes.h"

#include <utility>

#include "frame/impl_cast.h"
#include "instance/ncname.h"
#include "schema/vexa_class.h"

namespace nv {

ComPtr<INvVexaClass> CNvVexaClassesImpl::Item(LONG index) {
  if (!InRange(index)) throw ENvException("Get item from vector failed due to illegal index");
  return classes_[static_cast<size_t>(index)];
}

LONG CNvVexaClassesImpl::IndexOf(const BstrArg& name) {
  for (size_t k = 0; k < classes_.size(); ++k)
    if (classes_[k].Name().View() == name.View()) return static_cast<LONG>(k);
  return -1;
}

ComPtr<INvVexaClass> CNvVexaClassesImpl::ItemByName(const BstrArg& name) {
  const LONG index = IndexOf(name);
  return index < 0 ? nullptr : classes_[static_cast<size_t>(index)];
}

ComPtr<INvVexaClass> CNvVexaClassesImpl::Add(const BstrArg& name) {
  const Bstr text = name;
  if (text.Empty()) throw ENvException("Missing Class Name");
  if (!IsValidNCName(text)) throw ENvException(u"Invalid name \"" + text + u"\" for class");
  if (IndexOf(name) >= 0) throw ENvException(u"Class " + text + u" already exist");
  ComPtr<INvVexaClass> made = CreateObject<CNvVexaClass>();
  made.as<INvVexaClassCRaw>().Create(text);
  ClassImplOf(made)->SetCollection(this);
  classes_.push_back(made);
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
  ClassImplOf(taken)->SetCollection(nullptr);
}

void CNvVexaClassesImpl::Clear() {
  std::vector<ComPtr<INvVexaClass>> released;
  released.swap(classes_);
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

}  // namespace nv
