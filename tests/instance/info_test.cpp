// The Info collection: every refusal of an item, and exact lookup.
#include "instance/info.h"
#include "support/failure_of.h"

#include <gtest/gtest.h>

#include <functional>

namespace nv {
namespace {

using nv_test::MessageOfFailure;

TEST(Info, ItemRefusalsLeaveTheItemUnset) {
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
      {[] { MakeMemoryBasedInfo(true).Save(); },
       "Cannot save Info that is not part of NvVexaWriter.DataWriter"},
  };
  for (const auto& [call, message] : rows) EXPECT_EQ(MessageOfFailure(call), message);
  EXPECT_EQ(item.Value().vt, VT_EMPTY);
  EXPECT_EQ(xml.Value().vt, VT_EMPTY);
}

// Name and namespace match exactly (copies are tested with the schema's).
TEST(Info, ItemsAreFoundExactly) {
  const ComPtr<INvVexaInfo> info = MakeMemoryBasedInfo(true);
  const ComPtr<INvVexaInfoItem> a = info.GetInfoItem(Bstr(u"n"), Bstr(u"urn:a"));
  EXPECT_EQ(info.GetInfoItem(Bstr(u"n"), Bstr(u"urn:a")).get(), a.get());
  EXPECT_NE(info.GetInfoItem(Bstr(u"N"), Bstr(u"urn:a")).get(), a.get());
  EXPECT_NE(info.GetInfoItem(Bstr(u"n"), Bstr(u"urn:b")).get(), a.get());
}

}  // namespace
}  // namespace nv
