// Whole schema documents with class behaviours, domain behaviours, Info
// items, and the behaviour schema documents of embedded behaviours.
#include <gtest/gtest.h>

#include <filesystem>

#include "schema_document_test_support.h"
#include "schemadoc/schema_info_seam.h"

namespace nv::test {
namespace {

using nv_test::ReadText;
using nv_test::ScratchFolder;

constexpr const char16_t* kTools = u"http://example.com/ns/tools";
constexpr const char16_t* kMarks = u"http://example.com/ns/marks";

ComPtr<INvVexaClassBehavior> AddExternal(const ComPtr<INvVexaSchema>& schema, Bstr uri,
                                         const char16_t* location) {
  return schema.ClassesBehaviors().Add(mtExternal, uri, location, false);
}

TEST(BehaviorDocument, RequiredAndOptionalBehaviorsWithMustUnderstandMarks) {
  ScratchFolder folder;
  const auto schema = NewSchema();
  const auto optional = AddExternal(schema, Bstr(kTools) + u"#opt", u"http://example.com/t.xsd");
  const auto required = AddExternal(schema, Bstr(kTools) + u"#req", u"http://example.com/t.xsd");
  const auto mark = AddExternal(schema, Bstr(kMarks) + u"#mark", u"http://example.com/m.xsd");
  AddAttribute(optional.Attributes(), u"note", dtString);
  AddAttribute(required.Attributes(), u"count", dtInt).PutRequired(true);
  const auto part = schema.Classes().Add(u"Part");
  part.CurrentClassBehaviors().Add(optional, muNo);
  part.CurrentClassBehaviors().Add(required, muYes);
  part.CurrentClassBehaviors().Add(mark, muYes);

  const std::string declarations =
      R"( xmlns:NS1="http://example.com/ns/tools" xmlns:NS2="http://example.com/ns/marks")";
  const std::string imports =
      R"(<import namespace="http://example.com/ns/tools" )"
      R"(schemaLocation="http://example.com/t.xsd"/>)"
      R"(<import namespace="http://example.com/ns/marks" )"
      R"(schemaLocation="http://example.com/m.xsd"/>)";
  const std::string sequence = R"(<element ref="NS1:opt" minOccurs="0"/>)"
                               R"(<element ref="NS1:req" vexa:mustUnderstand="yes"/>)"
                               R"(<element ref="NS2:mark" vexa:mustUnderstand="yes" )"
                               R"(minOccurs="0"/>)";
  EXPECT_EQ(SavedDocument(schema, folder),
            ExpectedDocument({.declarations = declarations,
                              .imports = imports,
                              .body = RootClass("Part", sequence)}));
  // An external behaviour's definition lives elsewhere: nothing is generated.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST(BehaviorDocument, DomainBehaviorsMapRolesInRoleOrder) {
  ScratchFolder folder;
  const auto schema = NewSchema();
  const auto owner = schema.Classes().Add(u"Owner");
  const auto asset = schema.Classes().Add(u"Asset");
  const auto roles =
      schema.DomainBehaviors().Add(u"http://example.com/domain/1.0").RoleClassMapping();
  roles.PutItem(u"owner", owner);
  roles.PutItem(u"asset", asset);
  schema.DomainBehaviors().Add(u"http://example.com/empty/1.0");

  const std::string body =
      R"(<annotation><appinfo><vexa:domainBehaviors>)"
      R"(<vexa:behavior vexa:uri="http://example.com/domain/1.0">)"
      R"(<vexa:role vexa:name="asset" vexa:class="tns:Asset"/>)"
      R"(<vexa:role vexa:name="owner" vexa:class="tns:Owner"/></vexa:behavior>)"
      R"(<vexa:behavior vexa:uri="http://example.com/empty/1.0"></vexa:behavior>)"
      R"(</vexa:domainBehaviors></appinfo></annotation>)" +
      RootClass("Owner", "") + RootClass("Asset", "");
  EXPECT_EQ(SavedDocument(schema, folder), ExpectedDocument({.body = body}));
}

// Installs a schema Info renderer for one test.
class ScopedInfoRenderer {
 public:
  explicit ScopedInfoRenderer(SchemaInfoRenderer renderer)
      : saved_(InstalledSchemaInfoRenderer()) {
    InstalledSchemaInfoRenderer() = renderer;
  }
  ~ScopedInfoRenderer() { InstalledSchemaInfoRenderer() = saved_; }
  ScopedInfoRenderer(const ScopedInfoRenderer&) = delete;
  ScopedInfoRenderer& operator=(const ScopedInfoRenderer&) = delete;

