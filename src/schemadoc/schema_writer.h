// The schema document writer: a schema model as an XML Schema document, with
// one behaviour schema document per namespace of the schema's embedded class
// behaviours written beside it.
#pragma once

#include "frame/bstr.h"
#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaSchemaWriterRawImpl {
 public:
  CNvVexaSchemaWriterRawImpl();
  virtual ~CNvVexaSchemaWriterRawImpl() = default;

  virtual ComPtr<INvVexaSchema> Schema() { return schema_; }
  // The files written for the embedded behaviours by the last Save.
  virtual ComPtr<INvSimpleStringList> BehaviorFileNameList() { return behaviorFileNames_; }
  // `uri` is a file name or a file-system URI. Gives the embedded behaviours
  // the locations of their generated documents. Every document is written
  // whole before any file is replaced; a failed save keeps the earlier files
  // and leaves the behaviours' locations as they were.
  virtual void Save(const BstrArg& uri);
  virtual void Create(const ComPtr<INvVexaSchema>& schema, bool isBehaviorSchema) {
    schema_ = schema;
    isBehaviorSchema_ = isBehaviorSchema;
  }

 private:
  void ClearBehaviorFileNames();

  ComPtr<INvVexaSchema> schema_;
  bool isBehaviorSchema_ = false;
  ComPtr<INvSimpleStringList> behaviorFileNames_;
  // Kept across saves so that a namespace keeps its prefix.
  ComPtr<INvVexaNamespaces> namespaces_;
};

class CNvVexaSchemaWriterRaw final
    : public Implements<CNvVexaSchemaWriterRaw, CNvVexaSchemaWriterRawImpl,
                        INvVexaSchemaWriterCRaw> {};

class DocumentStream;

// Writes `schema` as one schema document and closes `out`; `namespaces`
// gives the prefixes and learns those that the document declares.
void WriteSchemaDocument(DocumentStream& out, const ComPtr<INvVexaSchema>& schema,
                         const ComPtr<INvVexaNamespaces>& namespaces, bool isBehaviorSchema);

// A new writer bound to `schema`.
ComPtr<INvVexaSchemaWriterCRaw> MakeSchemaWriter(const ComPtr<INvVexaSchema>& schema,
                                                 bool isBehaviorSchema);

}  // namespace nv
