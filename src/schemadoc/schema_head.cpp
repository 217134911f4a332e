#include "schemadoc/schema_head.h"

#include <set>

#include "frame/collections/key_less.h"
#include "platform/paths.h"
#include "schema/behavior_uri.h"
#include "instance/well_known_namespaces.h"
#include "schemadoc/markup.h"
#include "schemadoc/schema_document_names.h"

namespace nv {
namespace {

using NamespaceSet = std::set<Bstr, KeyLess>;

// Calls `use` with each class behaviour of the schema whose namespace is not
// in `seen` yet, and that namespace, adding it to `seen`.
template <class F>
void ForEachNewNamespace(const ComPtr<INvVexaSchema>& schema, NamespaceSet seen, F&& use) {
  const ComPtr<INvVexaClassesBehaviors> behaviors = schema.ClassesBehaviors();
  const LONG count = behaviors.Count();
  for (LONG k = 0; k < count; ++k) {
    const ComPtr<INvVexaClassBehavior> behavior = behaviors.Item(k);
    Bstr ns = BehaviorNamespaceOf(behavior.URI());
    if (seen.insert(ns).second) use(behavior, ns);
  }
}

// A bare relative name stays as it is, to be found beside the document that
// imports it; any other location is given as a URI.
Bstr ImportLocation(const Bstr& location) {
  const std::u16string_view text = location.View();
  const bool rooted = text.front() == u'/' || text.front() == u'\\';
  if (!rooted && text.find(u':') == std::u16string_view::npos) return location;
  return FileNameToFileSystemURI(text);
}

}  // namespace

void AppendSchemaStartTag(std::u16string& out, const ComPtr<INvVexaSchema>& schema,
                          const ComPtr<INvVexaNamespaces>& namespaces) {
  Bstr target = schema.SchemaURI();
  if (target.Empty()) target = Bstr(kDefaultTargetNamespace);
  out += u"<schema";
  AppendAttribute(out, u"xmlns", kXmlSchemaNamespace);
  AppendAttribute(out, u"targetNamespace", target);
  AppendAttribute(out, u"elementFormDefault", u"qualified");
  AppendAttribute(out, u"xmlns:tns", target);
  AppendAttribute(out, u"xmlns:vexa", kCoreNamespace);
  AppendAttribute(out, u"xmlns:xsd", kXmlSchemaNamespace);
  AppendAttribute(out, u"xmlns:SOAP_ENV", kSoapEnvelopeNamespace);
  // A namespace declared above keeps its fixed prefix; declaring it twice
  // would repeat an attribute.
  const NamespaceSet declared{Bstr(kCoreNamespace), Bstr(kXmlSchemaNamespace),
                              Bstr(kSoapEnvelopeNamespace)};
  ForEachNewNamespace(schema, declared, [&](const ComPtr<INvVexaClassBehavior>&, const Bstr& ns) {
    AppendAttribute(out, u"xmlns:" + namespaces.GetPrefix(ns), ns);
  });
  out += u">\n";
}

void AppendImports(std::u16string& out, const ComPtr<INvVexaSchema>& schema) {
  out += u"<import";
  AppendAttribute(out, u"namespace", kCoreNamespace);
  AppendAttribute(out, u"schemaLocation", kCoreSchemaLocation);
  out += u"/><import";
  AppendAttribute(out, u"namespace", kSoapEnvelopeNamespace);
  AppendAttribute(out, u"schemaLocation", kSoapEnvelopeNamespace);
  out += u"/>";
  const NamespaceSet imported{Bstr(kCoreNamespace), Bstr(kSoapEnvelopeNamespace)};
  ForEachNewNamespace(schema, imported,
                      [&](const ComPtr<INvVexaClassBehavior>& behavior, const Bstr& ns) {
                        out += u"<import";
                        AppendAttribute(out, u"namespace", ns);
                        const Bstr location = behavior.SchemaLocation();
                        if (!location.Empty())
                          AppendAttribute(out, u"schemaLocation", ImportLocation(location));
                        out += u"/>";
                      });
  out += u'\n';
}

}  // namespace nv
