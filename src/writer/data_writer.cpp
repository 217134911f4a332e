#include "writer/data_writer.h"

#include "archive/streams.h"
#include "frame/exception.h"
#include "frame/module_info.h"
#include "instance/info.h"
#include "instance/names.h"
#include "schema/behaviors.h"
#include "writer/object_writer.h"

namespace nv {

namespace {

void WriteBodyTag(const ComPtr<ITStream>& stream, bool start) {
  std::u16string tag;
  if (start) {
    AppendSoapStartTagOpen(tag, u"Body");
    tag += u'>';
  } else {
    AppendSoapEndTag(tag, u"Body");
  }
  tag += u'\n';
  WriteText(stream, tag);
}

}  // namespace

void CNvVexaDataWriterImpl::Create(const ComPtr<ITStream>& stream,
                                   const ComPtr<ITAbZipper>& zipper,
                                   const ComPtr<INvVexaNamespaces>& namespaces,
                                   const ComPtr<INvVexaSchema>& schema) {
  stream_ = stream;
  zipper_ = zipper;
  namespaces_ = namespaces;
  schema_ = schema;
  objectWriter_ = MakeObjectWriter(stream_, namespaces_, schema_);
}

ComPtr<INvVexaObjectWriter> CNvVexaDataWriterImpl::ObjectWriter() {
  if (!bodyOpen_) OpenBodyElement();
  objectWriter_.as<INvVexaObjectWriterCRaw>().PutIsBodyElementOpen(true);
  return objectWriter_;
}

ComPtr<INvVexaInfo> CNvVexaDataWriterImpl::Info() {
  if (!info_) {
    ComPtr<INvVexaInfo> made = CreateObject<CNvVexaInfo>();
    made.as<INvVexaInfoCRaw>().CreateForWriter(stream_, namespaces_, objectWriter_);
    info_ = made;
  }
  return info_;
}

void CNvVexaDataWriterImpl::OpenBodyElement() {
  WriteBodyTag(stream_, true);
  bodyOpen_ = true;
}

void CNvVexaDataWriterImpl::CloseBodyElement() {
  if (!bodyOpen_) OpenBodyElement();
  WriteBodyTag(stream_, false);
}

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
  // Built before anything is written, so a failure leaves the stream untouched;
  // one between the two writes abandons it.
  const std::u16string tag = EnvelopeStartTag();
  WriteWhole(stream, [&] {
    WriteUtf8(stream, ModuleGeneratedByComment());
    WriteText(stream, tag);
  });
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
