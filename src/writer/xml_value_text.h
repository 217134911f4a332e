// The text of an XML value inside a value element: the namespace
// declarations its prefixes need, ">", and the fragment re-serialized with
// the document's own prefixes. Shared by object attributes and Info items.
#pragma once

#include <string>

#include "frame/interfaces.h"

namespace nv {

// `infoNamespaces` may be null (object attributes). Prefixes of namespaces
// found in neither table are drawn from the package table's generated
// prefixes and declared on the value element. Throws "Invalid XML String in
// XmlAttributeValue" when the fragment does not parse; `out` is then
// unchanged.
void AppendXmlValueText(std::u16string& out, const ComPtr<INvVexaXmlAttributeValue>& value,
                        const ComPtr<INvVexaNamespaces>& packageNamespaces,
                        const ComPtr<INvVexaNamespaces>& infoNamespaces);

}  // namespace nv
