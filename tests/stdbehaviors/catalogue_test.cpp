// The standard behaviours from the catalogue, the module handing the
// catalogue to the schemas of the objects it makes, and the schema helper
// reached as a client does, through the standard helper object.
#include "stdbehaviors/catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/created.h"
#include "support/failure_of.h"
#include "support/scratch.h"

namespace nv {
namespace {

using nv_test::Created;

std::string Utf8(const Bstr& text) { return text.ToUtf8(); }

// "location: name:type[#referenced][!required][~no null] ...".
std::string Describe(const ComPtr<INvVexaClassBehavior>& behavior) {
  static const std::map<DataTypeEnum, std::string> kTypes = {
      {dtString, "string"}, {dtObjectReference, "ref"}, {dtXML, "xml"},
      {dtAnyUri, "uri"},    {dtDateTime, "dateTime"}};
  std::string out = Utf8(behavior.SchemaLocation()) + ":";
  const auto attributes = behavior.Attributes();
  for (LONG k = 0; k < attributes.Count(); ++k) {
    const auto a = attributes.Item(k);
    const auto type = a.TypeDefinition();
    out += " " + Utf8(a.Name()) + ":" + kTypes.at(type.ValueType());
    if (type.ValueType() == dtObjectReference) {
      const std::string target = Utf8(type.ObjectReferenceType().BehaviorURI());
      if (!target.empty()) out += target.substr(target.find('#'));
    }
    out += std::string(a.Required() ? "!" : "") + (a.IsNullAllowed() ? "" : "~");
  }
  return out;
}

TEST(Catalogue, DefinesEachStandardBehaviorWithItsAttributesAndLocation) {
  const std::string at = "http://www.norvane.com/vexa/std/schema/classBehaviors/";
  const struct {
    std::u16string_view ns;
    const char16_t* element;
    std::string described;
  } rows[] = {
      {kChangeTrackingNamespace, u"change",
       at + "changeTracking.xsd: transaction:ref#transaction previous:ref#change "
            "previousPerObject:ref#change"},
      {kChangeTrackingNamespace, u"objectDeleted",
       at + "changeTracking.xsd: objectId:string!~ objectType:string!~ objectAttributes:xml!~"},
      {kChangeTrackingNamespace, u"objectCreated", at + "changeTracking.xsd: createdObject:ref!~"},
      {kFilesNamespace, u"fileDescription",
       at + "files.xsd: contentType:string! fileName:string!~ location:uri!~ computerName:string"},
      {kFilesNamespace, u"secondaryFile", at + "files.xsd: previousSibling:ref#fileDescription!~"},
      {kFilesNamespace, u"mainFile", at + "files.xsd:"},
      {kVersioningNamespace, u"version",
       at + "versioning.xsd: version:string! previousVersion:string!"},
      // Only the element name counts.
      {u"urn:any", u"timeStamp",
       at + "timeStamp.xsd: creationTime:dateTime modificationTime:dateTime"},
  };
  const ComPtr<INvVexaSchema> schema = MakeSchema();
  for (const auto& row : rows) {
    const Bstr uri(std::u16string(row.ns) + u"#" + row.element);
    DefineStandardBehavior(schema, uri);
    EXPECT_EQ(Describe(schema.ClassesBehaviors().ItemByURI(uri)), row.described);
  }
  DefineStandardBehavior(schema, u"urn:any#timeStamp");  // the time stamp is kept
  EXPECT_EQ(nv_test::MessageOfFailure([&] { DefineStandardBehavior(schema, u"urn:x#nothing"); }),
            "Class Behavior \"urn:x#nothing\" is not an Vexa standard behavior.");
  EXPECT_TRUE(IsStandardBehaviorNamespace(kFilesNamespace));
  EXPECT_FALSE(IsStandardBehaviorNamespace(kFilesDomainNamespace));
}

using Helper = ComPtr<INvVexaSchemaHelper>;

Helper NewHelper(const ComPtr<INvVexaSchema>& schema) {
  return Created<INvVexaStdHelper>(CLSID_NvVexaStdHelper).CreateSchemaHelper(schema);
}

// "files#mainFile", "domainBehaviors/files": a standard URI without its base and version.
std::string Short(const Bstr& uri) {
  std::string text = Utf8(uri);
  for (std::string cut : {"http://www.norvane.com/vexa/std/ns/core/", "classBehaviors/", "/1.0"})
    if (const size_t at = text.find(cut); at != std::string::npos) text.erase(at, cut.size());
  return text;
}

// "class<parent(abstract): own behaviours (muYes "!"); ... | behaviours | domain{ role=class }"
std::string Describe(const ComPtr<INvVexaSchema>& schema) {
  std::string out;
  for (LONG k = 0; k < schema.Classes().Count(); ++k) {
    const auto c = schema.Classes().Item(k);
    out += Utf8(c.Name()) + (c.ParentClass() ? "<" + Utf8(c.ParentClass().Name()) : "") +
           (c.IsAbstract() ? "(abstract)" : "") + ":";
    const auto own = c.CurrentClassBehaviors();
    for (LONG b = 0; b < own.Count(); ++b)
      out += " " + Short(own.Item(b).URI()) +
             (own.GetMustUnderstandStatus(own.Item(b).URI()) == muNo ? "" : "!");
    out += "; ";
  }
  for (LONG k = 0; k < schema.ClassesBehaviors().Count(); ++k)
    out += (k ? " " : "| ") + Short(schema.ClassesBehaviors().Item(k).URI());
  out += " |";
  for (LONG k = 0; k < schema.DomainBehaviors().Count(); ++k) {
    const auto roles = schema.DomainBehaviors().Item(k).RoleClassMapping();
    out += " " + Short(schema.DomainBehaviors().Item(k).URI()) + "{";
    for (LONG r = 0; r < roles.Count(); ++r) {
      const Bstr role = roles.as<INvVexaDomainBehaviorRoleClassMappingCRaw>().GetRoleNameByIndex(r);
      out += " " + Utf8(role) + "=" + Utf8(roles.Item(role).Name());
    }
    out += " }";
  }
  return out;
}

TEST(SchemaHelper, AddsEachSupportWithItsClassesBehaviorsAndDomain) {
  using Add = decltype(&Helper::AddDefaultFilesSupport);
  const Add files = &Helper::AddDefaultFilesSupport, stamps = &Helper::AddDefaultTimeStampSupport,
            versions = &Helper::AddDefaultVersioningSupport;
  const std::string filesAdded =
      "__fileDescription(abstract): files#fileDescription timeStamp#timeStamp; "
      "__mainFile<__fileDescription: files#mainFile; "
      "__secondaryFile<__fileDescription: files#secondaryFile; | timeStamp#timeStamp "
      "files#fileDescription files#fileAssociation files#mainFile files#secondaryFile | "
      "domainBehaviors/files{ file=__fileDescription }";
  const struct {
    std::vector<Add> calls;
    std::string failure, described;
  } rows[] = {
      {{files}, nv_test::kNoFailure, filesAdded},
      {{stamps, files}, nv_test::kNoFailure, filesAdded},
      {{files, stamps}, nv_test::kNoFailure, filesAdded},
      {{versions, versions},
       "Behavior \"" + Utf8(Bstr(kVersioningNamespace)) + "#version\" already exist",
       "| versioning#version |"},
      {{&Helper::AddDefaultChangesSupport}, nv_test::kNoFailure,
       "__transaction: changeTracking#transaction; __change(abstract): changeTracking#change; "
       "__objectCreated<__change: changeTracking#objectCreated; "
       "__objectValueModified<__change: changeTracking#objectValueModified; "
       "__objectDeleted<__change: changeTracking#objectDeleted; | changeTracking#transaction "
       "changeTracking#change changeTracking#objectCreated changeTracking#objectValueModified "
       "changeTracking#objectDeleted changeTracking#trackChanges | domainBehaviors/changeTracking{ "
       "objectCreated=__objectCreated objectDeleted=__objectDeleted "  // roles in key order
       "objectValueModified=__objectValueModified transaction=__transaction }"},
  };
  for (const auto& row : rows) {
    const ComPtr<INvVexaSchema> schema = MakeSchema();
    const Helper helper = NewHelper(schema);
    EXPECT_EQ(nv_test::MessageOfFailure([&] {
                for (Add call : row.calls) (helper.*call)();
              }),
              row.failure);
    EXPECT_EQ(Describe(schema), row.described);
  }
}

// Each Enable needs its support; Is sees the behaviour through the parent.
TEST(SchemaHelper, EnablesABehaviorOnAClassAndItsDescendants) {
  const struct {
    decltype(&Helper::AddDefaultFilesSupport) add;
    decltype(&Helper::EnableVersioningForClass) enable;
    decltype(&Helper::IsVersioningEnabled) is;
    const char* missing;
  } rows[] = {
      {&Helper::AddDefaultFilesSupport, &Helper::EnableFileAssociationForClass,
       &Helper::IsFileAssociationEnabled,
       "Schema does not support Vexa Standard fileAssociation class behavior"},
      {&Helper::AddDefaultVersioningSupport, &Helper::EnableVersioningForClass,
       &Helper::IsVersioningEnabled,
       "Schema does not support VEXA Standard versioning class behavior"},
      {&Helper::AddDefaultChangesSupport, &Helper::EnableChangeTrackingForClass,
       &Helper::IsChangeTrackingEnabled,
       "Schema does not support VEXA Standard trackChanges class behavior"},
      {&Helper::AddDefaultTimeStampSupport, &Helper::EnableTimeStampForClass,
       &Helper::IsTimeStampEnabled,
       "Schema does not support Vexa Standard timeStamp class behavior"},
  };
  for (const auto& row : rows) {
    const ComPtr<INvVexaSchema> schema = MakeSchema();
    const Helper helper = NewHelper(schema);
    const auto parent = schema.Classes().Add(u"Document"), child = schema.Classes().Add(u"Part");
    child.PutParentClass(parent);
    EXPECT_EQ(nv_test::MessageOfFailure([&] { (helper.*row.enable)(parent); }), row.missing);
    (helper.*row.add)();
    EXPECT_FALSE((helper.*row.is)(child));
    (helper.*row.enable)(parent);
    EXPECT_TRUE((helper.*row.is)(child));
    EXPECT_EQ(nv_test::MessageOfFailure([&] { (helper.*row.is)(nullptr); }),
              "Invalid value for parameter VexaClass");
  }
  EXPECT_EQ(nv_test::MessageOfFailure([&] { NewHelper(nullptr); }),
            "Invalid value for parameter Schema");
}

// Saved and loaded back, the standard behaviours come from the catalogue: no
// behaviour document is written for them, and each keeps its standard
// location. A behaviour of another document is loaded with its attributes. A
// writer made by the module copies a standard behaviour from the catalogue.
TEST(SchemaHelper, StandardSupportReadsBackFromTheCatalogue) {
  const nv_test::ScratchFolder folder;
  const auto writer = Created<INvVexaExternalSchemaWriter>(CLSID_NvVexaExternalSchemaWriter);
  writer.PutSchemaURI(u"urn:parts");
  const auto schema = writer.Schema();
  const Helper helper = NewHelper(schema);
  helper.AddDefaultFilesSupport();
  helper.AddDefaultChangesSupport();
  helper.AddDefaultVersioningSupport();
  helper.EnableVersioningForClass(schema.Classes().Add(u"Part"));
  writer.Save(folder.Name("parts.xsd"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);

  const auto loaded =
      Created<INvVexaExternalSchemaReader>(CLSID_NvVexaExternalSchemaReader).Load(folder.Name("parts.xsd"));
  EXPECT_EQ(Describe(loaded), Describe(schema));
  const auto behaviors = loaded.ClassesBehaviors();
  for (LONG k = 0; k < behaviors.Count(); ++k)
    EXPECT_EQ(behaviors.Item(k).SchemaLocation(), schema.ClassesBehaviors().Item(k).SchemaLocation());

  const auto other = Created<INvVexaExternalSchemaWriter>(CLSID_NvVexaExternalSchemaWriter);
  other.Schema().ClassesBehaviors().Add(mtEmbedded, u"urn:x#B", u"", false).Attributes().Add(u"size")
      .TypeDefinition().PutValueType(dtDouble);
  other.Save(folder.Name("other.xsd"));
  const auto made = Created<INvVexaWriter>(CLSID_NvVexaWriter).Schema();
  const auto copy =
      made.ClassesBehaviors().Add(mtExternal, u"urn:x#B", folder.Name("VEXA_CB_NS1.xsd"), true);
  EXPECT_EQ(copy.Attributes().Item(0).Name(), Bstr(u"size"));
  EXPECT_EQ(copy.SchemaLocation(), folder.Name("VEXA_CB_NS1.xsd"));
  const ComPtr<INvVexaSchema> source = MakeSchema();
  const Bstr version(std::u16string(kVersioningNamespace) + u"#version");
  source.ClassesBehaviors().Add(mtExternal, version, u"http://elsewhere/v.xsd", false);
  made.Copy(source);
  EXPECT_EQ(Describe(made.ClassesBehaviors().ItemByURI(version)),
            Describe(schema.ClassesBehaviors().ItemByURI(version)));
}

}  // namespace
}  // namespace nv