 private:
  SchemaInfoRenderer saved_;
};

TEST(BehaviorDocument, InfoItemsOpenTheAnnotationWhenTheRendererGivesAny) {
  const auto schema = NewSchema();
  schema.Classes().Add(u"Part");
  {
    ScratchFolder folder;
    ScopedInfoRenderer renderer([](std::u16string& out, const ComPtr<INvVexaSchema>&) {
      out += u"<SOAP_ENV:Header><i>1</i></SOAP_ENV:Header>";
    });
    const std::string body =
        R"(<annotation><appinfo><SOAP_ENV:Header><i>1</i></SOAP_ENV:Header>)"
        R"(</appinfo></annotation>)" +
        RootClass("Part", "");
    EXPECT_EQ(SavedDocument(schema, folder), ExpectedDocument({.body = body}));
  }
  ScratchFolder folder;
  ScopedInfoRenderer renderer([](std::u16string&, const ComPtr<INvVexaSchema>&) {});
  EXPECT_EQ(SavedDocument(schema, folder), ExpectedDocument({.body = RootClass("Part", "")}));
}

TEST(BehaviorDocument, EmbeddedBehaviorsOfOneNamespaceShareOneGeneratedDocument) {
  ScratchFolder folder;
  const auto schema = NewSchema();
  const auto behaviors = schema.ClassesBehaviors();
  const auto first = behaviors.Add(mtEmbedded, u"http://example.com/ns/cb#first", u"", false);
  const auto second = behaviors.Add(mtEmbedded, u"http://example.com/ns/cb#second", u"", false);
  AddAttribute(first.Attributes(), u"note", dtString);
  AddAttribute(second.Attributes(), u"count", dtInt).PutRequired(true);
  const auto part = schema.Classes().Add(u"Part");
  part.CurrentClassBehaviors().Add(first, muNo);
  part.CurrentClassBehaviors().Add(second, muNo);
  const auto writer = MakeSchemaWriter(schema, false);
  writer.Save(folder.Name("doc.xsd"));

  const std::string imports =
      R"(<import namespace="http://example.com/ns/cb" schemaLocation="VEXA_CB_NS1.xsd"/>)";
  const std::string sequence = R"(<element ref="NS1:first" minOccurs="0"/>)"
                               R"(<element ref="NS1:second"/>)";
  EXPECT_EQ(ReadText(folder.File("doc.xsd")),
            ExpectedDocument({.declarations = R"( xmlns:NS1="http://example.com/ns/cb")",
                              .imports = imports,
                              .body = RootClass("Part", sequence)}));

  const std::string behaviorBody =
      RootClass("first",
                R"(<element name="note" minOccurs="0" nillable="true" type="string" )"
                R"(vexa:dataModelRole="vexa:attribute"></element>)",
                "vexa:class_behavior") +
      RootClass("second",
                R"(<element name="count" nillable="true" type="int" )"
                R"(vexa:dataModelRole="vexa:attribute"></element>)",
                "vexa:class_behavior");
  EXPECT_EQ(ReadText(folder.File("VEXA_CB_NS1.xsd")),
            ExpectedDocument({.target = "http://example.com/ns/cb",
                              .body = behaviorBody,
                              .envelope = false}));

  const auto names = writer.BehaviorFileNameList();
  ASSERT_EQ(names.Count(), 1);
  EXPECT_EQ(names.Item(0).ToUtf8(), folder.File("VEXA_CB_NS1.xsd"));
  EXPECT_EQ(first.SchemaLocation().ToUtf8(), "VEXA_CB_NS1.xsd");
  EXPECT_EQ(second.SchemaLocation().ToUtf8(), "VEXA_CB_NS1.xsd");
  // The behaviours keep their own attribute collections.
  EXPECT_EQ(first.Attributes().Count(), 1);
}

TEST(BehaviorDocument, EachEmbeddedNamespaceGetsItsDocumentAndTheListFollowsTheLastSave) {
  ScratchFolder folder;
  const auto schema = NewSchema();
  const auto behaviors = schema.ClassesBehaviors();
  AddExternal(schema, Bstr(kTools) + u"#opt", u"http://example.com/t.xsd");
  behaviors.Add(mtEmbedded, u"http://example.com/ns/a#x", u"", false);
  behaviors.Add(mtEmbedded, u"http://example.com/ns/b#y", u"", false);
  const auto writer = MakeSchemaWriter(schema, false);
  writer.Save(folder.Name("doc.xsd"));

  const auto names = writer.BehaviorFileNameList();
  ASSERT_EQ(names.Count(), 2);
  EXPECT_EQ(names.Item(0).ToUtf8(), folder.File("VEXA_CB_NS2.xsd"));
  EXPECT_EQ(names.Item(1).ToUtf8(), folder.File("VEXA_CB_NS3.xsd"));

  // Written once, the behaviours are now imported from their documents.
  writer.Save(folder.Name("again.xsd"));
  EXPECT_EQ(names.Count(), 0);
  EXPECT_EQ(ReadText(folder.File("again.xsd")), ReadText(folder.File("doc.xsd")));
}

TEST(BehaviorDocument, ExternalBehaviorWithAnAbsoluteLocationIsImportedFromIt) {
  ScratchFolder folder;
  const auto schema = NewSchema();
  const auto tool = AddExternal(schema, Bstr(kTools) + u"#opt", u"/opt/schemas/tools.xsd");
  schema.Classes().Add(u"Part").CurrentClassBehaviors().Add(tool, muNo);
  const auto writer = MakeSchemaWriter(schema, false);
  writer.Save(folder.Name("doc.xsd"));

  const std::string imports = R"(<import namespace="http://example.com/ns/tools" )"
                              R"(schemaLocation="file:///opt/schemas/tools.xsd"/>)";
  const std::string body = RootClass("Part", R"(<element ref="NS1:opt" minOccurs="0"/>)");
  EXPECT_EQ(ReadText(folder.File("doc.xsd")),
            ExpectedDocument({.declarations = R"( xmlns:NS1="http://example.com/ns/tools")",
                              .imports = imports,
                              .body = body}));
  EXPECT_EQ(writer.BehaviorFileNameList().Count(), 0);
  EXPECT_EQ(tool.SchemaLocation().ToUtf8(), "/opt/schemas/tools.xsd");
}

}  // namespace
}  // namespace nv::test
