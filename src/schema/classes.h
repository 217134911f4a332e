// The classes of a schema: the collection, one class with its parent, own
// attributes and behaviours, and the live views of what a class inherits.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "frame/bstr.h"
#include "frame/exception.h"
#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

// The classes of a schema, in insertion order; names are unique and compare
// exactly. A class that is the parent of another cannot be removed.
class CNvVexaClassesImpl {
 public:
  virtual ~CNvVexaClassesImpl() { Clear(); }

  virtual LONG Count() { return static_cast<LONG>(classes_.size()); }
  virtual ComPtr<INvVexaClass> Item(LONG index);
  virtual ComPtr<INvVexaClass> ItemByName(const BstrArg& name);
  virtual ComPtr<INvVexaClass> Add(const BstrArg& name);
  virtual void Remove(LONG index);
  virtual LONG IndexOf(const BstrArg& name);

  virtual void Clear();
  // Rebuilds this collection from `source`, finding parents, behaviours and
  // role classes in `destSchema`.
  virtual void Copy(const ComPtr<INvVexaClasses>& source, const ComPtr<INvVexaSchema>& destSchema);

 private:
  bool InRange(LONG index) const {
    return index >= 0 && static_cast<size_t>(index) < classes_.size();
  }

  std::vector<ComPtr<INvVexaClass>> classes_;
  // Names are found by hash: a schema document may hold many thousands of classes.
  std::unordered_map<std::u16string, INvVexaClass*> byName_;
};

class CNvVexaClasses final
    : public Implements<CNvVexaClasses, CNvVexaClassesImpl, INvVexaClasses, INvVexaClassesCRaw> {};

// A class of the schema: its name, its parent (single inheritance), its own
// attributes and behaviours, and four read-only views over its chain.
class CNvVexaClassImpl {
 public:
  virtual ~CNvVexaClassImpl();

  virtual Bstr Name() { return name_; }
  virtual ComPtr<INvVexaAttributes> CurrentClassAttributes();
  virtual ComPtr<INvVexaReadOnlyAttributes> InheritedAttributes();
  virtual ComPtr<INvVexaReadOnlyAttributes> AllAttributes();
  virtual ComPtr<INvVexaClassBehaviors> CurrentClassBehaviors();
  virtual ComPtr<INvVexaReadOnlyClassBehaviors> InheritedBehaviors();
  virtual ComPtr<INvVexaReadOnlyClassBehaviors> AllBehaviors();
  virtual ComPtr<INvVexaClass> ParentClass() { return parent_; }
  // Refuses a class of another schema and a parent that would close a cycle.
  virtual void PutParentClass(const ComPtr<INvVexaClass>& value);
  virtual bool IsAbstract() { return isAbstract_; }
  virtual void PutIsAbstract(bool value) { isAbstract_ = value; }
  virtual bool SupportsBehavior(const BstrArg& uri);

  virtual void SetAttributes(const ComPtr<INvVexaAttributes>& attributes) {
    attributes_ = attributes;
  }
  virtual void Copy(const ComPtr<INvVexaClass>& source, const ComPtr<INvVexaSchema>& destSchema);
  virtual void Create(const BstrArg& name) { name_ = name; }

  // The object's own interface, to root views at it.
  virtual ComPtr<INvVexaClass> ThisClass();

  // The class collection that holds this class (identity only), or null.
  void SetCollection(const void* collection) noexcept { collection_ = collection; }

 private:
  CNvVexaClassImpl* ParentImpl() const;
  void CheckParent(const ComPtr<INvVexaClass>& parent);

  Bstr name_;
  ComPtr<INvVexaClass> parent_;
  bool isAbstract_ = false;
  ComPtr<INvVexaAttributes> attributes_;
  ComPtr<INvVexaClassBehaviors> behaviors_;
  // Rooted at the parent of the moment they were first asked for.
  ComPtr<INvVexaReadOnlyAttributes> inheritedAttributes_;
  ComPtr<INvVexaReadOnlyClassBehaviors> inheritedBehaviors_;
  // Rooted at this class; cached without a reference (see ViewSlot).
  void* allAttributes_ = nullptr;
  void* allBehaviors_ = nullptr;
  const void* collection_ = nullptr;
};

class CNvVexaClass final
    : public Implements<CNvVexaClass, CNvVexaClassImpl, INvVexaClass, INvVexaClassCRaw> {};

// The implementation of one of the library's classes; null for a null or
// foreign object.
CNvVexaClassImpl* ClassImplOf(const ComPtr<INvVexaClass>& vexaClass);

// The inheritance chain of a class: the class, its parent, its grandparent
// and so on. Parents are checked when set, so the chain never loops.
// `root` and its ancestors, nearest first; empty for a null root.
std::vector<ComPtr<INvVexaClass>> ClassChain(const ComPtr<INvVexaClass>& root);

