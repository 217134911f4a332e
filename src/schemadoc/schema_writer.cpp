#include "schemadoc/schema_writer.h"

#include <string>

#include "frame/collections/collection_objects.h"
#include "frame/module_info.h"
#include "platform/paths.h"
#include "instance/namespaces.h"
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
  DocumentSet documents;
  const BehaviorDocuments behaviors =
      WriteBehaviorSchemas(schema_, namespaces_, fileName, documents);
  try {
    WriteSchemaDocument(documents.Add(fileName), schema_, namespaces_, isBehaviorSchema_);
    documents.Place();
  } catch (...) {
    for (const ComPtr<INvVexaClassBehavior>& behavior : behaviors.located)
      behavior.PutSchemaLocation(Bstr());
    throw;
  }
  for (const Bstr& name : behaviors.fileNames) behaviorFileNames_.Add(name);
}

void CNvVexaSchemaWriterRawImpl::ClearBehaviorFileNames() {
  for (LONG k = behaviorFileNames_.Count(); k > 0; --k) behaviorFileNames_.Delete(k - 1);
}

void WriteSchemaDocument(DocumentStream& out, const ComPtr<INvVexaSchema>& schema,
                         const ComPtr<INvVexaNamespaces>& namespaces, bool isBehaviorSchema) {
  out.WriteUtf8(ModuleGeneratedByComment());
  std::u16string text;
  AppendSchemaStartTag(text, schema, namespaces);
  AppendImports(text, schema);
  AppendSchemaAnnotation(text, schema);
  out.Write(text);
  const ComPtr<INvVexaClasses> classes = schema.Classes();
  const ComPtr<INvVexaClassesBehaviors> behaviors = schema.ClassesBehaviors();
  const ClassElementScope scope{namespaces, behaviors, isBehaviorSchema};
  const LONG count = classes.Count();
  for (LONG k = 0; k < count; ++k) {
    text.clear();
    AppendClassElements(text, classes.Item(k), scope);
    out.Write(text);
  }
  if (!isBehaviorSchema) out.Write(u"<element name=\"Envelope\" type=\"SOAP_ENV:Envelope\"/>");
  out.Write(u"</schema>");
  out.Close();
}

ComPtr<INvVexaSchemaWriterCRaw> MakeSchemaWriter(const ComPtr<INvVexaSchema>& schema,
                                                 bool isBehaviorSchema) {
  ComPtr<INvVexaSchemaWriterCRaw> writer = CreateObject<CNvVexaSchemaWriterRaw>();
  writer.Create(schema, isBehaviorSchema);
  return writer;
}

}  // namespace nv
