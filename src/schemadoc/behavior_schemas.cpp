#include "schemadoc/behavior_schemas.h"

#include <algorithm>
#include <vector>

#include "platform/paths.h"
#include "schema/behavior_uri.h"
#include "instance/namespaces.h"
#include "schema/schema.h"
#include "schemadoc/document_stream.h"
#include "schemadoc/schema_document_names.h"
#include "schemadoc/schema_writer.h"

namespace nv {
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
