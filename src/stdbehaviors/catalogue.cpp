#include "stdbehaviors/catalogue.h"

#include <span>
#include <string>

#include "frame/exception.h"
#include "schema/behaviors.h"
#include "schemadoc/schema_reader.h"

namespace nv {
namespace {

constexpr std::u16string_view kLocationBase =
    u"http://www.norvane.com/vexa/std/schema/classBehaviors/";

// One attribute of a standard behaviour. A reference is restricted to the
// behaviour of that element name in the same namespace, unless it is empty.
struct AttributeRow {
  std::u16string_view name;
  DataTypeEnum type;
  std::u16string_view referenceTo = {};
  bool required = false;
  bool noNull = false;
};

struct BehaviorRow {
  std::u16string_view element;
  std::u16string_view ns;
  std::u16string_view location;  // file name below kLocationBase
  std::span<const AttributeRow> attributes;
};

constexpr AttributeRow kTransaction[] = {
    {u"previous", dtObjectReference, u"transaction"},
    {u"parent", dtObjectReference, u"transaction"}};
constexpr AttributeRow kChange[] = {
    {u"transaction", dtObjectReference, u"transaction"},
    {u"previous", dtObjectReference, u"change"},
    {u"previousPerObject", dtObjectReference, u"change"}};
constexpr AttributeRow kObjectCreated[] = {
    {u"createdObject", dtObjectReference, {}, true, true}};
constexpr AttributeRow kObjectDeleted[] = {{u"objectId", dtString, {}, true, true},
                                           {u"objectType", dtString, {}, true, true},
                                           {u"objectAttributes", dtXML, {}, true, true}};
constexpr AttributeRow kObjectValueModified[] = {
    {u"modifiedObject", dtObjectReference, {}, true, true},
    {u"objectType", dtString, {}, true, true},
    {u"oldValues", dtXML, {}, true, true}};
constexpr AttributeRow kFileAssociation[] = {{u"file", dtObjectReference, u"mainFile"}};
constexpr AttributeRow kFileDescription[] = {{u"contentType", dtString, {}, true},
                                             {u"fileName", dtString, {}, true, true},
                                             {u"location", dtAnyUri, {}, true, true},
                                             {u"computerName", dtString}};
constexpr AttributeRow kSecondaryFile[] = {
    {u"previousSibling", dtObjectReference, u"fileDescription", true, true}};
constexpr AttributeRow kVersion[] = {{u"version", dtString, {}, true},
                                     {u"previousVersion", dtString, {}, true}};
constexpr AttributeRow kTimeStamp[] = {{u"creationTime", dtDateTime},
                                       {u"modificationTime", dtDateTime}};

// In the order the schema helper defines them, so that a schema document that
// imports a standard namespace reads back with the behaviours in that order.
constexpr BehaviorRow kCatalogue[] = {
    {u"transaction", kChangeTrackingNamespace, u"changeTracking.xsd", kTransaction},
    {u"change", kChangeTrackingNamespace, u"changeTracking.xsd", kChange},
    {u"objectCreated", kChangeTrackingNamespace, u"changeTracking.xsd", kObjectCreated},
    {u"objectValueModified", kChangeTrackingNamespace, u"changeTracking.xsd",
     kObjectValueModified},
    {u"objectDeleted", kChangeTrackingNamespace, u"changeTracking.xsd", kObjectDeleted},
    {u"trackChanges", kChangeTrackingNamespace, u"changeTracking.xsd", {}},
    {u"fileDescription", kFilesNamespace, u"files.xsd", kFileDescription},
    {u"fileAssociation", kFilesNamespace, u"files.xsd", kFileAssociation},
    {u"mainFile", kFilesNamespace, u"files.xsd", {}},
    {u"secondaryFile", kFilesNamespace, u"files.xsd", kSecondaryFile},
    {u"version", kVersioningNamespace, u"versioning.xsd", kVersion},
    {u"timeStamp", kTimeStampNamespace, u"timeStamp.xsd", kTimeStamp},
};

const BehaviorRow* FindRow(std::u16string_view element) {
  for (const BehaviorRow& row : kCatalogue)
    if (row.element == element) return &row;
  return nullptr;
}

void AddAttribute(const ComPtr<INvVexaAttributes>& attributes, const BehaviorRow& behavior,
                  const AttributeRow& row) {
  const ComPtr<INvVexaAttribute> attribute = attributes.Add(row.name);
  const ComPtr<INvVexaTypeDefinition> type = attribute.TypeDefinition();
  type.PutValueType(row.type);
  if (!row.referenceTo.empty()) {
    const ComPtr<INvVexaObjectReferenceTypeDefinition> reference = type.ObjectReferenceType();
    reference.PutRestrictionType(ortBehavior);
    reference.PutBehaviorURI(
        Bstr(std::u16string(behavior.ns) + u"#" + std::u16string(row.referenceTo)));
  }
  if (row.required) attribute.PutRequired(true);
  if (row.noNull) attribute.PutIsNullAllowed(false);
}

class CatalogueServices final : public SchemaServices {
 public:
  void LoadBehaviorSchema(const ComPtr<INvVexaSchema>& schema,
                          const Bstr& location) const override {
    ReadSchemaDocument(schema, location, {true, Bstr()});
  }
  bool IsStandardBehaviorNamespace(std::u16string_view ns) const override {
    return nv::IsStandardBehaviorNamespace(ns);
  }
  void DefineStandardBehavior(const ComPtr<INvVexaSchema>& schema,
                              const Bstr& uri) const override {
    nv::DefineStandardBehavior(schema, uri);
  }
  void DefineStandardBehaviors(const ComPtr<INvVexaSchema>& schema,
                               std::u16string_view ns) const override {
    nv::DefineStandardBehaviors(schema, ns);
  }
};

}  // namespace

bool IsStandardBehaviorNamespace(std::u16string_view behaviorNamespace) noexcept {
  for (std::u16string_view ns :
       {kChangeTrackingNamespace, kTimeStampNamespace, kFilesNamespace, kVersioningNamespace})
    if (behaviorNamespace == ns) return true;
  return false;
}

void DefineStandardBehavior(const ComPtr<INvVexaSchema>& schema, const Bstr& uri) {
  CheckBehaviorUriForm(uri.View());
  const std::u16string_view element = uri.View().substr(uri.View().find(u'#') + 1);
  const BehaviorRow* row = FindRow(element);
  if (!row)
    throw ENvException(u"Class Behavior \"" + uri + u"\" is not an Vexa standard behavior.");
  const ComPtr<INvVexaClassesBehaviors> behaviors = schema.ClassesBehaviors();
  // Files and time stamps share the time stamp: a second definition keeps the first.
  if (element == u"timeStamp" && behaviors.ItemByURI(uri)) return;
  const ComPtr<INvVexaClassBehavior> behavior = behaviors.Add(mtEmbedded, uri, u"", false);
  const ComPtr<INvVexaAttributes> attributes = behavior.Attributes();
  for (const AttributeRow& attribute : row->attributes) AddAttribute(attributes, *row, attribute);
  behavior.PutSchemaLocation(Bstr(std::u16string(kLocationBase) + std::u16string(row->location)));
}

void DefineStandardBehaviors(const ComPtr<INvVexaSchema>& schema, std::u16string_view ns) {
  if (!IsStandardBehaviorNamespace(ns))
    throw ENvException(u"Namespace \"" + std::u16string(ns) + u"\" is not standard");
  for (const BehaviorRow& row : kCatalogue)
    if (row.ns == ns)
      DefineStandardBehavior(schema, Bstr(std::u16string(ns) + u"#" + std::u16string(row.element)));
}

std::shared_ptr<const SchemaServices> StandardSchemaServices() {
  static const auto services = std::make_shared<const CatalogueServices>();
  return services;
}

}  // namespace nv
