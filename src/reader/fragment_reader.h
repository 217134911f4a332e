// Attribute texts kept in XML values (the class attribute elements and
// behaviour blocks of an object, as its object element holds them) read back
// into an object or a value set, with the object reader's rules.
#pragma once

#include "frame/interfaces.h"

namespace nv {

// A new object in its reading form, of class `className` with the identifier
// `objectId`, holding the values of `attributes` (none when it is null).
// Fails with "Unknown class <name>" for a class the schema lacks.
ComPtr<INvVexaObject> ReadObjectFragment(const ComPtr<INvVexaSchema>& schema, const Bstr& className,
                                         const Bstr& objectId,
                                         const ComPtr<INvVexaXmlAttributeValue>& attributes);

// A new value set of class `className` (groups that are no object's own
// values, written with `namespaces`) holding the values of `attributes`.
ComPtr<INvVexaAttributesValuesGroups> ReadValuesFragment(
    const ComPtr<INvVexaSchema>& schema, const ComPtr<INvVexaNamespaces>& namespaces,
    const Bstr& className, const ComPtr<INvVexaXmlAttributeValue>& attributes);

// The namespace table a package of `schema` declares: the instance and core
// namespaces, its target namespace (or the default one) as "tns", and a
// generated prefix for each class behaviour's namespace. Values captured on the reading side, which has no
// package table, are written with it.
ComPtr<INvVexaNamespaces> PackageNamespacesOf(const ComPtr<INvVexaSchema>& schema);

}  // namespace nv
