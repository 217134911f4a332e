// Behaviours: class behaviours (their URIs, the schema's collection and a
// class's own list with must-understand marks) and domain behaviours with
// their role-to-class mappings.
#pragma once

#include <map>
#include <string_view>
#include <vector>

#include "frame/bstr.h"
#include "frame/collections/containers.h"
#include "frame/implements.h"
#include "frame/interfaces.h"
#include "schema/schema.h"

namespace nv {

// The form of class behaviour URIs (namespace "#" element name) and of
// behaviour schema locations.
// Throws ENvException unless `uri` has a namespace, "#" and an element name
// that is an NCName.
void CheckBehaviorUriForm(std::u16string_view uri);

// The text before the first "#"; throws ENvException when there is no "#".
Bstr BehaviorNamespaceOf(std::u16string_view uri);

// True for a file name relative to some folder: no "://", no ":" and no
// leading "\\". An empty location counts as relative.
bool IsRelativeLocation(std::u16string_view location) noexcept;

// A class behaviour: a named group of attributes that classes can list. Its
// URI is a namespace, "#" and an element name; an external behaviour also
// has the location of its behaviour schema document.
class CNvVexaClassBehaviorImpl {
 public:
  virtual ~CNvVexaClassBehaviorImpl() = default;

  virtual Bstr URI() { return uri_; }
  virtual Bstr SchemaLocation() { return schemaLocation_; }
  virtual void PutSchemaLocation(const BstrArg& value) { schemaLocation_ = value; }
  virtual ComPtr<INvVexaAttributes> Attributes();

  virtual void Create(const BstrArg& uri) {
    uri_ = uri;
    schemaLocation_ = Bstr();
  }
  // The copy is embedded: its definition travels with the schema.
  virtual void Copy(const ComPtr<INvVexaClassBehavior>& source);

 private:
  Bstr uri_;
  Bstr schemaLocation_;
  ComPtr<INvVexaAttributes> attributes_;
};

class CNvVexaClassBehavior final
    : public Implements<CNvVexaClassBehavior, CNvVexaClassBehaviorImpl, INvVexaClassBehavior,
                        INvVexaClassBehaviorCRaw> {};

// The behaviours a class lists itself, each with its must-understand mark.
// The items refer to behaviours of the schema; the collection owns only the
// items. It knows its class (without a reference: the class owns it and
// unbinds it when it dies) to refuse a behaviour the class already inherits.
class CNvVexaClassBehaviorsImpl {
 public:
  virtual ~CNvVexaClassBehaviorsImpl() = default;

  virtual LONG Count() { return static_cast<LONG>(items_.size()); }
  virtual ComPtr<INvVexaClassBehavior> Item(LONG index);
  virtual ComPtr<INvVexaClassBehavior> ItemByURI(const BstrArg& uri);
  // muNo when no item has the URI.
  virtual MustUnderstandEnum GetMustUnderstandStatus(const BstrArg& uri);
  virtual LONG IndexOf(const BstrArg& uri);
  virtual void Add(const ComPtr<INvVexaClassBehavior>& behavior, MustUnderstandEnum mustUnderstand);
  virtual void Remove(LONG index);

  // Lists the behaviours of the same URIs from DestSchema's class behaviours.
  virtual void Copy(const ComPtr<INvVexaReadOnlyClassBehaviors>& source,
                    const ComPtr<INvVexaSchema>& destSchema);
  virtual void Create(const ComPtr<INvVexaClass>& vexaClass) { class_ = vexaClass.get(); }

  void Unbind() noexcept { class_ = nullptr; }

 private:
  // A behaviour of the schema and whether readers must understand it.
  struct Entry {
    ComPtr<INvVexaClassBehavior> behavior;
    MustUnderstandEnum mustUnderstand = muNo;
  };
  // The item with that URI, or null.
  const Entry* Find(std::u16string_view uri) const;
  // Whether the class (or, unbound, this collection) already has `uri`.
  bool Supports(const Bstr& uri);

