// Whole schema documents byte for byte: classes, attributes, class and domain behaviours,
// Info items, and the behaviour schema documents of embedded behaviours; every way the
// writer refuses a schema, with its message; and the external schema writer as a client
// creates it, replacing its file only with a whole document.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "schema_document_test_support.h"
#include "support/created.h"
#include "support/error_info_probe.h"
#include "support/readback.h"
#include "values/duration.h"

namespace nv::test {
namespace {

using nv_test::ReadText;
using nv_test::ScratchFolder;
using Schema = ComPtr<INvVexaSchema>;

// Each type's text and name are checked in tests/values; here, how an element
// carries a default: escaped, converted to its type, given by an object, and
// the core types under the vexa prefix.
TEST(SchemaDocument, DefaultsInheritanceAbstractClassesStringLengthsAndReferences) {
  ScratchFolder folder;
  const auto schema = NewSchema();
  const auto part = schema.Classes().Add(u"Part");
  const auto item = schema.Classes().Add(u"Item");
  item.PutIsAbstract(true);
  part.PutParentClass(item);
  const auto id = AddAttribute(item.CurrentClassAttributes(), u"id", dtString);
  id.PutRequired(true);
  id.PutIsNullAllowed(false);
  id.PutIsPrimary(true);

  const auto attributes = part.CurrentClassAttributes();
  const auto code = AddAttribute(attributes, u"code", dtString);
  code.TypeDefinition().StringType().PutMaxLength(3);
  code.PutDefaultValue(Variant(u"abc"));
  AddAttribute(attributes, u"note", dtString).TypeDefinition().StringType().PutMaxLength(0);
  AddAttribute(attributes, u"any", dtObjectReference);
  const auto restrict = [&](const char16_t* name, ObjectReferenceRestrictionTypeEnum type) {
    const auto reference =
        AddAttribute(attributes, name, dtObjectReference).TypeDefinition().ObjectReferenceType();
    reference.PutRestrictionType(type);
    return reference;
  };
  restrict(u"owner", ortClass).PutClassName(u"Part");
  restrict(u"family", ortClassAndDescendants).PutClassName(u"Part");
  restrict(u"file", ortBehavior).PutBehaviorURI(u"http://example.com/ns/files#mainFile");
  const struct {
    DataTypeEnum type;
    Variant value;
    const char* text;  // the default as written
    const char* typeName;
  } rows[] = {
      {dtString, Variant(u"a<\"b\""), "a&lt;&quot;b&quot;", "string"},
      {dtShort, Variant(u"0300"), "300", "short"},
      {dtDuration, Variant(static_cast<IDispatch*>(MakeDurationValue(u"P1DT2.5S").get())),
       "P1DT2.5S", "duration"},
      {dtDate, Variant(u"2009-03-07T14:05:09"), "2009-03-07", "date"},
      {dtObjectReference, Variant(u"id<1>"), "id&lt;1&gt;", "vexa:objectReference"},
      {dtXML, Variant(u"<a x=\"1\"/>"), "&lt;a x=&quot;1&quot;/&gt;", "vexa:xml"},
  };
  std::string defaults;
  for (const auto& row : rows) {
    const std::string name = "d" + std::to_string(row.type);
    AddAttribute(attributes, Bstr::FromUtf8(name).Raw(), row.type).PutDefaultValue(row.value);
    defaults += R"(<element name=")" + name + R"(" minOccurs="0" default=")" + row.text +
                R"(" nillable="true" type=")" + row.typeName +
                R"(" vexa:dataModelRole="vexa:attribute"></element>)";
  }

