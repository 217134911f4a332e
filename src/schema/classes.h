// The classes of a schema, in insertion order; names are unique and compare
// exactly. A class that is the parent of another cannot be removed.
#pragma once

#include <vector>

#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

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
};

class CNvVexaClasses final
    : public Implements<CNvVexaClasses, CNvVexaClassesImpl, INvVexaClasses, INvVexaClassesCRaw> {};

}  // namespace nv
