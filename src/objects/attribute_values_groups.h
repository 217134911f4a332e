// All value collections of one object or value set: the class values under
// the empty URI, and one collection per class behaviour once asked for.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "frame/collections/containers.h"
#include "frame/implements.h"
#include "frame/interfaces.h"
#include "objects/attribute_values.h"
#include "objects/class_layout.h"
#include "xml/document_text.h"

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
  void AppendAttributesXML(DocumentText& out) const;
  // The same with the prefixes of `namespaces` (another package's table)
  // instead of those the groups were made with.
  void AppendAttributesXML(DocumentText& out, const ComPtr<INvVexaNamespaces>& namespaces) const;

  // Takes the class's definitions from a layout shared with other objects;
  // without one they are read from the schema when first needed.
  void UseLayout(std::shared_ptr<const ClassLayout> layout) { layout_ = std::move(layout); }

 private:
  struct Group {
    ComPtr<INvVexaAttributesValues> values;
    CNvVexaAttributesValuesImpl* impl;  // behind `values`
  };

  // The layout of the class, read from the schema on first need; null while
  // the schema has no such class.
  const ClassLayout* Layout() const;
  const ClassLayout& RequiredLayout() const;
  void AppendBlocks(DocumentText& out, const ClassLayout& layout,
                    const ComPtr<INvVexaNamespaces>& namespaces) const;
  Group MakeGroup(const Bstr& behaviorUri) const;

  ComPtr<INvVexaSchema> schema_;
  ComPtr<INvVexaNamespaces> namespaces_;
  Bstr className_;
  bool isObjectValues_ = false;
  mutable std::shared_ptr<const ClassLayout> layout_;
  std::map<Bstr, Group, KeyLess> groups_;
};

class CNvVexaAttributesValuesGroups final
    : public Implements<CNvVexaAttributesValuesGroups, CNvVexaAttributesValuesGroupsImpl,
                        INvVexaAttributesValuesGroups, INvVexaAttributesValuesGroupsCRaw> {};

// Groups for `className`, with its definitions from `layout` when given.
ComPtr<INvVexaAttributesValuesGroups> MakeAttributesValuesGroups(
    const ComPtr<INvVexaSchema>& schema, const ComPtr<INvVexaNamespaces>& namespaces,
    const Bstr& className, bool isObjectValues,
    std::shared_ptr<const ClassLayout> layout = nullptr);

// The attributes text of `groups` with the prefixes of `namespaces` (see
// AttributesXMLWith of objects); groups of another implementation give
// their own GetAttributesXML.
Bstr AttributesXMLWith(const ComPtr<INvVexaAttributesValuesGroups>& groups,
                       const ComPtr<INvVexaNamespaces>& namespaces);

// The implementation behind groups made by this library, or null.
const CNvVexaAttributesValuesGroupsImpl* AttributesValuesGroupsImpl(
    const ComPtr<INvVexaAttributesValuesGroups>& groups);

}  // namespace nv
