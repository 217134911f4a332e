// The class behaviours a schema knows, in insertion order, unique by URI.
// An external behaviour can be added with its definition loaded from its
// behaviour schema document.
#pragma once

#include "frame/bstr.h"
#include "frame/collections/interface_list.h"
#include "frame/implements.h"
#include "frame/interfaces.h"
#include "schema/schema.h"

namespace nv {

class CNvVexaClassesBehaviorsImpl {
 public:
  // `context` is the owning schema's: it loads behaviour documents and
  // defines standard behaviours.
  explicit CNvVexaClassesBehaviorsImpl(SchemaContext context = {})
      : context_(std::move(context)) {}
  virtual ~CNvVexaClassesBehaviorsImpl() = default;

  virtual LONG Count() { return list_.Count(); }
  virtual ComPtr<INvVexaClassBehavior> Item(LONG index) {
    return list_.ItemAs<INvVexaClassBehavior>(index);
  }
  virtual ComPtr<INvVexaClassBehavior> ItemByURI(const BstrArg& uri);
  virtual ComPtr<INvVexaClassBehavior> Add(SchemaModeEnum mode, const BstrArg& uri,
                                           const BstrArg& schemaLocation, bool load);
  virtual void Remove(LONG index) { list_.Remove(index); }
  virtual LONG IndexOf(const BstrArg& uri);

  virtual void Clear() { list_.Clear(); }
  // Rebuilds this collection from `source` for the schema `vexaSchema`.
  virtual void Copy(const ComPtr<INvVexaClassesBehaviors>& source,
                    const ComPtr<INvVexaSchema>& vexaSchema);

 private:
  ComPtr<INvVexaClassBehavior> MakeEmbedded(const Bstr& uri, const Bstr& location, bool load);
  ComPtr<INvVexaClassBehavior> MakeExternal(const Bstr& uri, const Bstr& location, bool load);
  // The behaviour `uri` as defined by the behaviour schema document at `location`.
  ComPtr<INvVexaClassBehavior> LoadDefinition(const Bstr& uri, const Bstr& location);
  // Adds a copy of one behaviour of another schema.
  void CopyOne(const ComPtr<INvVexaClassBehavior>& from, const ComPtr<INvVexaSchema>& vexaSchema);

  CNvInterfaceList list_;
  SchemaContext context_;
};

class CNvVexaClassesBehaviors final
    : public Implements<CNvVexaClassesBehaviors, CNvVexaClassesBehaviorsImpl,
                        INvVexaClassesBehaviors, INvVexaClassesBehaviorsCRaw> {
 public:
  using Implements::Implements;
};

}  // namespace nv
