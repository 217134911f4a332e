// The text of an XML value inside a value element: the namespace
// declarations its elements and attributes need, ">", and the fragment
// re-serialized with the document's own prefixes. Shared by object
// attributes and Info items.
#pragma once

#include <string>

#include "frame/interfaces.h"

namespace nv {

// Where the namespaces of an XML value are looked up and declared.
struct XmlValueScope {
  const ComPtr<INvVexaNamespaces>& package;
  // The Header's own table, for Info items; null for object attributes.
  const ComPtr<INvVexaNamespaces>* info = nullptr;
  // A default namespace is in force around the value (the XML Schema
  // namespace inside a schema document): elements without a namespace
  // undeclare it, so that they keep having none.
  bool defaultNamespaceInScope = false;
};

// Every element and attribute keeps its namespace, whatever prefix (or
// default declaration) the fragment gave it: namespaces found in neither
// table get prefixes drawn from the package table's generated ones, declared
// on the value element. Throws "Invalid XML String in XmlAttributeValue" when
// the fragment does not parse; `out` is then unchanged.
void AppendXmlValueText(std::u16string& out, const ComPtr<INvVexaXmlAttributeValue>& value,
                        const XmlValueScope& scope);

}  // namespace nv
