#include "writer/envelope_writer.h"

#include "frame/exception.h"
#include "frame/module_info.h"
#include "schema/behavior_uri.h"
#include "instance/well_known_namespaces.h"
#include "archive/streams.h"
#include "instance/envelope_writer_text.h"

namespace nv {
namespace {

// Stands in for the schema's URI and location when they are empty.
constexpr std::u16string_view kDefaultSchemaName = u"VEXA_Schema.xsd";

Bstr OrDefaultName(const Bstr& text) { return text.Empty() ? Bstr(kDefaultSchemaName) : text; }

// Appends `xmlns:prefix="ns"` and records the pair in the table.
void Declare(std::u16string& out, const ComPtr<INvVexaNamespaces>& table,
             std::u16string_view prefix, std::u16string_view ns) {
  table.Add(Bstr(ns), Bstr(prefix));
  AppendXmlAttribute(out, u"xmlns:" + std::u16string(prefix), ns);
}

}  // namespace

void CNvVexaEnvelopeWriterCRawImpl::OpenEnvelopeElement(const ComPtr<ITStream>& stream) {
  if (!schema_) throw ENvException("a schema is missing");
  if (!namespaces_) throw ENvException("The namespace table of the package is missing");
  // Built before anything is written, so a failure leaves the stream untouched.
  const std::u16string tag = EnvelopeStartTag();
  WriteUtf8(stream, ModuleGeneratedByComment());
  WriteText(stream, tag);
}

void CNvVexaEnvelopeWriterCRawImpl::CloseEnvelopeElement(const ComPtr<ITStream>& stream) {
  std::u16string tag;
  AppendSoapEndTag(tag, u"Envelope");
  tag += u'\n';
  WriteText(stream, tag);
}

std::u16string CNvVexaEnvelopeWriterCRawImpl::EnvelopeStartTag() {
  const Bstr uri = OrDefaultName(schema_.SchemaURI());
  const Bstr location = OrDefaultName(schema_.SchemaLocation());
  std::u16string out;
  AppendSoapStartTagOpen(out, u"Envelope");
  Declare(out, namespaces_, kSoapPrefix, kSoapEnvelopeNamespace);
  Declare(out, namespaces_, kXsiPrefix, kXmlSchemaInstanceNamespace);
  Declare(out, namespaces_, kCorePrefix, kCoreNamespace);
  Declare(out, namespaces_, kSchemaPrefix, uri.View());
  AppendXmlAttribute(out, u"xsi:schemaLocation",
                          std::u16string(uri.View()) + u' ' + std::u16string(location.View()));
  AppendBehaviorNamespaces(out);
  out += u">\n";
  return out;
}

// Each class-behaviour namespace not yet in the table gets its prefix here,
// so that object elements can use it anywhere in the Body.
void CNvVexaEnvelopeWriterCRawImpl::AppendBehaviorNamespaces(std::u16string& out) {
  const auto behaviors = schema_.ClassesBehaviors();
  const auto table = namespaces_.as<INvVexaNamespacesCRaw>();
  for (LONG k = 0, count = behaviors.Count(); k < count; ++k) {
    const Bstr ns = BehaviorNamespaceOf(behaviors.Item(k).URI().View());
    if (table.Exist(ns)) continue;
    const Bstr prefix = table.AddNamespace(ns);
    AppendXmlAttribute(out, u"xmlns:" + std::u16string(prefix.View()), ns.View());
  }
}

}  // namespace nv
