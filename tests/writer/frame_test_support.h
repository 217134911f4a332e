// An instance document written through the envelope and data writers into a
// file of a scratch folder, and the fixed texts of its frame.
#pragma once

#include "support/failure_of.h"

#include <string>

#include "archive/file_stream.h"
#include "frame/exception.h"
#include "frame/interfaces.h"
#include "frame/module_info.h"
#include "schema/namespaces.h"
#include "schema/schema.h"
#include "support/scratch.h"
#include "writer/data_writer.h"
#include "writer/envelope_writer.h"

namespace nv::writer_test {

inline const std::string kEnvelopeDeclarations =
    " xmlns:SOAP_ENV=\"http://schemas.xmlsoap.org/soap/envelope/\""
    " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
    " xmlns:vexa=\"http://www.norvane.com/vexa/std/ns/core/1.0\"";
inline const std::string kBodyStart = "<SOAP_ENV:Body>\r\n";
inline const std::string kFrameEnd = "</SOAP_ENV:Body>\r\n</SOAP_ENV:Envelope>\r\n";

// The comment and Envelope start line for a schema "urn:test" at "test.xsd".
inline std::string DocumentStart(const std::string& extraDeclarations = "") {
  return ModuleGeneratedByComment() + "<SOAP_ENV:Envelope" + kEnvelopeDeclarations +
         " xmlns:tns=\"urn:test\" xsi:schemaLocation=\"urn:test test.xsd\"" + extraDeclarations +
         ">\r\n";
}

// The message of the failure `call` raises, or "<no failure>".
template <class F>
std::string FailureOf(F&& call) {
  return nv_test::MessageOfFailure(std::forward<F>(call));
}

inline ComPtr<INvVexaSchema> TestSchema(std::u16string_view uri = u"urn:test",
                                        std::u16string_view location = u"test.xsd") {
  ComPtr<INvVexaSchema> schema = MakeSchema(nullptr);
  schema.PutSchemaURI(Bstr(uri));
  schema.as<INvVexaSchemaCRaw>().Set_SchemaLocation(Bstr(location));
  return schema;
}

// One instance document: Open writes its start, Finish closes it and
// answers the file's bytes.
class TestDocument {
 public:
  explicit TestDocument(ComPtr<INvVexaSchema> schema = TestSchema())
      : schema_(std::move(schema)),
        stream_(CreateObject<TFileStream>()),
        namespaces_(CreateObject<CNvVexaNamespaces>()),
        envelope_(CreateObject<CNvVexaEnvelopeWriterCRaw>()) {
    stream_.Create(folder_.Name("VEXA_Data.xml"), 0xFFFF);
  }
  ~TestDocument() {
    if (open_) stream_.Free();
  }
  TestDocument(const TestDocument&) = delete;
  TestDocument& operator=(const TestDocument&) = delete;

  ComPtr<INvVexaDataWriter> Open() {
    envelope_.Create(namespaces_);
    envelope_.Set_Schema(schema_);
    envelope_.OpenEnvelopeElement(stream_);
    data_ = CreateObject<CNvVexaDataWriter>();
    data_.as<INvVexaDataWriterCRaw>().Create(stream_, nullptr, namespaces_, schema_);
    return data_;
  }

  std::string Finish() {
    data_.as<INvVexaDataWriterCRaw>().CloseBodyElement();
    envelope_.CloseEnvelopeElement(stream_);
    return Close();
  }

  // Closes the file as it stands and answers its bytes.
  std::string Close() {
    open_ = false;
    stream_.Free();
    return nv_test::ReadText(folder_.File("VEXA_Data.xml"));
  }

  const ComPtr<INvVexaNamespaces>& Namespaces() const { return namespaces_; }
  const ComPtr<INvVexaEnvelopeWriterCRaw>& Envelope() const { return envelope_; }
  const ComPtr<ITStream>& Stream() const { return stream_; }

 private:
  nv_test::ScratchFolder folder_;
  ComPtr<INvVexaSchema> schema_;
  ComPtr<ITStream> stream_;
  ComPtr<INvVexaNamespaces> namespaces_;
  ComPtr<INvVexaEnvelopeWriterCRaw> envelope_;
  ComPtr<INvVexaDataWriter> data_;
  bool open_ = true;
};

// Sets an item's type, value and must-understand mark.
inline ComPtr<INvVexaInfoItem> SetItem(const ComPtr<INvVexaInfo>& info, std::u16string_view name,
                                       std::u16string_view ns, DataTypeEnum type,
                                       const Variant& value,
                                       MustUnderstandEnum mark = static_cast<MustUnderstandEnum>(0)) {
  ComPtr<INvVexaInfoItem> item = info.GetInfoItem(Bstr(name), Bstr(ns));
  item.PutValueType(type);
  item.PutValue(value);
  if (mark != 0) item.PutMustUnderstand(mark);
  return item;
}

}  // namespace nv::writer_test
