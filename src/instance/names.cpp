#include "instance/names.h"

#include <iterator>
#include <string>
#include <xercesc/util/XMLChar.hpp>

namespace nv {

void AppendSoapStartTagOpen(std::u16string& out, std::u16string_view local) {
  out += u'<';
  out += kSoapPrefix;
  out += u':';
  out += local;
}

void AppendSoapEndTag(std::u16string& out, std::u16string_view local) {
  out += u"</";
  out += kSoapPrefix;
  out += u':';
  out += local;
  out += u'>';
}

bool IsValidNCName(std::u16string_view name) noexcept {
  // The character tables are static data: no parser initialisation needed.
  return !name.empty() && xercesc::XMLChar1_0::isValidNCName(
                              reinterpret_cast<const XMLCh*>(name.data()), name.size());
}

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
