// The external schema writer as a client uses it: created with
// CoCreateInstance, filled through its schema, saved as a standalone
// document that an XML parser accepts.
#include <gtest/gtest.h>

#include <cstdlib>

#include "frame/objects/error_info_probe.h"
#include "schema_document_test_support.h"

namespace nv::test {
namespace {

using nv_test::ReadText;
using nv_test::ScratchFolder;

ComPtr<INvVexaExternalSchemaWriter> NewExternalWriter() {
  INvVexaExternalSchemaWriter* raw = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_NvVexaExternalSchemaWriter, nullptr, CLSCTX_INPROC_SERVER,
                             IID_INvVexaExternalSchemaWriter, reinterpret_cast<void**>(&raw)),
            S_OK);
  return ComPtr<INvVexaExternalSchemaWriter>::attach(raw);
}

bool XmllintAccepts(const std::string& file) {
  const std::string command = "xmllint --noout '" + file + "' 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

// A schema using most of the grammar: inheritance, typed attributes with
// defaults, names and values beyond ASCII, embedded and external class
// behaviours, a domain behaviour.
void FillSchema(const ComPtr<INvVexaSchema>& schema) {
  const auto behaviors = schema.ClassesBehaviors();
  const auto tagged = behaviors.Add(mtEmbedded, u"http://example.com/ns/cb#tagged", u"", false);
  AddAttribute(tagged.Attributes(), u"tag", dtString).PutDefaultValue(Variant(u"a&b \u00e9"));
  const auto tool = behaviors.Add(mtExternal, u"http://example.com/ns/t#tool",
                                  u"http://example.com/t.xsd", false);

  const auto item = schema.Classes().Add(u"Item");
  item.PutIsAbstract(true);
  const auto part = schema.Classes().Add(u"Teil\u00e4");
  part.PutParentClass(item);
  const auto attributes = item.CurrentClassAttributes();
  AddAttribute(attributes, u"id", dtString).PutRequired(true);
  AddAttribute(attributes, u"mass", dtDouble).PutDefaultValue(Variant(2.5));
  AddAttribute(attributes, u"body", dtXML).PutDefaultValue(Variant(u"<x a=\"1\"/>"));
  AddAttribute(attributes, u"owner", dtObjectReference)
      .TypeDefinition()
      .ObjectReferenceType()
      .PutRestrictionType(ortClassAndDescendants);
  attributes.ItemByName(u"owner").TypeDefinition().ObjectReferenceType().PutClassName(u"Item");
  part.CurrentClassBehaviors().Add(tagged, muYes);
  part.CurrentClassBehaviors().Add(tool, muNo);
  schema.DomainBehaviors().Add(u"http://example.com/domain").RoleClassMapping().PutItem(u"r", part);
}

TEST(ExternalSchemaWriter, SavesAWellFormedStandaloneDocument) {
  ScratchFolder folder;
  const auto writer = NewExternalWriter();
  writer.PutSchemaURI(u"http://example.com/parts");
  FillSchema(writer.Schema());
  writer.Save(folder.Name("parts.xsd"));

  EXPECT_TRUE(XmllintAccepts(folder.File("parts.xsd")));
  EXPECT_TRUE(XmllintAccepts(folder.File("VEXA_CB_NS1.xsd")));
  const std::string text = ReadText(folder.File("parts.xsd"));
  EXPECT_NE(text.find(R"(<complexType name="Teil&#228;" )"), std::string::npos);
  EXPECT_NE(ReadText(folder.File("VEXA_CB_NS1.xsd")).find(R"(default="a&amp;b &#233;")"),
            std::string::npos);
}

TEST(ExternalSchemaWriter, AWriterWithoutUriTargetsTheDocumentName) {
  ScratchFolder folder;
  const auto writer = NewExternalWriter();
  writer.Schema().Classes().Add(u"Part");
  writer.Save(u"file://" + folder.Name("plain.xsd"));
  EXPECT_EQ(ReadText(folder.File("plain.xsd")),
            ExpectedDocument({.target = "VEXA_Schema.xsd", .body = RootClass("Part", "")}));
  EXPECT_TRUE(XmllintAccepts(folder.File("plain.xsd")));
}

TEST(ExternalSchemaWriter, AFailedSaveReportsTheInnermostMessageToTheClient) {
  ScratchFolder folder;
  const auto writer = NewExternalWriter();
  writer.Schema().Classes().Add(u"Part").CurrentClassAttributes().Add(u"untyped");
  const Bstr name = folder.Name("bad.xsd");
  EXPECT_EQ(writer->Save(name.Raw()), DISP_E_EXCEPTION);
  const ErrorProbe error = TakeErrorInfo();
  EXPECT_EQ(error.description, "missing Value type for attribute \"untyped\"");
  EXPECT_EQ(error.source, "NorvVexa1.NvVexaExternalSchemaWriter.1.0");
}

}  // namespace
}  // namespace nv::test
