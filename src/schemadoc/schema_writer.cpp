#include "schemadoc/schema_writer.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "archive/streams.h"
#include "frame/collections/collection_objects.h"
#include "frame/exception.h"
#include "frame/module_info.h"
#include "instance/names.h"
#include "platform/paths.h"
#include "schema/behaviors.h"
#include "schema/schema.h"
#include "schemadoc/schema_elements.h"

namespace nv {

namespace {

// The stream's create-or-truncate mode.
constexpr LONG kCreateMode = 0xFFFF;

[[noreturn]] void ThrowCannotCreate(const Bstr& fileName, const std::system_error& e) {
  throw ENvException(u"Cannot create file " + fileName + u": " +
                     Bstr::FromUtf8(e.code().message()));
}

}  // namespace

DocumentStream::DocumentStream(const Bstr& fileName) : fileName_(fileName) {
  try {
    file_.emplace(fileName.View());
  } catch (const std::system_error& e) {
    ThrowCannotCreate(fileName, e);
  }
  // Failures name the document, not its temporary file.
  stream_ = CreateObject<TFileStream>(u"file " + std::u16string(fileName.View()));
  stream_.Create(Bstr::FromUtf8(file_->Path()), kCreateMode);
}

DocumentStream::~DocumentStream() {
  if (!stream_) return;
  try {
    stream_.Free();
  } catch (...) {
  }
}

void DocumentStream::Write(std::u16string_view text) { WriteText(stream_, text); }

void DocumentStream::WriteUtf8(std::string_view text) { nv::WriteUtf8(stream_, text); }

void DocumentStream::Close() {
  ComPtr<ITStream> stream = std::move(stream_);
  stream.Free();
}

void DocumentStream::Place() {
  try {
    file_->ReplaceTarget();
  } catch (const std::system_error& e) {
    ThrowCannotCreate(fileName_, e);
  }
}

void DocumentSet::Place() {
  for (DocumentStream& document : documents_) document.Place();
}

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

namespace {

struct NamespaceGroup {
  Bstr ns;
  std::vector<ComPtr<INvVexaClassBehavior>> behaviors;
};

// The embedded behaviours by namespace, in the order their namespaces first
// appear; every namespace gets its prefix on the way.
std::vector<NamespaceGroup> EmbeddedBehaviorGroups(const ComPtr<INvVexaSchema>& schema,
                                                   const ComPtr<INvVexaNamespaces>& namespaces) {
  const auto prefixes = namespaces.as<INvVexaNamespacesCRaw>();
  const ComPtr<INvVexaClassesBehaviors> behaviors = schema.ClassesBehaviors();
  std::vector<NamespaceGroup> groups;
  const LONG count = behaviors.Count();
  for (LONG k = 0; k < count; ++k) {
    ComPtr<INvVexaClassBehavior> behavior = behaviors.Item(k);
    Bstr ns = BehaviorNamespaceOf(behavior.URI());
    if (!prefixes.Exist(ns)) prefixes.AddNamespace(ns);
    if (!behavior.SchemaLocation().Empty()) continue;
    auto group = std::find_if(groups.begin(), groups.end(),
                              [&](const NamespaceGroup& g) { return g.ns == ns; });
    if (group == groups.end()) group = groups.insert(groups.end(), NamespaceGroup{ns, {}});
    group->behaviors.push_back(std::move(behavior));
  }
  return groups;
}

// The folder part of a file name, with its final separator; empty for a bare name.
std::u16string_view FolderOf(const Bstr& fileName) {
  const std::u16string_view name = fileName.View();
  const size_t last = name.find_last_of(u"/\\");
  return last == std::u16string_view::npos ? std::u16string_view() : name.substr(0, last + 1);
}

// A schema holding one class per behaviour of the group, each sharing the
// behaviour's own attribute collection.
ComPtr<INvVexaSchema> BehaviorSchemaOf(const NamespaceGroup& group, const Bstr& fileName,
                                       const SchemaContext& context) {
  ComPtr<INvVexaSchema> schema = MakeSchema(context);
  schema.PutSchemaURI(group.ns);
  schema.as<INvVexaSchemaCRaw>().Set_SchemaLocation(fileName);
  const ComPtr<INvVexaClasses> classes = schema.Classes();
  for (const ComPtr<INvVexaClassBehavior>& behavior : group.behaviors) {
    const Bstr uri = behavior.URI();
    const ComPtr<INvVexaClass> made = classes.Add(uri.View().substr(uri.View().find(u'#') + 1));
    made.as<INvVexaClassCRaw>().SetAttributes(behavior.Attributes());
  }
  return schema;
}

}  // namespace

BehaviorDocuments WriteBehaviorSchemas(const ComPtr<INvVexaSchema>& schema,
                                       const ComPtr<INvVexaNamespaces>& namespaces,
                                       const Bstr& mainFileName, DocumentSet& documents) {
  BehaviorDocuments written;
  const std::vector<NamespaceGroup> groups = EmbeddedBehaviorGroups(schema, namespaces);
  if (groups.empty()) return written;
  const SchemaContext context = ContextOf(schema);
  const std::u16string_view folder = FolderOf(mainFileName);
  std::vector<Bstr> bareNames;
  for (const NamespaceGroup& group : groups) {
    bareNames.push_back(kBehaviorSchemaFilePrefix + namespaces.GetPrefix(group.ns) +
                        kSchemaFileExtension);
    const Bstr fileName = JoinPath(folder, bareNames.back());
    // Each document has prefixes of its own, as a separate schema would.
    WriteSchemaDocument(documents.Add(fileName), BehaviorSchemaOf(group, fileName, context),
                        CreateObject<CNvVexaNamespaces>(), true);
    written.fileNames.push_back(fileName);
  }
  for (size_t k = 0; k < groups.size(); ++k) {
    for (const ComPtr<INvVexaClassBehavior>& behavior : groups[k].behaviors) {
      behavior.PutSchemaLocation(bareNames[k]);
      written.located.push_back(behavior);
    }
  }
  return written;
}

}  // namespace nv
