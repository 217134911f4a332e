#include "instance/namespaces.h"

#include <iterator>
#include <string>

#include "instance/well_known_namespaces.h"

namespace nv {

namespace {

// The fixed prefix of a well-known namespace, or an empty view.
std::u16string_view FixedPrefixOf(std::u16string_view ns) {
  if (ns == kCoreNamespace) return u"vexa";
  if (ns == kXmlSchemaNamespace) return u"xsd";
  if (ns == kXmlSchemaInstanceNamespace) return u"xsi";
  if (ns == kSoapEnvelopeNamespace) return u"SOAP_ENV";
  return {};
}

}  // namespace

Bstr CNvVexaNamespacesImpl::Item(LONG index) {
  if (index < 0 || index >= table_.Count()) throw ENvException("Invalid index");
  return std::next(table_.begin(), index)->first;
}

Bstr CNvVexaNamespacesImpl::GetNextUniquePrefix() {
  ++counter_;
  return Bstr::FromUtf8("NS" + std::to_string(counter_));
}

Bstr CNvVexaNamespacesImpl::AddNamespace(const BstrArg& ns) {
  // Callers test Exist first; answering the stored prefix keeps a careless
  // second call from handing out a prefix the table does not hold.
  if (table_.Exists(ns)) return table_.Get(ns);
  const std::u16string_view fixed = FixedPrefixOf(ns);
  const Bstr prefix = fixed.empty() ? GetNextUniquePrefix() : Bstr(fixed);
  table_.Add(ns, prefix);
  return prefix;
}

}  // namespace nv
