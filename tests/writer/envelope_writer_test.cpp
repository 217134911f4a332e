// The frame of the instance document: comment, Envelope, Body, byte for byte.
#include <gtest/gtest.h>

#include "writer/frame_test_support.h"

namespace nv::writer_test {
namespace {

TEST(EnvelopeWriterTest, PackageWithoutInfoOrObjectsHasTheBareFrame) {
  TestDocument document;
  document.Open();
  EXPECT_EQ(document.Finish(), DocumentStart() + kBodyStart + kFrameEnd);
}

TEST(EnvelopeWriterTest, SchemaIdentityFallsBackToTheSchemaFileAndEscapesTheLocation) {
  struct Case {
    std::u16string_view uri, location;
    std::string declarations;
  };
  const Case cases[] = {
      {u"", u"", " xmlns:tns=\"VEXA_Schema.xsd\" xsi:schemaLocation=\"VEXA_Schema.xsd VEXA_Schema.xsd\""},
      {u"urn:a&b", u"dir/a&b <1>.xsd",
       " xmlns:tns=\"urn:a&b\" xsi:schemaLocation=\"urn:a&b dir/a&amp;b &lt;1&gt;.xsd\""},
  };
  for (const Case& c : cases) {
    ComPtr<INvVexaSchema> schema = MakeSchema(nullptr);
    if (!c.uri.empty()) schema.PutSchemaURI(Bstr(c.uri));
    if (!c.location.empty()) schema.as<INvVexaSchemaCRaw>().Set_SchemaLocation(Bstr(c.location));
    TestDocument document(schema);
    document.Open();
    EXPECT_EQ(document.Close(), ModuleGeneratedByComment() + "<SOAP_ENV:Envelope" +
                                    kEnvelopeDeclarations + c.declarations + ">\r\n");
  }
}

TEST(EnvelopeWriterTest, DeclaresEachClassBehaviorNamespaceOnceAndRecordsThePrefixes) {
  ComPtr<INvVexaSchema> schema = TestSchema();
  const ComPtr<INvVexaClassesBehaviors> behaviors = schema.ClassesBehaviors();
  behaviors.Add(mtEmbedded, Bstr(u"urn:b1#first"), Bstr(), false);
  behaviors.Add(mtEmbedded, Bstr(u"urn:b1#second"), Bstr(), false);
  behaviors.Add(mtEmbedded, Bstr(u"http://www.norvane.com/vexa/std/ns/core/1.0#core"), Bstr(), false);
  behaviors.Add(mtEmbedded, Bstr(u"urn:b2#third"), Bstr(), false);
  TestDocument document(schema);
  document.Open();
  EXPECT_EQ(document.Finish(),
            DocumentStart(" xmlns:NS1=\"urn:b1\" xmlns:NS2=\"urn:b2\"") + kBodyStart + kFrameEnd);
  const ComPtr<INvVexaNamespaces>& table = document.Namespaces();
  EXPECT_EQ(table.GetPrefix(Bstr(u"urn:b2")).ToUtf8(), "NS2");
  EXPECT_EQ(table.GetPrefix(Bstr(u"urn:test")).ToUtf8(), "tns");
  EXPECT_EQ(table.GetPrefix(Bstr(u"http://schemas.xmlsoap.org/soap/envelope/")).ToUtf8(),
            "SOAP_ENV");
}

TEST(EnvelopeWriterTest, OpeningWithoutASchemaFailsAndWritesNothing) {
  TestDocument document;
  document.Envelope().Create(document.Namespaces());
  EXPECT_EQ(FailureOf([&] { document.Envelope().OpenEnvelopeElement(document.Stream()); }),
            "a schema is missing");
  EXPECT_EQ(document.Close(), "");
}

TEST(DataWriterTest, ObjectWriterOpensTheBodyOnceAndCloseWritesOnlyItsEnd) {
  TestDocument document;
  const ComPtr<INvVexaDataWriter> data = document.Open();
  const ComPtr<INvVexaObjectWriter> first = data.ObjectWriter();
  EXPECT_TRUE(first.as<INvVexaObjectWriterCRaw>().IsBodyElementOpen());
  EXPECT_EQ(data.ObjectWriter().get(), first.get());
  EXPECT_EQ(document.Finish(), DocumentStart() + kBodyStart + kFrameEnd);
}

TEST(DataWriterTest, InfoIsMadeOnceForTheWriter) {
  TestDocument document;
  const ComPtr<INvVexaDataWriter> data = document.Open();
  EXPECT_EQ(data.Info().get(), data.Info().get());
  EXPECT_EQ(data.Info().as<INvVexaInfoCRaw>().Count(), 0);
}

}  // namespace
}  // namespace nv::writer_test
