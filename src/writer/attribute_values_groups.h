// All value collections of one object or value set: the class values under
// the empty URI, and one collection per class behaviour once asked for.
#pragma once

#include <map>
#include <string>

#include "frame/collections/key_less.h"
#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaAttributesValuesGroupsImpl {
 public:
  virtual ~CNvVexaAttributesValuesGroupsImpl() = default;

  virtual ComPtr<INvVexaAttributesValues> Values() { return Item(u""); }
  // Made on first request; whether the class supports the behaviour is the
  // caller's test.
  virtual ComPtr<INvVexaAttributesValues> GetBehaviorValues(const BstrArg& behaviorUri);

  virtual Bstr GetAttributesXML();
  // The collection for `behaviorUri`, or null when it was never asked for.
  virtual ComPtr<INvVexaAttributesValues> Item(const BstrArg& behaviorUri);
  virtual bool IsValueAssigned(const BstrArg& attributeName, const BstrArg& behaviorUri);
  virtual void Create(const ComPtr<INvVexaSchema>& schema,
                      const ComPtr<INvVexaNamespaces>& namespaces, const BstrArg& className,
                      bool isObjectValues);

  // Appends the attribute elements and behaviour blocks of the class chain,
  // root first. Throws for an unassigned required attribute and for values
  // that cannot be written; `out` may then hold part of the text.
  void AppendAttributesXML(std::u16string& out) const;

 private:
  ComPtr<INvVexaSchema> schema_;
  ComPtr<INvVexaNamespaces> namespaces_;
  Bstr className_;
  bool isObjectValues_ = false;
  std::map<Bstr, ComPtr<INvVexaAttributesValues>, KeyLess> groups_;
};

class CNvVexaAttributesValuesGroups final
    : public Implements<CNvVexaAttributesValuesGroups, CNvVexaAttributesValuesGroupsImpl,
                        INvVexaAttributesValuesGroups, INvVexaAttributesValuesGroupsCRaw> {};

ComPtr<INvVexaAttributesValuesGroups> MakeAttributesValuesGroups(
    const ComPtr<INvVexaSchema>& schema, const ComPtr<INvVexaNamespaces>& namespaces,
    const Bstr& className, bool isObjectValues);

// The implementation behind groups made by this library, or null.
const CNvVexaAttributesValuesGroupsImpl* AttributesValuesGroupsImpl(
    const ComPtr<INvVexaAttributesValuesGroups>& groups);

}  // namespace nv
