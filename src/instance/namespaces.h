// A namespace-to-prefix table, as the writers use it: well-known namespaces
// get their fixed prefixes, any other one the next of NS1, NS2, ...
#pragma once

#include <cstdint>

#include "frame/bstr.h"
#include "frame/collections/dictionary.h"
#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaNamespacesImpl {
 public:
  virtual ~CNvVexaNamespacesImpl() = default;

  // A namespace already in the table keeps its prefix.
  virtual void Add(const BstrArg& ns, const BstrArg& prefix) { table_.Add(ns, prefix); }
  // The prefix of `ns`; empty when the namespace is not in the table.
  virtual Bstr GetPrefix(const BstrArg& ns) { return table_.Get(ns); }
  // The namespace at `index` in key order.
  virtual Bstr Item(LONG index);
  virtual LONG Count() { return table_.Count(); }
  // Empties the table; generated prefixes keep counting.
  virtual void Clear() { table_.Clear(); }

  virtual Bstr AddNamespace(const BstrArg& ns);
  virtual bool Exist(const BstrArg& ns) { return table_.Exists(ns); }
  virtual Bstr GetNextUniquePrefix();

 private:
  CNvDictionary<Bstr> table_;
  int32_t counter_ = 0;
};

class CNvVexaNamespaces final : public Implements<CNvVexaNamespaces, CNvVexaNamespacesImpl,
                                                  INvVexaNamespaces, INvVexaNamespacesCRaw> {};

}  // namespace nv
