// The Header that a saved Info writes, and the Info collection's rules.
#include <gtest/gtest.h>

#include "writer/frame_test_support.h"
#include "writer/info.h"

namespace nv::writer_test {
namespace {

constexpr std::u16string_view kCore = u"http://www.norvane.com/vexa/std/ns/core/1.0";
const std::string kMarker =
    "<vexa:containsMustUnderstand SOAP_ENV:mustUnderstand=\"1\"/>";

TEST(InfoHeaderTest, SavedEmptyInfoIsAnEmptyHeaderRightBeforeTheBody) {
  TestDocument document;
  document.Open().Info().Save();
  EXPECT_EQ(document.Finish(), DocumentStart() + "<SOAP_ENV:Header></SOAP_ENV:Header>" +
                                   kBodyStart + kFrameEnd);
}

TEST(InfoHeaderTest, ItemsOfTwoNamespacesGetOneGeneratedPrefixEach) {
  TestDocument document;
  const ComPtr<INvVexaInfo> info = document.Open().Info();
  SetItem(info, u"title", u"urn:a", dtString, Variant(u"x<y \u00e9"));
  SetItem(info, u"count", u"urn:b", dtInt, Variant(int32_t{42}), muNo);
  SetItem(info, u"owner", u"urn:a", dtObjectReference, Variant(u"obj1"));
  SetItem(info, u"note", u"urn:b", dtString, Variant::Null());
  const ComPtr<INvVexaXmlAttributeValue> xml = info.CreateXmlAttributeValue();
  xml.PutXML(Bstr(u"<p>t</p>"));
  SetItem(info, u"body", u"urn:a", dtXML, Variant(static_cast<IDispatch*>(xml.get())));
  info.Save();
  EXPECT_EQ(document.Finish(),
            DocumentStart() +
                "<SOAP_ENV:Header xmlns:NS1=\"urn:a\" xmlns:NS2=\"urn:b\">"
                "<NS1:title xsi:type=\"string\">x&lt;y &#233;</NS1:title>"
                "<NS2:count xsi:type=\"int\">42</NS2:count>"
                "<NS1:owner xsi:type=\"IDREF\" href=\"obj1\"/>"
                "<NS2:note xsi:type=\"string\" xsi:nil=\"true\"/>"
                "<NS1:body xsi:type=\"xml\"><p>t</p></NS1:body>"
                "</SOAP_ENV:Header>" +
                kBodyStart + kFrameEnd);
}

// An item in a namespace of the Envelope still gets a prefix of its own, and
// generated prefixes continue after the Envelope's.
TEST(InfoHeaderTest, ItemPrefixesNeverCollideWithTheDocumentsPrefixes) {
  ComPtr<INvVexaSchema> schema = TestSchema();
  schema.ClassesBehaviors().Add(mtEmbedded, Bstr(u"urn:b1#first"), Bstr(), false);
  TestDocument document(schema);
  const ComPtr<INvVexaInfo> info = document.Open().Info();
  SetItem(info, u"v", kCore, dtBoolean, Variant(true));
  info.Save();
  EXPECT_EQ(document.Finish(),
            DocumentStart(" xmlns:NS1=\"urn:b1\"") + "<SOAP_ENV:Header xmlns:NS2=\"" +
                "http://www.norvane.com/vexa/std/ns/core/1.0" +
                "\"><NS2:v xsi:type=\"boolean\">true</NS2:v></SOAP_ENV:Header>" + kBodyStart +
                kFrameEnd);
}

TEST(InfoHeaderTest, MustUnderstandMarkerComesFromAnItemOrFromThePackage) {
  struct Case {
    bool markedItem, packageEntry;
    std::string header;
  };
  const std::string item = "<NS1:i xsi:type=\"short\">7</NS1:i>";
  const std::string markedItem = "<NS1:i xsi:type=\"short\" vexa:mustUnderstand=\"yes\">7</NS1:i>";
  const Case cases[] = {
      {false, false, "<SOAP_ENV:Header xmlns:NS1=\"urn:a\">" + item},
      {true, false, "<SOAP_ENV:Header xmlns:NS1=\"urn:a\">" + kMarker + markedItem},
      {false, true, "<SOAP_ENV:Header xmlns:NS1=\"urn:a\">" + kMarker + item},
  };
  for (const Case& c : cases) {
    TestDocument document;
    const ComPtr<INvVexaInfo> info = document.Open().Info();
    SetItem(info, u"i", u"urn:a", dtShort, Variant(int16_t{7}), c.markedItem ? muYes : muNo);
    if (c.packageEntry) info.as<INvVexaInfoCRaw>().AddContainsMustUnderstandEntry();
    info.Save();
    EXPECT_EQ(document.Finish(),
              DocumentStart() + c.header + "</SOAP_ENV:Header>" + kBodyStart + kFrameEnd);
  }
}

TEST(InfoHeaderTest, MarkerAloneInAnInfoWithoutItems) {
  TestDocument document;
  const ComPtr<INvVexaInfo> info = document.Open().Info();
  info.as<INvVexaInfoCRaw>().AddContainsMustUnderstandEntry();
  info.Save();
  EXPECT_EQ(document.Finish(), DocumentStart() + "<SOAP_ENV:Header>" + kMarker +
                                   "</SOAP_ENV:Header>" + kBodyStart + kFrameEnd);
}

TEST(InfoItemsTest, ItemsAreFoundByNameAndNamespaceExactly) {
  const ComPtr<INvVexaInfo> info = MakeMemoryBasedInfo(false);
  const ComPtr<INvVexaInfoItem> a = info.GetInfoItem(Bstr(u"n"), Bstr(u"urn:a"));
  const ComPtr<INvVexaInfoItem> b = info.GetInfoItem(Bstr(u"n"), Bstr(u"urn:b"));
  EXPECT_NE(a.get(), b.get());
  EXPECT_EQ(info.GetInfoItem(Bstr(u"n"), Bstr(u"urn:a")).get(), a.get());
  EXPECT_NE(info.GetInfoItem(Bstr(u"N"), Bstr(u"urn:a")).get(), a.get());
  const auto items = info.as<INvVexaInfoCRaw>();
  ASSERT_EQ(items.Count(), 3);
  EXPECT_EQ(items.GetItem(1).get(), b.get());
  EXPECT_EQ(b.Name().ToUtf8(), "n");
  EXPECT_EQ(b.Namespace().ToUtf8(), "urn:b");
  EXPECT_EQ(b.ValueType(), dtUndefined);
  EXPECT_EQ(static_cast<int>(b.MustUnderstand()), 0);
  EXPECT_EQ(b.Value().vt, VT_EMPTY);
}

TEST(InfoItemsTest, ValuesAreStoredUnconvertedAndTypesUnchecked) {
  const ComPtr<INvVexaInfoItem> item =
      MakeMemoryBasedInfo(false).GetInfoItem(Bstr(u"n"), Bstr(u"urn:a"));
  item.PutValueType(dtInt);
  item.PutValue(Variant(u"not a number"));
  EXPECT_EQ(Bstr(item.Value().bstrVal).ToUtf8(), "not a number");
  item.PutValueType(static_cast<DataTypeEnum>(99));
  EXPECT_EQ(static_cast<int>(item.ValueType()), 99);
  item.PutMustUnderstand(static_cast<MustUnderstandEnum>(5));
  EXPECT_EQ(static_cast<int>(item.MustUnderstand()), 5);
}

TEST(InfoItemsTest, CopyAddsOrUpdatesItems) {
  const ComPtr<INvVexaInfo> source = MakeMemoryBasedInfo(true);
  SetItem(source, u"a", u"urn:a", dtString, Variant(u"new"), muYes);
  const ComPtr<INvVexaInfo> copy = MakeMemoryBasedInfo(true);
  SetItem(copy, u"a", u"urn:a", dtInt, Variant(int32_t{1}));
  SetItem(copy, u"b", u"urn:a", dtInt, Variant(int32_t{2}));
  copy.as<INvVexaInfoCRaw>().Copy(source);
  ASSERT_EQ(copy.as<INvVexaInfoCRaw>().Count(), 2);
  const ComPtr<INvVexaInfoItem> a = copy.GetInfoItem(Bstr(u"a"), Bstr(u"urn:a"));
  EXPECT_EQ(a.ValueType(), dtString);
  EXPECT_EQ(a.MustUnderstand(), muYes);
  EXPECT_EQ(Bstr(a.Value().bstrVal).ToUtf8(), "new");
}

}  // namespace
}  // namespace nv::writer_test