  // Classes come in collection order, a child before its parent included.
  const std::string body =
      R"(<complexType name="Part" vexa:dataModelRole="vexa:class"><complexContent>)"
      R"(<extension base="tns:Item"><sequence>)"
      R"(<element name="code" minOccurs="0" default="abc" nillable="true" )"
      R"(vexa:dataModelRole="vexa:attribute"><simpleType><restriction base="string">)"
      R"(<maxLength value="3"/></restriction></simpleType></element>)"
      R"(<element name="note" minOccurs="0" nillable="true" type="string" )"
      R"(vexa:dataModelRole="vexa:attribute"></element>)"
      R"(<element name="any" minOccurs="0" nillable="true" type="vexa:objectReference" )"
      R"(vexa:dataModelRole="vexa:attribute"></element>)"
      R"(<element name="owner" minOccurs="0" nillable="true" type="vexa:objectReference" )"
      R"(vexa:restrictionType="Class" vexa:restrictionClassName="Part" )"
      R"(vexa:dataModelRole="vexa:attribute"></element>)"
      R"(<element name="family" minOccurs="0" nillable="true" type="vexa:objectReference" )"
      R"(vexa:restrictionType="ClassAndDescendants" vexa:restrictionClassName="Part" )"
      R"(vexa:dataModelRole="vexa:attribute"></element>)"
      R"(<element name="file" minOccurs="0" nillable="true" type="vexa:objectReference" )"
      R"(vexa:restrictionType="Behavior" )"
      R"(vexa:restrictionBehaviorURI="http://example.com/ns/files#mainFile" )"
      R"(vexa:dataModelRole="vexa:attribute"></element>)" +
      defaults + R"(</sequence></extension></complexContent></complexType>)"
      R"(<element name="Part" type="tns:Part"/>)"
      R"(<complexType name="Item" abstract="true" vexa:dataModelRole="vexa:class">)"
      R"(<complexContent><extension base="vexa:root"><sequence>)"
      R"(<element name="id" type="string" vexa:primary="true" )"
      R"(vexa:dataModelRole="vexa:attribute"></element>)"
      R"(</sequence></extension></complexContent></complexType>)"
      R"(<element name="Item" type="tns:Item"/>)";
  EXPECT_EQ(SavedDocument(schema, folder), ExpectedDocument({.body = body}));
}

constexpr const char16_t* kTools = u"http://example.com/ns/tools";

ComPtr<INvVexaClassBehavior> AddExternal(const ComPtr<INvVexaSchema>& schema, Bstr uri,
                                         const char16_t* location) {
  return schema.ClassesBehaviors().Add(mtExternal, uri, location, false);
}

