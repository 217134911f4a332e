// Schema documents read back: every schema the writer saves loads into an equal
// model that saves again byte for byte; every refusal of the reader; and the
// external schema reader as a client creates it, loading from a file, a URI or a URL.
#include "schemadoc/schema_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "instance/names.h"
#include "platform/http_test_server.h"
#include "schemadoc/schema_document_test_support.h"
#include "support/created.h"
#include "support/error_info_probe.h"
#include "support/sample_values.h"
#include "xml/hostile_xml.h"

namespace nv::test {
namespace {

std::string Utf8(const Bstr& text) { return text.ToUtf8(); }

void DescribeAttributes(std::string& out, const ComPtr<INvVexaAttributes>& attributes) {
  for (LONG k = 0; k < attributes.Count(); ++k) {
    const auto a = attributes.Item(k);
    const auto type = a.TypeDefinition();
    const DataTypeEnum valueType = type.ValueType();
    out += " " + Utf8(a.Name()) + ":" + std::to_string(valueType) + (a.Required() ? "!" : "") +
           (a.IsNullAllowed() ? "?" : "") + (a.IsPrimary() ? "*" : "");
    if (valueType == dtString) out += "/" + std::to_string(type.StringType().MaxLength());
    if (const auto r = valueType == dtObjectReference ? type.ObjectReferenceType() : nullptr)
      out += "/" + std::to_string(r.RestrictionType()) + Utf8(r.BehaviorURI() + r.ClassName());
    if (const Variant value = a.DefaultValue(); !value.IsNull())
      out += "=" + ValueText(value, valueType);
  }
}

// Every property of the model, in order. A behaviour's location counts when
// it is kept elsewhere; one beside the document is regenerated on each save.
std::string Describe(const ComPtr<INvVexaSchema>& schema) {
  std::string out = Utf8(schema.SchemaURI());
  const auto behaviors = schema.ClassesBehaviors();
  for (LONG k = 0; k < behaviors.Count(); ++k) {
    const std::string location = Utf8(behaviors.Item(k).SchemaLocation());
    out += "\nbehavior " + Utf8(behaviors.Item(k).URI()) +
           (location.find('/') == std::string::npos ? "" : " at " + location);
    DescribeAttributes(out, behaviors.Item(k).Attributes());
  }
  for (LONG k = 0; k < schema.Classes().Count(); ++k) {
    const auto c = schema.Classes().Item(k);
    out += "\nclass " + Utf8(c.Name()) + (c.IsAbstract() ? " abstract" : "") +
           (c.ParentClass() ? " : " + Utf8(c.ParentClass().Name()) : "");
    DescribeAttributes(out, c.CurrentClassAttributes());
    for (LONG b = 0, own = c.CurrentClassBehaviors().Count(); b < own; ++b) {
      const Bstr uri = c.CurrentClassBehaviors().Item(b).URI();
      out += " +" + Utf8(uri) +
             (c.CurrentClassBehaviors().GetMustUnderstandStatus(uri) == muYes ? "!" : "");
    }
  }
  for (LONG k = 0; k < schema.DomainBehaviors().Count(); ++k) {
    const auto roles = schema.DomainBehaviors().Item(k).RoleClassMapping();
    out += "\ndomain " + Utf8(schema.DomainBehaviors().Item(k).URI());
    for (LONG r = 0; r < roles.Count(); ++r) {
      const Bstr role = roles.as<INvVexaDomainBehaviorRoleClassMappingCRaw>().GetRoleNameByIndex(r);
      out += " " + Utf8(role) + "=" + Utf8(roles.Item(role).Name());
    }
  }
  const auto info = schema.Info().as<INvVexaInfoCRaw>();
  for (LONG k = 0; k < info.Count(); ++k) {
    const auto item = info.GetItem(k);
    out += "\ninfo {" + Utf8(item.Namespace()) + "}" + Utf8(item.Name()) + ":" +
           std::to_string(item.ValueType()) + (item.MustUnderstand() == muYes ? "!" : "") + "=" +
           ValueText(item.Value(), item.ValueType());
  }
  return out;
}

// Saves `schema`, loads the document into a new schema, saves that beside it,
// and compares the two models and the two documents.
void ExpectRoundTrip(const ComPtr<INvVexaSchema>& schema) {
  const nv_test::ScratchFolder first, second;
  const std::string original = SavedDocument(schema, first);
  const ComPtr<INvVexaSchema> loaded = MakeSchema();
  ReadSchemaDocument(loaded, first.Name("doc.xsd"));
  EXPECT_EQ(Utf8(loaded.SchemaLocation()), first.File("doc.xsd"));
  ASSERT_EQ(Describe(loaded), Describe(schema));
  EXPECT_EQ(SavedDocument(loaded, second), original);
  for (const auto& entry : std::filesystem::directory_iterator(first.Path()))
    EXPECT_EQ(nv_test::ReadText(second.File(entry.path().filename().string())),
              nv_test::ReadText(entry.path().string()))
        << entry.path();
}

// A schema through the model's own calls, every feature drawn from `random`;
// class names beyond ASCII.
ComPtr<INvVexaSchema> RandomSchema(std::mt19937& random) {
  const auto draw = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  ComPtr<INvVexaSchema> schema = NewSchema(draw(4) ? u"urn:parts" : u"VEXA_Schema.xsd");
  const auto behaviors = schema.ClassesBehaviors();
  const int behaviorCount = draw(4);
  for (int k = 0; k < behaviorCount; ++k) {
    // Grouped, one document each; the second shares the schema's namespace.
    const std::u16string ns = k < 2 ? u"urn:b1" : u"urn:parts";
    const auto b = behaviors.Add(mtEmbedded, Bstr(ns + u"#B" + char16_t(u'0' + k)), u"", false);
    AddAttribute(b.Attributes(), u"v", static_cast<DataTypeEnum>(1 + draw(19)))
        .PutRequired(draw(2) == 0);
  }
  const auto classes = schema.Classes();
  const int classCount = 1 + draw(6);
  for (int k = 0; k < classCount; ++k) {
    const auto c = classes.Add(Bstr(u"C\u00e4" + std::u16string(1, char16_t(u'a' + k))));
    c.PutIsAbstract(draw(3) == 0);
    for (int a = draw(5); a > 0; --a) {
      const auto type = static_cast<DataTypeEnum>(1 + draw(21));
      const std::u16string name = u"a" + std::u16string(1, char16_t(u'0' + a));
      const auto attribute = AddAttribute(c.CurrentClassAttributes(), name.c_str(), type);
      attribute.PutIsNullAllowed(draw(2) == 0);
      attribute.PutIsPrimary(draw(4) == 0);
      if (draw(3) == 0)
        attribute.PutRequired(true);
      else if (draw(2) && type != dtObjectReference)
        attribute.PutDefaultValue(type == dtXML ? Variant(u"<p a=\"&amp;\">x</p>")
                                                : SampleValue(type, draw(2)));
      if (type == dtString && draw(2))
        attribute.TypeDefinition().StringType().PutMaxLength(1 + draw(80));
      if (type == dtObjectReference) {
        const auto reference = attribute.TypeDefinition().ObjectReferenceType();
        const auto restriction = static_cast<ObjectReferenceRestrictionTypeEnum>(draw(4));
        reference.PutRestrictionType(restriction);
        if (restriction == ortBehavior) reference.PutBehaviorURI(u"urn:b1#B0");
        if (restriction == ortClass || restriction == ortClassAndDescendants)
          reference.PutClassName(u"C\u00e4a");
      }
    }
  }
  // Parents point at later classes as often as at earlier ones; behaviours
  // go to classes without a parent, so no ancestor lists them twice.
  for (int k = 0; k < classCount; ++k) {
    const auto c = classes.Item(k);
    const int parent = draw(classCount + 1);
    if (parent < classCount && parent != k && draw(2)) {
      try {
        c.PutParentClass(classes.Item(parent));
      } catch (const ComError&) {  // would close a cycle
      }
    }
  }
  for (int k = 0; k < classCount; ++k) {
    const auto c = classes.Item(k);
    for (int b = 0; b < behaviorCount && !c.ParentClass(); ++b)
      if (draw(2)) c.CurrentClassBehaviors().Add(behaviors.Item(b), draw(2) ? muYes : muNo);
  }
  if (draw(2)) {
    const auto roles = schema.DomainBehaviors().Add(u"urn:domain").RoleClassMapping();
    roles.PutItem(u"first", classes.Item(0));
    roles.PutItem(u"last", classes.Item(classCount - 1));
  }
  for (int k = draw(4); k > 0; --k) {
    const auto type = static_cast<DataTypeEnum>(1 + draw(21));
    const auto item = schema.Info().GetInfoItem(Bstr(u"i" + std::u16string(1, char16_t(u'0' + k))),
                                                draw(2) ? u"urn:info" : u"urn:other");
    item.PutValueType(type);
    Variant value = SampleValue(type, draw(2));
    if (draw(5) == 0 && type != dtXML) {  // an XML item cannot be null
      value = Variant();
      value.vt = VT_NULL;
    }
    item.PutValue(value);
    if (draw(2)) item.PutMustUnderstand(muYes);
  }
  return schema;
}

// The model's own copy of each keeps every property too.
TEST(SchemaReader, RandomSchemasReadBackEqualAndSaveAgainByteForByte) {
  std::mt19937 random(20261206);
  for (int k = 0; k < 300; ++k) {
    SCOPED_TRACE("schema " + std::to_string(k));
    const ComPtr<INvVexaSchema> schema = RandomSchema(random), copy = MakeSchema();
    ExpectRoundTrip(schema);
    if (HasFatalFailure()) return;
    copy.Copy(schema);
    EXPECT_EQ(Describe(copy), Describe(schema));
  }
}

// A behaviour kept elsewhere, loaded from its document (the random schemas
// hold embedded behaviours only).
TEST(SchemaReader, AnExternalBehaviorReadsBackEqual) {
  const nv_test::ScratchFolder elsewhere;
  const auto source = NewSchema(u"urn:far");
  AddAttribute(source.Classes().Add(u"Far").CurrentClassAttributes(), u"size", dtDouble)
      .PutRequired(true);
  MakeSchemaWriter(source, true).Save(elsewhere.Name("far.xsd"));
  const ComPtr<INvVexaSchema> schema = NewSchema(u"urn:parts");
  const auto far =
      schema.ClassesBehaviors().Add(mtExternal, u"urn:far#Far", elsewhere.Name("far.xsd"), false);
  AddAttribute(far.Attributes(), u"size", dtDouble).PutRequired(true);
  const auto near = schema.ClassesBehaviors().Add(mtEmbedded, u"urn:near#Near", u"", false);
  const auto part = schema.Classes().Add(u"Part");
  part.CurrentClassBehaviors().Add(far, muYes);
  part.CurrentClassBehaviors().Add(near, muNo);
  ExpectRoundTrip(schema);
}

// A schema document around `body`, with the fixed namespaces declared.
std::string Document(std::string_view body,
                     std::string_view rootAttributes = R"( targetNamespace="urn:t")") {
  return R"(<schema xmlns="http://www.w3.org/2001/XMLSchema" xmlns:tns="urn:t")"
         R"( xmlns:vexa="http://www.norvane.com/vexa/std/ns/core/1.0")" +
         std::string(rootAttributes) + ">" + std::string(body) + "</schema>";
}

std::string Class(std::string_view attributes, std::string_view sequence = "",
                  std::string_view base = "vexa:root") {
  return R"(<complexType name="C" vexa:dataModelRole="vexa:class" )" + std::string(attributes) +
         R"(><complexContent><extension base=")" + std::string(base) + R"("><sequence>)" +
         std::string(sequence) + "</sequence></extension></complexContent></complexType>";
}

std::string Attribute(std::string_view attributes, std::string_view content = "") {
  return R"(<element name="a" vexa:dataModelRole="vexa:attribute" )" + std::string(attributes) +
         ">" + std::string(content) + "</element>";
}

std::string Roles(std::string_view role) {
  return Class("") + R"(<annotation><appinfo><vexa:domainBehaviors><vexa:behavior vexa:uri="d">)" +
         std::string(role) + "</vexa:behavior></vexa:domainBehaviors></appinfo></annotation>";
}

// Forms other writers use and this one never writes: explicit defaults,
// other prefixes, a string restriction without a length.
TEST(SchemaReader, ReadsTheFormsOfOtherWriters) {
  const nv_test::ScratchFolder folder;
  nv_test::WriteText(
      folder.File("doc.xsd"),
      R"(<x:schema xmlns:x="http://www.w3.org/2001/XMLSchema" xmlns:p="urn:t" targetNamespace="urn:t")"
      R"( xmlns:v="http://www.norvane.com/vexa/std/ns/core/1.0"><x:complexType name="C")"
      R"( v:dataModelRole="v:class" abstract="false"><x:complexContent><x:extension base="v:root">)"
      R"(<x:sequence><x:element name="a" minOccurs="1" nillable="false" type="x:int")"
      R"( v:dataModelRole="v:attribute"/><x:element name="b" minOccurs="0" v:dataModelRole="v:attribute")"
      R"( type="v:objectReference" v:restrictionType="Any"/><x:element name="c")"
      R"( v:dataModelRole="v:attribute"><x:simpleType><x:restriction base="x:string"/></x:simpleType>)"
      R"(</x:element></x:sequence></x:extension></x:complexContent></x:complexType></x:schema>)");
  const ComPtr<INvVexaSchema> schema = MakeSchema();
  ReadSchemaDocument(schema, Bstr(u"file://" + folder.Name("doc.xsd")));
  EXPECT_EQ(Describe(schema), "urn:t\nclass C a:10! b:20/0 c:1!/0");
}

TEST(SchemaReader, RefusesEachFault) {
  const std::string ref = R"(<element ref="tns:B" vexa:mustUnderstand="maybe"/>)";
  const std::string behavior =
      R"(<complexType name="B" vexa:dataModelRole="vexa:class_behavior"/>)";
  const struct {
    std::string text;
    std::string message;
  } rows[] = {
      {"<schema", "Error at file @, line 1, char 8  Message: "},
      {R"(<element xmlns="http://www.w3.org/2001/XMLSchema"/>)",
       "Unexpected document element name \"element \"Expecting \"schema\""},
      {Document("", ""), "Required attribute \"targetNamespace\" is missing"},
      {Document(R"(<complexType name="" vexa:dataModelRole="vexa:class"/>)"),
       "Empty string is not allowed for attribute \"name\""},
      {Document(Class("", "", "tns:Missing")), "Class  \"Missing\" does not exist"},
      {Document(Class("", "", "vexa:Other")),
       "Unexpected parent class: Class can only inherit \"vexa:root\" or other classes from the "
       "schema target namespace"},
      {Document(Class("abstract=\"yes\"")), "Invalid value \"yes\" for the attribute \"abstract\""},
      {Document(R"(<complexType name="C" vexa:dataModelRole=""/>)"),
       "Empty string is not allowd for value of attribute \"dataModelRole\""},
      {Document(R"(<complexType name="C" vexa:dataModelRole="tns:class"/>)"),
       "element \"dataModelRole\" must be from Vexa namespace"},
      {Document(Class("", Attribute("", "<simpleType><restriction/></simpleType>"))),
       "Invalid Vexa: Missing attribute \"type\" for element \"restriction\""},
      {Document(Class("", Attribute("",
                                    "<simpleType><restriction base=\"string\"><maxLength/>"
                                    "</restriction></simpleType>"))),
       "Invalid Vexa: Missing attribute \"value\" for element \"maxLength\""},
      {Document(Class("", Attribute(""))), "Invalid Vexa: missing type for attribute \"a\""},
      {Document(Class("", Attribute("type=\"int\" vexa:primary=\"maybe\""))),
       "Invalid value\"maybe\" for element \"primary\""},
      {Document(Class("", Attribute("type=\"boolean\" default=\"x\""))),
       "Invalid default value \"x\" for attribute \"a\": x is not a valid boolean value"},
      {Document(
           Class("", Attribute("type=\"vexa:objectReference\" vexa:restrictionType=\"Some\""))),
       "Unknown objectReferenceRestriction type \"Some\""},
      {Document(
           Class("", Attribute("type=\"vexa:objectReference\" vexa:restrictionType=\"Class\""))),
       "Invalid Vexa: missing ClassName for ObjectReferenceRestriction"},
      {Document(Class("", Attribute("type=\"vexa:objectReference\" "
                                    "vexa:restrictionType=\"Behavior\""))),
       "Invalid Vexa: missing BehaviorURI for ObjectReferenceRestriction of type \"behavior\""},
      {Document(Class("", R"(<element ref="tns:B"/>)") + behavior),
       "Invalid value for parameter ClassBehavior"},
      {Document(behavior + Class("", ref)), "Unknown MustUnderstand type \"maybe\""},
      {Document(Roles(R"(<vexa:role vexa:name="r"/>)")),
       "failed reading \"class\" attribute in domain behavior"},
      {Document(Roles(R"(<vexa:role vexa:name="r" vexa:class="vexa:C"/>)")),
       "The value of \"Class\" in global behavior must be from the schema namespace"},
      {Document(Roles(R"(<vexa:role vexa:name="r" vexa:class="tns:D"/>)")),
       "Class \"D\" does not exist"},
      {Document(R"(<import namespace="urn:b" schemaLocation="../b.xsd"/>)"),
       "Schema location \"../b.xsd\" leaves the folder \"@\""},
      // Hostile documents: refused before anything is expanded or fetched.
      {"<!DOCTYPE schema [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]>" +
           Document("<annotation>&b;</annotation>"),
       "Error at file @, line 1, char 10  Message: DOCTYPE is not allowed: "},
      {"<!DOCTYPE schema SYSTEM \"file:///etc/passwd\">" + Document(""),
       "Error at file @, line 1, char 10  Message: DOCTYPE is not allowed: "},
      {Document(xml_test::Deep(100000)),
       "Error at file @, line 1, char 917  Message: elements are nested deeper than 256 levels"},
  };
  for (const auto& row : rows) {
    const nv_test::ScratchFolder folder;
    nv_test::WriteText(folder.File("doc.xsd"), row.text);
    const std::string message =
        FailureOf([&] { ReadSchemaDocument(MakeSchema(), folder.Name("doc.xsd")); });
    std::string expected = row.message;
    const std::string at =
        expected.find("folder") != std::string::npos ? folder.Path() + "/" : folder.File("doc.xsd");
    if (const size_t marker = expected.find('@'); marker != std::string::npos)
      expected.replace(marker, 1, at);
    EXPECT_EQ(message.substr(0, expected.size()), expected) << row.text.substr(0, 200);
  }
  EXPECT_EQ(FailureOf([] { ReadSchemaDocument(MakeSchema(), Bstr(u"/no/such.xsd")); }),
            "File \"/no/such.xsd\" does not exist");
}

// A document with a behaviour beside it, loaded from a file, a "file:" URI,
// a URL and a URL reached only through the proxy: the relative import is
// fetched from beside the document each time, and each load gives a new schema.
TEST(ExternalSchemaReader, LoadsFromFilesUrisAndUrlsThroughAProxy) {
  nv_test::ScratchFolder folder;
  const auto saved = NewSchema(u"urn:parts");
  const auto tagged = saved.ClassesBehaviors().Add(mtEmbedded, u"urn:cb#tagged", u"", false);
  AddAttribute(tagged.Attributes(), u"tag", dtString);
  saved.Classes().Add(u"Part").CurrentClassBehaviors().Add(tagged, muYes);
  MakeSchemaWriter(saved, false).Save(folder.Name("parts.xsd"));
  nv_test::HttpTestServer server;
  const std::string far = "http://nv-schema-test.invalid/s/";
  for (const std::string& base : {server.Url("/s/"), far})
    for (const char* name : {"parts.xsd", "VEXA_CB_NS1.xsd"})
      server.Answer(base.starts_with("http://127") ? "/s/" + std::string(name) : base + name,
                    nv_test::HttpResponse(200, "OK", nv_test::ReadText(folder.File(name))));

  const auto reader =
      nv_test::Created<INvVexaExternalSchemaReader>(CLSID_NvVexaExternalSchemaReader);
  std::vector<ComPtr<INvVexaSchema>> loaded;
  for (const Bstr& location : {folder.Name("parts.xsd"),
                               Bstr(u"file://" + folder.Name("parts.xsd")),
                               Bstr::FromUtf8(server.Url("/s/parts.xsd")),
                               Bstr::FromUtf8(far + "parts.xsd")}) {
    if (location.View().find(u".invalid") != std::u16string_view::npos)
      reader.InitializationData().SetProxy(Bstr::FromUtf8(server.Address()));
    const auto schema = reader.Load(location);
    EXPECT_EQ(schema.SchemaLocation(), location);
    EXPECT_EQ(schema.SchemaURI(), Bstr(u"urn:parts"));  // the rest is the reader's round trip
    EXPECT_EQ(schema.ClassesBehaviors().Item(0).Attributes().Item(0).Name(), Bstr(u"tag"));
    loaded.push_back(schema);
  }
  EXPECT_FALSE(SameObject(loaded[0], loaded[1]));
  EXPECT_EQ(server.Requests().size(), 4u);
  EXPECT_EQ(server.Requests().back().rfind("GET " + far + "VEXA_CB_NS1.xsd HTTP/1.1\r\n", 0), 0u);
  ComPtr<INvVexaSchema> none;
  EXPECT_EQ(reader->Load(folder.Name("missing.xsd").Raw(), none.put()), DISP_E_EXCEPTION);
  EXPECT_EQ(TakeErrorInfo().description,
            "File \"" + folder.File("missing.xsd") + "\" does not exist");
  EXPECT_FALSE(none);
}

}  // namespace
}  // namespace nv::test
