// The external schema writer as a client uses it: created with CoCreateInstance, filled
// through its schema, saved as a standalone document that an XML parser accepts.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/error_info_probe.h"
#include "schema_document_test_support.h"
#include "support/readback.h"

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

// Names and defaults beyond ASCII, and an Info item whose XML value uses
// another namespace: the item keeps its own, and every save is the same.
TEST(ExternalSchemaWriter, SavesTheSameWellFormedDocumentEachTime) {
  ScratchFolder folder;
  const auto writer = NewExternalWriter();
  writer.PutSchemaURI(u"http://example.com/parts");
  const auto schema = writer.Schema();
  const auto tagged =
      schema.ClassesBehaviors().Add(mtEmbedded, u"http://example.com/ns/cb#tagged", u"", false);
  AddAttribute(tagged.Attributes(), u"tag", dtString).PutDefaultValue(Variant(u"a&b \u00e9"));
  schema.Classes().Add(u"Teil\u00e4").CurrentClassBehaviors().Add(tagged, muYes);
  const auto info = schema.Info();
  const auto xml = info.CreateXmlAttributeValue();
  xml.PutXML(u"<o:a/>");
  xml.Namespaces().Add(u"urn:other", u"o");
  const auto item = info.GetInfoItem(u"item", u"urn:item");
  item.PutValueType(dtXML);
  item.PutValue(Variant(static_cast<IDispatch*>(xml.get())));
  writer.Save(folder.Name("a.xsd"));
  writer.Save(folder.Name("b.xsd"));

  for (const char* name : {"a.xsd", "b.xsd", "VEXA_CB_NS1.xsd"})
    EXPECT_EQ(nv_test::XmllintErrors(folder.File(name)), "") << name;
  const std::string text = ReadText(folder.File("a.xsd"));
  EXPECT_EQ(ReadText(folder.File("b.xsd")), text);
  EXPECT_NE(text.find(R"(<complexType name="Teil&#228;" )"), std::string::npos);
  EXPECT_NE(text.find(R"( xmlns:NS1="urn:item"><NS1:item xsd:type="xml" )"
                      R"(xmlns:NS2="urn:other"><NS2:a>)"),
            std::string::npos);
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
  EXPECT_EQ(nv_test::XmllintErrors(folder.File("plain.xsd")), "");
}

// A save replaces its file (a link too, leaving the link's target alone) only
// when the whole document is written: a failed one keeps the earlier file and
// reports the innermost message to the client.
TEST(ExternalSchemaWriter, ASaveReplacesItsFileOnlyWhenComplete) {
  ScratchFolder folder;
  nv_test::WriteText(folder.File("target.xsd"), "untouched");
  std::filesystem::create_symlink("target.xsd", folder.File("link.xsd"));
  const auto writer = NewExternalWriter();
  const auto part = writer.Schema().Classes().Add(u"Part");
  const Bstr name = folder.Name("link.xsd");
  writer.Save(name);
  const std::string saved = ReadText(folder.File("link.xsd"));
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