TEST(BehaviorDocument, ExternalEmbeddedAndDomainBehaviorsWithMarksAndInfoItems) {
  ScratchFolder folder;
  const auto schema = NewSchema();
  const auto item = schema.Info().GetInfoItem(u"ver", u"urn:s");
  item.PutValueType(dtString);
  item.PutValue(Variant(u"1.0"));
  item.PutMustUnderstand(muYes);
  const auto behaviors = schema.ClassesBehaviors();
  const auto optional = AddExternal(schema, Bstr(kTools) + u"#opt", u"http://example.com/t.xsd");
  const auto required = AddExternal(schema, Bstr(kTools) + u"#req", u"http://example.com/t.xsd");
  // An absolute path is imported as a file URL.
  const auto mark = AddExternal(schema, u"http://example.com/ns/marks#mark", u"/opt/marks.xsd");
  AddAttribute(optional.Attributes(), u"note", dtString);
  AddAttribute(required.Attributes(), u"count", dtInt).PutRequired(true);
  // Embedded behaviours of one namespace share one generated document.
  const auto first = behaviors.Add(mtEmbedded, u"http://example.com/ns/cb#first", u"", false);
  const auto second = behaviors.Add(mtEmbedded, u"http://example.com/ns/cb#second", u"", false);
  AddAttribute(first.Attributes(), u"note", dtString);
  AddAttribute(second.Attributes(), u"count", dtInt).PutRequired(true);
  behaviors.Add(mtEmbedded, u"http://example.com/ns/b#y", u"", false);
  const auto part = schema.Classes().Add(u"Part");
  part.CurrentClassBehaviors().Add(optional, muNo);
  part.CurrentClassBehaviors().Add(required, muYes);
  part.CurrentClassBehaviors().Add(mark, muYes);
  part.CurrentClassBehaviors().Add(second, muNo);
  const auto roles =
      schema.DomainBehaviors().Add(u"http://example.com/domain/1.0").RoleClassMapping();
  roles.PutItem(u"owner", schema.Classes().Add(u"Owner"));
  roles.PutItem(u"asset", part);
  schema.DomainBehaviors().Add(u"http://example.com/empty/1.0");
  const auto writer = MakeSchemaWriter(schema, false);
  writer.Save(folder.Name("doc.xsd"));

  const std::string declarations =
      R"( xmlns:NS1="http://example.com/ns/tools" xmlns:NS2="http://example.com/ns/marks")"
      R"( xmlns:NS3="http://example.com/ns/cb" xmlns:NS4="http://example.com/ns/b")";
  const std::string imports =
      R"(<import namespace="http://example.com/ns/tools" )"
      R"(schemaLocation="http://example.com/t.xsd"/>)"
      R"(<import namespace="http://example.com/ns/marks" )"
      R"(schemaLocation="file:///opt/marks.xsd"/>)"
      R"(<import namespace="http://example.com/ns/cb" schemaLocation="VEXA_CB_NS3.xsd"/>)"
      R"(<import namespace="http://example.com/ns/b" schemaLocation="VEXA_CB_NS4.xsd"/>)";
  // Info items, then the domain behaviours with their roles in role order.
  const std::string annotation =
      R"(<annotation><appinfo><SOAP_ENV:Header )"
      R"(xmlns:SOAP_ENV="http://schemas.xmlsoap.org/soap/envelope/" xmlns:NS1="urn:s">)"
      R"(<NS1:ver xsd:type="string" vexa:mustUnderstand="yes">1.0</NS1:ver></SOAP_ENV:Header>)"
      R"(<vexa:domainBehaviors>)"
      R"(<vexa:behavior vexa:uri="http://example.com/domain/1.0">)"
      R"(<vexa:role vexa:name="asset" vexa:class="tns:Part"/>)"
      R"(<vexa:role vexa:name="owner" vexa:class="tns:Owner"/></vexa:behavior>)"
      R"(<vexa:behavior vexa:uri="http://example.com/empty/1.0"></vexa:behavior>)"
      R"(</vexa:domainBehaviors></appinfo></annotation>)";
  const std::string sequence = R"(<element ref="NS1:opt" minOccurs="0"/>)"
                               R"(<element ref="NS1:req" vexa:mustUnderstand="yes"/>)"
                               R"(<element ref="NS2:mark" vexa:mustUnderstand="yes" )"
                               R"(minOccurs="0"/>)"
                               R"(<element ref="NS3:second"/>)";
  EXPECT_EQ(ReadText(folder.File("doc.xsd")),
            ExpectedDocument({.declarations = declarations,
                              .imports = imports,
                              .body = annotation + RootClass("Part", sequence) +
                                      RootClass("Owner", "")}));

  // A generated document per embedded namespace; nothing for external ones.
  const std::string behaviorBody =
      RootClass("first",
                R"(<element name="note" minOccurs="0" nillable="true" type="string" )"
                R"(vexa:dataModelRole="vexa:attribute"></element>)",
                "vexa:class_behavior") +
      RootClass("second",
                R"(<element name="count" nillable="true" type="int" )"
                R"(vexa:dataModelRole="vexa:attribute"></element>)",
                "vexa:class_behavior");
  EXPECT_EQ(ReadText(folder.File("VEXA_CB_NS3.xsd")),
            ExpectedDocument({.target = "http://example.com/ns/cb",
                              .body = behaviorBody,
                              .envelope = false}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 3);
  const auto names = writer.BehaviorFileNameList();
  ASSERT_EQ(names.Count(), 2);
  EXPECT_EQ(names.Item(0).ToUtf8(), folder.File("VEXA_CB_NS3.xsd"));
  EXPECT_EQ(names.Item(1).ToUtf8(), folder.File("VEXA_CB_NS4.xsd"));
  EXPECT_EQ(first.SchemaLocation().ToUtf8(), "VEXA_CB_NS3.xsd");

  // Written once, the behaviours are now imported from their documents; the
  // list follows the last save.
  writer.Save(folder.Name("again.xsd"));
  EXPECT_EQ(names.Count(), 0);
  EXPECT_EQ(ReadText(folder.File("again.xsd")), ReadText(folder.File("doc.xsd")));
}

// The attributes of the schema's first class.
ComPtr<INvVexaAttributes> Own(const Schema& schema) {
  return schema.Classes().Item(0).CurrentClassAttributes();
}

void Reference(const Schema& schema, ObjectReferenceRestrictionTypeEnum type) {
  AddAttribute(Own(schema), u"ref", dtObjectReference)
      .TypeDefinition()
      .ObjectReferenceType()
      .PutRestrictionType(type);
}

ComPtr<INvVexaClassBehavior> External(const Schema& schema) {
  return schema.ClassesBehaviors().Add(mtExternal, u"http://example.com/ns/t#tool",
                                       u"http://example.com/t.xsd", false);
}

TEST(SchemaWriterFailures, EachMessage) {
  const std::pair<std::function<void(const Schema&)>, const char*> rows[] = {
      {[](const Schema& s) {  // a required attribute with a default
         const auto a = AddAttribute(Own(s), u"a", dtInt);
         a.PutRequired(true);
         a.PutDefaultValue(Variant(int32_t(1)));
       },
       "Invalid Vexa: A required Attribute \"a\" has a default value"},
      {[](const Schema& s) { AddAttribute(Own(s), u"a", static_cast<DataTypeEnum>(30)); },
       "Invalid VexaDataType value (30)"},
      {[](const Schema& s) { Reference(s, ortBehavior); },
       "Missing BehaviorURI for ObjectRefrenceRestriction"},
      {[](const Schema& s) { Reference(s, ortClass); },
       "Missing ClassName for ObjectRefrenceRestriction"},
      {[](const Schema& s) { Reference(s, static_cast<ObjectReferenceRestrictionTypeEnum>(9)); },
       "Invalid ObjectReferenceRestrictionType value (9)"},
      {[](const Schema& s) {  // a behaviour listed again below an ancestor
         const auto tool = External(s);
         const auto child = s.Classes().Add(u"Child");
         child.CurrentClassBehaviors().Add(tool, muNo);
         s.Classes().Item(0).CurrentClassBehaviors().Add(tool, muNo);
         child.PutParentClass(s.Classes().Item(0));
       },
       "Class Behavior http://example.com/ns/t#tool implemented by class Child is already "
       "implemented by one of the class's ancestors."},
      {[](const Schema& s) {
         s.Classes().Item(0).CurrentClassBehaviors().Add(External(s),
                                                         static_cast<MustUnderstandEnum>(7));
       },
       "Invalid MustUnderstandEnum value (7)"},
  };
  for (const auto& [spoil, message] : rows) {
    ScratchFolder folder;
    const auto schema = NewSchema();
    schema.Classes().Add(u"Part");  // spoilt by the row
    spoil(schema);
    EXPECT_EQ(FailureOf([&] { SavedDocument(schema, folder); }), message);
  }
}

// A failure in a behaviour document, in the main document after it, or in
// creating the file: no document is left, and the behaviours keep no location
// of a missing file.
TEST(SchemaWriterFailures, AFailureAnywhereWritesNoDocument) {
  for (const bool brokenBehavior : {true, false}) {
    ScratchFolder folder;
    const auto schema = NewSchema();
    const auto behavior =
        schema.ClassesBehaviors().Add(mtEmbedded, u"http://example.com/ns/cb#x", u"", false);
    const auto owner = brokenBehavior ? behavior.Attributes()
                                      : schema.Classes().Add(u"Part").CurrentClassAttributes();
    owner.Add(u"untyped");
    const auto writer = MakeSchemaWriter(schema, false);
    EXPECT_EQ(FailureOf([&] { writer.Save(folder.Name("doc.xsd")); }),
              "missing Value type for attribute \"untyped\"");
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
    EXPECT_EQ(writer.BehaviorFileNameList().Count(), 0);
    EXPECT_TRUE(behavior.SchemaLocation().Empty());
  }
  const Bstr missing = Bstr::FromUtf8(ScratchFolder().File("no/such/folder/doc.xsd"));
  EXPECT_EQ(FailureOf([&] { MakeSchemaWriter(NewSchema(), false).Save(missing); }),
            "Cannot create file " + missing.ToUtf8() + ": No such file or directory");
}

ComPtr<INvVexaExternalSchemaWriter> NewExternalWriter() {
  return nv_test::Created<INvVexaExternalSchemaWriter>(CLSID_NvVexaExternalSchemaWriter);
}

// A writer without URI targets the document name. A save replaces its file (a
// link too, leaving the link's target alone) only when the whole document is
// written: a failed one keeps the earlier file and reports the innermost
// message to the client.
TEST(ExternalSchemaWriter, ASaveReplacesItsFileOnlyWhenComplete) {
  ScratchFolder folder;
  nv_test::WriteText(folder.File("target.xsd"), "untouched");
  std::filesystem::create_symlink("target.xsd", folder.File("link.xsd"));
  const auto writer = NewExternalWriter();
  const auto part = writer.Schema().Classes().Add(u"Part");
  const Bstr name = folder.Name("link.xsd");
  writer.Save(u"file://" + name);
  const std::string saved = ReadText(folder.File("link.xsd"));
  EXPECT_EQ(saved, ExpectedDocument({.target = "VEXA_Schema.xsd", .body = RootClass("Part", "")}));
  EXPECT_EQ(nv_test::XmllintErrors(folder.File("link.xsd")), "");
  part.CurrentClassAttributes().Add(u"untyped");
  EXPECT_EQ(writer->Save(name.Raw()), DISP_E_EXCEPTION);
  const ErrorProbe error = TakeErrorInfo();
  EXPECT_EQ(error.description, "missing Value type for attribute \"untyped\"");
  EXPECT_EQ(error.source, "NorvVexa1.NvVexaExternalSchemaWriter.1.0");
  EXPECT_EQ(ReadText(folder.File("link.xsd")), saved);
  EXPECT_FALSE(std::filesystem::is_symlink(folder.File("link.xsd")));
  EXPECT_EQ(ReadText(folder.File("target.xsd")), "untouched");
  // No temporary file is left.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2);
}

}  // namespace
}  // namespace nv::test
