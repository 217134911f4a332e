// The schema writer: a schema as a schema document, with one behaviour schema
// document beside it per namespace of its embedded class behaviours, all saved
// together or not at all.
#pragma once

#include <deque>
#include <optional>
#include <string_view>
#include <vector>

#include "frame/bstr.h"
#include "frame/implements.h"
#include "frame/interfaces.h"
#include "platform/file_system.h"

namespace nv {

// The output of the schema documents of one save. Each document is written
// whole under a temporary name beside its file; only when every document is
// complete are they renamed onto their names, so a failed save leaves every
// earlier file as it was, and a link at a name is replaced, never written
// through.
class DocumentStream {
 public:
  // Creates the temporary file beside `fileName`; fails with "Cannot create
  // file " + fileName and the system's reason.
  explicit DocumentStream(const Bstr& fileName);
  // Frees the stream when Close was not reached; failures are then dropped,
  // as the failure that skipped Close is the one to report.
  ~DocumentStream();
  DocumentStream(const DocumentStream&) = delete;
  DocumentStream& operator=(const DocumentStream&) = delete;

  void Write(std::u16string_view text);
  // UTF-8 text as it stands.
  void WriteUtf8(std::string_view text);
  // Frees the stream, reporting a failure to write the file.
  void Close();

 private:
  friend class DocumentSet;
  // Renames the closed document onto its file name.
  void Place();

  Bstr fileName_;
  std::optional<FileBeside> file_;
  ComPtr<ITStream> stream_;
};

// The documents of one save; dropped before Place, their temporary files go.
class DocumentSet {
 public:
  DocumentStream& Add(const Bstr& fileName) { return documents_.emplace_back(fileName); }
  // Renames every document, all closed, onto its name, in the order added.
  void Place();

 private:
  std::deque<DocumentStream> documents_;
};

// The schema writer: a schema as a schema document, with one behaviour schema
// document beside it per namespace of its embedded class behaviours.
// The schema document writer: a schema model as an XML Schema document, with
// one behaviour schema document per namespace of the schema's embedded class
// behaviours written beside it.
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

// The behaviour schema documents of a schema: its embedded class behaviours
// (those without a schema location), one document per namespace, written
// beside the main document as "VEXA_CB_" + prefix + ".xsd".
class DocumentSet;

struct BehaviorDocuments {
  std::vector<Bstr> fileNames;                        // full names, in writing order
  std::vector<ComPtr<INvVexaClassBehavior>> located;  // the behaviours they describe
};

// Gives every class behaviour namespace of `schema` a prefix in `namespaces`,
// writes the documents into `documents` and, once all are written, sets each
// written behaviour's SchemaLocation to the bare file name, so that from then
// on it is imported from that file.
BehaviorDocuments WriteBehaviorSchemas(const ComPtr<INvVexaSchema>& schema,
                                       const ComPtr<INvVexaNamespaces>& namespaces,
                                       const Bstr& mainFileName, DocumentSet& documents);

}  // namespace nv
