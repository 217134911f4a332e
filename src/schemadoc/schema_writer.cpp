#include "schemadoc/schema_writer.h"

#include <string>

#include "frame/collections/collection_objects.h"
#include "frame/module_info.h"
#include "platform/file_uri.h"
#include "schema/namespaces.h"
#include "schemadoc/behavior_schemas.h"
#include "schemadoc/class_element.h"
#include "schemadoc/document_stream.h"
#include "schemadoc/schema_annotation.h"
#include "schemadoc/schema_head.h"

namespace nv {
namespace {

Bstr FileNameOf(const Bstr& uri) {
  if (uri.View().starts_with(u"file:")) return GetFileNameFromFileSystemURI(uri);
  return uri;
}

}  // namespace

CNvVexaSchemaWriterRawImpl::CNvVexaSchemaWriterRawImpl()
    : behaviorFileNames_(CreateObject<CNvSimpleStringList>()),
      namespaces_(CreateObject<CNvVexaNamespaces>()) {}

void CNvVexaSchemaWriterRawImpl::Save(const BstrArg& uri) {
  if (!schema_) throw ENvException("The schema writer has no schema to write");
  const Bstr fileName = FileNameOf(Bstr(uri));
  ClearBehaviorFileNames();
  WriteBehaviorSchemas(schema_, namespaces_, fileName, behaviorFileNames_);
  WriteDocument(fileName);
}

void CNvVexaSchemaWriterRawImpl::ClearBehaviorFileNames() {
  for (LONG k = behaviorFileNames_.Count(); k > 0; --k) behaviorFileNames_.Delete(k - 1);
}

void CNvVexaSchemaWriterRawImpl::WriteDocument(const Bstr& fileName) {
  DocumentStream stream(fileName);
  stream.WriteUtf8(ModuleGeneratedByComment());
  std::u16string text;
  AppendSchemaStartTag(text, schema_, namespaces_);
  AppendImports(text, schema_);
  AppendSchemaAnnotation(text, schema_);
  stream.Write(text);
  const ComPtr<INvVexaClasses> classes = schema_.Classes();
  const ComPtr<INvVexaClassesBehaviors> behaviors = schema_.ClassesBehaviors();
  const ClassElementScope scope{namespaces_, behaviors, isBehaviorSchema_};
  const LONG count = classes.Count();
  for (LONG k = 0; k < count; ++k) {
    text.clear();
    AppendClassElements(text, classes.Item(k), scope);
    stream.Write(text);
  }
  if (!isBehaviorSchema_) stream.Write(u"<element name=\"Envelope\" type=\"SOAP_ENV:Envelope\"/>");
  stream.Write(u"</schema>");
  stream.Close();
}

ComPtr<INvVexaSchemaWriterCRaw> MakeSchemaWriter(const ComPtr<INvVexaSchema>& schema,
                                                 bool isBehaviorSchema) {
  ComPtr<INvVexaSchemaWriterCRaw> writer = CreateObject<CNvVexaSchemaWriterRaw>();
  writer.Create(schema, isBehaviorSchema);
  return writer;
}

}  // namespace nv
