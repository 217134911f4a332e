// The instance document's frame (comment, Envelope, Header, Body), byte for byte.
#include "writer/writer_test_support.h"

#include <gtest/gtest.h>

#include <functional>

namespace nv::writer_test {
namespace {

const std::string kMarker = "<vexa:containsMustUnderstand SOAP_ENV:mustUnderstand=\"1\"/>";

// With or without asking for the object writer, which opens the Body once.
TEST(EnvelopeWriterTest, PackageWithoutInfoOrObjectsHasTheBareFrame) {
  for (const bool objectWriter : {false, true}) {
    TestDocument document;
    const ComPtr<INvVexaDataWriter> data = document.Open();
    if (objectWriter) {
      const ComPtr<INvVexaObjectWriter> first = data.ObjectWriter();
      EXPECT_TRUE(first.as<INvVexaObjectWriterCRaw>().IsBodyElementOpen());
      EXPECT_EQ(data.ObjectWriter().get(), first.get());
    }
    EXPECT_EQ(document.Finish(), DocumentStart() + kBodyStart + kFrameEnd);
  }
}

TEST(EnvelopeWriterTest, SchemaIdentityFallsBackToTheSchemaFileAndEscapesTheLocation) {
  struct Case {
    std::u16string_view uri, location;
    std::string declarations;
  };
  const Case cases[] = {
      {u"", u"", " xmlns:tns=\"VEXA_Schema.xsd\" xsi:schemaLocation=\"VEXA_Schema.xsd VEXA_Schema.xsd\""},
      {u"urn:a&b", u"dir/a&b <1>.xsd",
       " xmlns:tns=\"urn:a&amp;b\" xsi:schemaLocation=\"urn:a&amp;b dir/a&amp;b &lt;1&gt;.xsd\""},
  };
  for (const Case& c : cases) {
    ComPtr<INvVexaSchema> schema = MakeSchema();
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
  for (const char16_t* uri : {u"urn:b1#first", u"urn:b1#second",
                              u"http://www.norvane.com/vexa/std/ns/core/1.0#core", u"urn:b2#third"}) {
    behaviors.Add(mtEmbedded, Bstr(uri), Bstr(), false);
  }
  TestDocument document(schema);
  document.Open();
  EXPECT_EQ(document.Finish(),
            DocumentStart(" xmlns:NS1=\"urn:b1\" xmlns:NS2=\"urn:b2\"") + kBodyStart + kFrameEnd);
  EXPECT_EQ(document.Namespaces().GetPrefix(Bstr(u"urn:b2")).ToUtf8(), "NS2");
  EXPECT_EQ(document.Namespaces().GetPrefix(Bstr(u"urn:test")).ToUtf8(), "tns");
}

TEST(EnvelopeWriterTest, OpeningWithoutASchemaOrANamespaceTableFailsAndWritesNothing) {
  {
    TestDocument document;
    document.Envelope().Create(document.Namespaces());
    EXPECT_EQ(FailureOf([&] { document.Envelope().OpenEnvelopeElement(document.Stream()); }),
              "a schema is missing");
    EXPECT_EQ(document.Close(), "");
  }
  TestDocument document;
  document.Envelope().Set_Schema(TestSchema());
  EXPECT_EQ(FailureOf([&] { document.Envelope().OpenEnvelopeElement(document.Stream()); }),
            "The namespace table of the package is missing");
  EXPECT_EQ(document.Close(), "");
}

// Items in a namespace of the Envelope still get a prefix of their own:
// generated prefixes continue after the Envelope's.
TEST(InfoHeaderTest, ItemsOfTwoNamespacesGetOneGeneratedPrefixEach) {
  ComPtr<INvVexaSchema> schema = TestSchema();
  schema.ClassesBehaviors().Add(mtEmbedded, Bstr(u"urn:b1#first"), Bstr(), false);
  TestDocument document(schema);
  const ComPtr<INvVexaDataWriter> data = document.Open();
  const ComPtr<INvVexaInfo> info = data.Info();
  EXPECT_EQ(data.Info().get(), info.get());
  const std::u16string core = u"http://www.norvane.com/vexa/std/ns/core/1.0";
  SetItem(info, u"title", core, dtString, Variant(u"x<y \u00e9"));
  SetItem(info, u"count", u"urn:b", dtInt, Variant(int32_t{42}), muNo);
  SetItem(info, u"owner", core, dtObjectReference, Variant(u"obj1"));
  SetItem(info, u"note", u"urn:b", dtString, Variant::Null());
  const ComPtr<INvVexaXmlAttributeValue> xml = info.CreateXmlAttributeValue();
  xml.PutXML(Bstr(u"<p>t</p>"));
  SetItem(info, u"body", core, dtXML, XmlVariant(xml));
  info.Save();
  EXPECT_EQ(document.Finish(),
            DocumentStart(" xmlns:NS1=\"urn:b1\"") +
                "<SOAP_ENV:Header xmlns:NS2=\"http://www.norvane.com/vexa/std/ns/core/1.0\""
                " xmlns:NS3=\"urn:b\">"
                "<NS2:title xsi:type=\"string\">x&lt;y &#233;</NS2:title>"
                "<NS3:count xsi:type=\"int\">42</NS3:count>"
                "<NS2:owner xsi:type=\"IDREF\" href=\"obj1\"/>"
                "<NS3:note xsi:type=\"string\" xsi:nil=\"true\"/>"
                "<NS2:body xsi:type=\"xml\"><p>t</p></NS2:body>"
                "</SOAP_ENV:Header>" +
                kBodyStart + kFrameEnd);
}

// The marker comes from a marked item or from the package; an empty saved
// Info is an empty Header right before the Body.
TEST(InfoHeaderTest, SavedInfoWithAndWithoutItemsAndTheMustUnderstandMarker) {
  using Fill = std::function<void(const ComPtr<INvVexaInfo>&)>;
  const Fill entry = [](const auto& info) {
    info.template as<INvVexaInfoCRaw>().AddContainsMustUnderstandEntry();
  };
  const auto item = [](MustUnderstandEnum mark) -> Fill {
    return [mark](const auto& info) {
      SetItem(info, u"i", u"urn:a", dtShort, Variant(int16_t{7}), mark);
    };
  };
  const std::string withNs = "<SOAP_ENV:Header xmlns:NS1=\"urn:a\">";
  const std::string plain = "<NS1:i xsi:type=\"short\">7</NS1:i>";
  const std::pair<std::vector<Fill>, std::string> cases[] = {
      {{}, "<SOAP_ENV:Header>"},
      {{entry}, "<SOAP_ENV:Header>" + kMarker},
      {{item(muNo)}, withNs + plain},
      {{item(muYes)},
       withNs + kMarker + "<NS1:i xsi:type=\"short\" vexa:mustUnderstand=\"yes\">7</NS1:i>"},
      {{item(muNo), entry}, withNs + kMarker + plain},
  };
  for (const auto& [fills, header] : cases) {
    TestDocument document;
    const ComPtr<INvVexaInfo> info = document.Open().Info();
    for (const Fill& fill : fills) fill(info);
    info.Save();
    EXPECT_EQ(document.Finish(),
              DocumentStart() + header + "</SOAP_ENV:Header>" + kBodyStart + kFrameEnd);
  }
}

}  // namespace
}  // namespace nv::writer_test