// The collections `ownOf` gives for each class of the chain, nearest first.
template <class OwnOf>
auto OwnAlongChain(const ComPtr<INvVexaClass>& root, OwnOf ownOf) {
  std::vector<decltype(ownOf(root))> own;
  for (const auto& vexaClass : ClassChain(root)) own.push_back(ownOf(vexaClass));
  return own;
}

// The collections of a chain read as one list: its length, its item at
// `index`, and the index of `key`.
template <class List>
LONG ChainedCount(const std::vector<List>& lists) {
  LONG total = 0;
  for (const List& list : lists) total += list.Count();
  return total;
}

template <class List>
auto ChainedItem(const std::vector<List>& lists, LONG index) {
  if (index >= 0) {
    for (const List& list : lists) {
      const LONG count = list.Count();
      if (index < count) return list.Item(index);
      index -= count;
    }
  }
  throw ENvException("Invalid index");
}

template <class List>
LONG ChainedIndexOf(const std::vector<List>& lists, const BstrArg& key) {
  LONG before = 0;
  for (const List& list : lists) {
    const LONG found = list.IndexOf(key);
    if (found >= 0) return before + found;
    before += list.Count();
  }
  return -1;
}

// A class caches its self-rooted views without holding them: such a view
// holds its class, so a counted cache would keep both alive forever. The
// view clears the class's slot when it dies; until then the class hands out
// the same view.
class ViewSlot {
 public:
  ViewSlot() = default;
  ViewSlot(const ViewSlot&) = delete;
  ViewSlot& operator=(const ViewSlot&) = delete;
  ~ViewSlot() { Clear(); }

  // Called by the caching class right after it stored the view in `slot`.
  void ClearOnRelease(void** slot) noexcept { slot_ = slot; }

  // The view's destructor calls this first, while the class it holds (and
  // so the slot) is certainly alive.
  void Clear() noexcept {
    if (slot_) *slot_ = nullptr;
    slot_ = nullptr;
  }

 private:
  void** slot_ = nullptr;
};

// The read-only view over the own attributes of a root class and of its
// ancestors, nearest first. It keeps only the root and walks the chain on
// every call, so it follows later changes above the root.
class CNvMultipleClassAttributesAdapterImpl {
 public:
  virtual ~CNvMultipleClassAttributesAdapterImpl() { slot.Clear(); }

  virtual LONG Count();
  virtual ComPtr<INvVexaAttribute> Item(LONG index);
  virtual ComPtr<INvVexaAttribute> ItemByName(const BstrArg& name);
  virtual bool Exist(const BstrArg& name) { return IndexOf(name) >= 0; }
  virtual LONG IndexOf(const BstrArg& name);

  virtual void Create(const ComPtr<INvVexaClass>& root) { root_ = root; }

  ViewSlot slot;

 private:
  std::vector<ComPtr<INvVexaAttributes>> OwnAttributesAlongChain() const;

  ComPtr<INvVexaClass> root_;
};

class CNvMultipleClassAttributesAdapter final
    : public Implements<CNvMultipleClassAttributesAdapter, CNvMultipleClassAttributesAdapterImpl,
                        INvVexaReadOnlyAttributes, INvVexaMultipleClassAttributesAdapterCRaw> {};

// The read-only view over the own behaviour collections of a root class and
// of its ancestors, nearest first, walked anew on every call.
class CNvMultipleClassBehaviorsAdapterImpl {
 public:
  virtual ~CNvMultipleClassBehaviorsAdapterImpl() { slot.Clear(); }

  virtual LONG Count();
  virtual ComPtr<INvVexaClassBehavior> Item(LONG index);
  virtual ComPtr<INvVexaClassBehavior> ItemByURI(const BstrArg& uri);
  // The mark of the nearest class that lists the URI; fails when none does.
  virtual MustUnderstandEnum GetMustUnderstandStatus(const BstrArg& uri);
  virtual LONG IndexOf(const BstrArg& uri);

  virtual void Create(const ComPtr<INvVexaClass>& root) { root_ = root; }

  ViewSlot slot;

 private:
  std::vector<ComPtr<INvVexaClassBehaviors>> OwnBehaviorsAlongChain() const;

  ComPtr<INvVexaClass> root_;
};

class CNvMultipleClassBehaviorsAdapter final
    : public Implements<CNvMultipleClassBehaviorsAdapter, CNvMultipleClassBehaviorsAdapterImpl,
                        INvVexaReadOnlyClassBehaviors, INvVexaMultipleClassBehaviorsAdapterCRaw> {};

}  // namespace nv
