// The names of instance and schema documents: namespaces and prefixes with a
// fixed meaning, the NCName test, and the namespace-to-prefix table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frame/bstr.h"
#include "frame/collections/containers.h"
#include "frame/implements.h"
#include "frame/interfaces.h"
#include "values/xml_escape.h"  // AppendXmlAttribute, for the attributes of these tags

namespace nv {

// Namespaces with a fixed meaning in packages and schema documents. Every
// namespace and standard schema location of the format starts so.
inline constexpr std::u16string_view kNamespaceBase = u"http://www.norvane.com/vexa";
inline constexpr std::u16string_view kCoreNamespace =
    u"http://www.norvane.com/vexa/std/ns/core/1.0";
inline constexpr std::u16string_view kXmlSchemaNamespace = u"http://www.w3.org/2001/XMLSchema";
inline constexpr std::u16string_view kXmlSchemaInstanceNamespace =
    u"http://www.w3.org/2001/XMLSchema-instance";
inline constexpr std::u16string_view kSoapEnvelopeNamespace =
    u"http://schemas.xmlsoap.org/soap/envelope/";

// Prefixes with a fixed meaning in the instance document.
inline constexpr std::u16string_view kSoapPrefix = u"SOAP_ENV";
inline constexpr std::u16string_view kXsiPrefix = u"xsi";
inline constexpr std::u16string_view kXsdPrefix = u"xsd";
inline constexpr std::u16string_view kCorePrefix = u"vexa";
inline constexpr std::u16string_view kSchemaPrefix = u"tns";

// Appends `<SOAP_ENV:local` (no closing bracket) or `</SOAP_ENV:local>`.
void AppendSoapStartTagOpen(std::u16string& out, std::u16string_view local);
void AppendSoapEndTag(std::u16string& out, std::u16string_view local);

// True when `name` is a non-empty XML 1.0 NCName (a name without colons):
// the names of classes, attributes, class behaviours and Info items. The
// whole name is tested, whatever its length.
bool IsValidNCName(std::u16string_view name) noexcept;

// A namespace-to-prefix table, as the writers use it: well-known namespaces
// get their fixed prefixes, any other one the next of NS1, NS2, ...
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
