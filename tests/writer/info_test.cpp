// The Info collection: every refusal and what a refused Save leaves behind,
// item lookup and copies.
#include "frame/implements.h"
#include "instance/info.h"
#include "writer/writer_test_support.h"

#include <gtest/gtest.h>

#include <functional>

namespace nv::writer_test {
namespace {

TEST(InfoFailuresTest, ItemRefusals) {
  const ComPtr<INvVexaInfo> info = MakeMemoryBasedInfo(false);
  const ComPtr<INvVexaInfoItem> item = info.GetInfoItem(Bstr(u"Version"), Bstr(u"urn:a"));
  const ComPtr<INvVexaInfoItem> xml = info.GetInfoItem(Bstr(u"x"), Bstr(u"urn:a"));
  xml.PutValueType(dtXML);
  const std::pair<std::function<void()>, const char*> rows[] = {
      {[&] { info.GetInfoItem(Bstr(), Bstr()); }, "Missing Name for InfoItem"},
      {[&] { info.GetInfoItem(Bstr(u"n"), Bstr()); }, "Missing Namespace for InfoItem"},
      {[&] { item.PutValue(Variant(u"1")); },
       "Undefined value type for VexaInfoItem Version. Please assign valueType before "
       "assigning the value."},
      {[&] { xml.PutValue(Variant(u"<a/>")); },
       "Only an Instance of INvVexaXmlAttributeValue can be assigned to an item of type dtXML"},
  };
  for (const auto& [call, message] : rows) EXPECT_EQ(FailureOf(call), message);
  EXPECT_EQ(info.as<INvVexaInfoCRaw>().Count(), 2);
  EXPECT_EQ(item.Value().vt, VT_EMPTY);
  EXPECT_EQ(xml.Value().vt, VT_EMPTY);
}

TEST(InfoFailuresTest, SaveRefusalsLeaveTheDocumentAsItWas) {
  using Before = std::function<void(const ComPtr<INvVexaDataWriter>&)>;
  struct Case {
    Before before;
    const char* message;
    std::string header;
  };
  const Case cases[] = {
      {[](const auto& data) { data.Info().Save(); }, "Cannot save Info. Info was already saved.",
       "<SOAP_ENV:Header></SOAP_ENV:Header>"},
      {[](const auto& data) { data.ObjectWriter(); },
       "Cannot save Info after getting object writer from data writer.", ""},
      {[](const auto& data) { data.Info().GetInfoItem(Bstr(u"n"), Bstr(u"urn:a")); },
       "Invalid VexaDataType value (0)", ""},
  };
  for (const Case& c : cases) {
    TestDocument document;
    const ComPtr<INvVexaDataWriter> data = document.Open();
    c.before(data);
    EXPECT_EQ(FailureOf([&] { data.Info().Save(); }), c.message);
    EXPECT_EQ(document.Finish(), DocumentStart() + c.header + kBodyStart + kFrameEnd);
  }
  EXPECT_EQ(FailureOf([] { MakeMemoryBasedInfo(true).Save(); }),
            "Cannot save Info that is not part of NvVexaWriter.DataWriter");
}

// Values are converted when saved; the Header is complete before it is
// written, so a value that cannot be converted leaves the Info unsaved (the
// retry draws a new prefix).
TEST(InfoFailuresTest, FailedConversionLeavesTheInfoUnsaved) {
  TestDocument document;
  const ComPtr<INvVexaInfo> info = document.Open().Info();
  const ComPtr<INvVexaInfoItem> item =
      SetItem(info, u"n", u"urn:a", dtInt, Variant(u"not a number"));
  EXPECT_EQ(FailureOf([&] { info.Save(); }),
            "Failed to convert Variant value to the specified type");
  item.PutValue(Variant(int32_t{3}));
  info.Save();
  EXPECT_EQ(document.Finish(), DocumentStart() +
                                   "<SOAP_ENV:Header xmlns:NS2=\"urn:a\">"
                                   "<NS2:n xsi:type=\"int\">3</NS2:n></SOAP_ENV:Header>" +
                                   kBodyStart + kFrameEnd);
}

TEST(InfoItemsTest, ItemsAreFoundByNameAndNamespaceExactlyAndCopiesUpdateThem) {
  const ComPtr<INvVexaInfo> info = MakeMemoryBasedInfo(true);
  const ComPtr<INvVexaInfoItem> a = SetItem(info, u"n", u"urn:a", dtString, Variant(u"new"), muYes);
  const ComPtr<INvVexaInfoItem> b = info.GetInfoItem(Bstr(u"n"), Bstr(u"urn:b"));
  EXPECT_NE(a.get(), b.get());
  EXPECT_EQ(info.GetInfoItem(Bstr(u"n"), Bstr(u"urn:a")).get(), a.get());
  EXPECT_NE(info.GetInfoItem(Bstr(u"N"), Bstr(u"urn:a")).get(), a.get());
  ASSERT_EQ(info.as<INvVexaInfoCRaw>().Count(), 3);
  EXPECT_EQ(info.as<INvVexaInfoCRaw>().GetItem(1).get(), b.get());

  const ComPtr<INvVexaInfo> copy = MakeMemoryBasedInfo(true);
  SetItem(copy, u"n", u"urn:a", dtInt, Variant(int32_t{1}));
  SetItem(copy, u"other", u"urn:a", dtInt, Variant(int32_t{2}));
  copy.as<INvVexaInfoCRaw>().Copy(info);
  EXPECT_EQ(copy.as<INvVexaInfoCRaw>().Count(), 4);
  const ComPtr<INvVexaInfoItem> copied = copy.GetInfoItem(Bstr(u"n"), Bstr(u"urn:a"));
  EXPECT_EQ(copied.ValueType(), dtString);
  EXPECT_EQ(copied.MustUnderstand(), muYes);
  EXPECT_EQ(Bstr(copied.Value().bstrVal).ToUtf8(), "new");
}

}  // namespace
}  // namespace nv::writer_test
