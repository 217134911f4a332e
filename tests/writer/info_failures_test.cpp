// Every refusal of the Info collection and its items, and what a refused
// Save leaves behind.
#include <gtest/gtest.h>

#include "writer/frame_test_support.h"
#include "writer/info.h"

namespace nv::writer_test {
namespace {

TEST(InfoFailuresTest, ItemLookupNeedsNameThenNamespace) {
  const ComPtr<INvVexaInfo> info = MakeMemoryBasedInfo(false);
  EXPECT_EQ(FailureOf([&] { info.GetInfoItem(Bstr(), Bstr()); }), "Missing Name for InfoItem");
  EXPECT_EQ(FailureOf([&] { info.GetInfoItem(Bstr(u"n"), Bstr()); }),
            "Missing Namespace for InfoItem");
  EXPECT_EQ(info.as<INvVexaInfoCRaw>().Count(), 0);
}

TEST(InfoFailuresTest, ValueNeedsATypeAndXmlItemsNeedAnXmlValue) {
  const ComPtr<INvVexaInfo> info = MakeMemoryBasedInfo(false);
  const ComPtr<INvVexaInfoItem> item = info.GetInfoItem(Bstr(u"Version"), Bstr(u"urn:a"));
  EXPECT_EQ(FailureOf([&] { item.PutValue(Variant(u"1")); }),
            "Undefined value type for VexaInfoItem Version. Please assign valueType before "
            "assigning the value.");
  item.PutValueType(dtXML);
  EXPECT_EQ(FailureOf([&] { item.PutValue(Variant(u"<a/>")); }),
            "Only an Instance of INvVexaXmlAttributeValue can be assigned to an item of type dtXML");
  EXPECT_EQ(item.Value().vt, VT_EMPTY);
  const ComPtr<INvVexaXmlAttributeValue> xml = info.CreateXmlAttributeValue();
  item.PutValue(Variant(static_cast<IDispatch*>(xml.get())));
  EXPECT_EQ(item.Value().vt, VT_DISPATCH);
}

TEST(InfoFailuresTest, SaveRefusals) {
  {
    TestDocument document;
    const ComPtr<INvVexaInfo> info = document.Open().Info();
    info.Save();
    EXPECT_EQ(FailureOf([&] { info.Save(); }), "Cannot save Info. Info was already saved.");
  }
  {
    TestDocument document;
    const ComPtr<INvVexaDataWriter> data = document.Open();
    const ComPtr<INvVexaInfo> info = data.Info();
    data.ObjectWriter();
    EXPECT_EQ(FailureOf([&] { info.Save(); }),
              "Cannot save Info after getting object writer from data writer.");
    EXPECT_EQ(document.Finish(), DocumentStart() + kBodyStart + kFrameEnd);
  }
  EXPECT_EQ(FailureOf([] { MakeMemoryBasedInfo(true).Save(); }),
            "Cannot save Info that is not part of NvVexaWriter.DataWriter");
}

// The Header is complete before it is written: a value that cannot be
// converted leaves the document as it was and the Info unsaved.
TEST(InfoFailuresTest, FailedConversionLeavesTheInfoUnsaved) {
  TestDocument document;
  const ComPtr<INvVexaInfo> info = document.Open().Info();
  const ComPtr<INvVexaInfoItem> item =
      SetItem(info, u"n", u"urn:a", dtInt, Variant(u"not a number"));
  EXPECT_NE(FailureOf([&] { info.Save(); }), "<no failure>");
  item.PutValue(Variant(int32_t{3}));
  info.Save();
  EXPECT_EQ(document.Finish(), DocumentStart() +
                                   "<SOAP_ENV:Header xmlns:NS1=\"urn:a\">"
                                   "<NS1:n xsi:type=\"int\">3</NS1:n></SOAP_ENV:Header>" +
                                   kBodyStart + kFrameEnd);
}

TEST(InfoFailuresTest, ItemWithoutValueTypeCannotBeWritten) {
  TestDocument document;
  const ComPtr<INvVexaInfo> info = document.Open().Info();
  info.GetInfoItem(Bstr(u"n"), Bstr(u"urn:a"));
  EXPECT_EQ(FailureOf([&] { info.Save(); }), "Invalid VexaDataType value (0)");
  EXPECT_EQ(document.Finish(), DocumentStart() + kBodyStart + kFrameEnd);
}

}  // namespace
}  // namespace nv::writer_test