  std::vector<Entry> items_;
  INvVexaClass* class_ = nullptr;
};

class CNvVexaClassBehaviors final
    : public Implements<CNvVexaClassBehaviors, CNvVexaClassBehaviorsImpl, INvVexaClassBehaviors,
                        INvVexaClassBehaviorsCRaw, INvVexaReadOnlyClassBehaviorsCRaw> {};

// The class behaviours a schema knows, in insertion order, unique by URI.
// An external behaviour can be added with its definition loaded from its
// behaviour schema document.
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

// A domain behaviour: a convention identified by a URI in which classes of
// the schema play named roles.
class CNvVexaDomainBehaviorImpl {
 public:
  virtual ~CNvVexaDomainBehaviorImpl() = default;

  virtual Bstr URI() { return uri_; }
  virtual ComPtr<INvVexaDomainBehaviorRoleClassMapping> RoleClassMapping();

  virtual void Copy(const ComPtr<INvVexaDomainBehavior>& source,
                    const ComPtr<INvVexaSchema>& destSchema);
  virtual void Create(const BstrArg& uri) { uri_ = uri; }

 private:
  Bstr uri_;
  ComPtr<INvVexaDomainBehaviorRoleClassMapping> roles_;
};

class CNvVexaDomainBehavior final
    : public Implements<CNvVexaDomainBehavior, CNvVexaDomainBehaviorImpl, INvVexaDomainBehavior,
                        INvVexaDomainBehaviorCRaw> {};

// The domain behaviours of a schema, in insertion order, unique by URI.
class CNvVexaDomainBehaviorsImpl {
 public:
  virtual ~CNvVexaDomainBehaviorsImpl() = default;

  virtual LONG Count() { return list_.Count(); }
  virtual ComPtr<INvVexaDomainBehavior> Item(LONG index) {
    return list_.ItemAs<INvVexaDomainBehavior>(index);
  }
  virtual ComPtr<INvVexaDomainBehavior> Add(const BstrArg& uri);
  virtual void Remove(LONG index) { list_.Remove(index); }
  virtual ComPtr<INvVexaDomainBehavior> ItemByURI(const BstrArg& uri);
  virtual LONG IndexOf(const BstrArg& uri);

  virtual void Clear() { list_.Clear(); }
  virtual void Copy(const ComPtr<INvVexaDomainBehaviors>& source,
                    const ComPtr<INvVexaSchema>& destSchema);

 private:
  CNvInterfaceList list_;
};

class CNvVexaDomainBehaviors final
    : public Implements<CNvVexaDomainBehaviors, CNvVexaDomainBehaviorsImpl, INvVexaDomainBehaviors,
                        INvVexaDomainBehaviorsCRaw> {};

// Which class plays which role in a domain behaviour: role name to class,
// visited in key order.
class CNvVexaDomainBehaviorRoleClassMappingImpl {
 public:
  virtual ~CNvVexaDomainBehaviorRoleClassMappingImpl() = default;

  virtual LONG Count() { return static_cast<LONG>(roles_.size()); }
  // The class of the role, or null.
  virtual ComPtr<INvVexaClass> Item(const BstrArg& roleName);
  // Maps the role anew when it is already mapped.
  virtual void PutItem(const BstrArg& roleName, const ComPtr<INvVexaClass>& value);

  virtual Bstr GetRoleNameByIndex(LONG index);
  // Maps the source's roles to the classes of the same names in `destSchema`.
  virtual void Copy(const ComPtr<INvVexaDomainBehaviorRoleClassMapping>& source,
                    const ComPtr<INvVexaSchema>& destSchema);

 private:
  std::map<Bstr, ComPtr<INvVexaClass>, KeyLess> roles_;
};

class CNvVexaDomainBehaviorRoleClassMapping final
    : public Implements<
          CNvVexaDomainBehaviorRoleClassMapping, CNvVexaDomainBehaviorRoleClassMappingImpl,
          INvVexaDomainBehaviorRoleClassMapping, INvVexaDomainBehaviorRoleClassMappingCRaw> {};

}  // namespace nv
