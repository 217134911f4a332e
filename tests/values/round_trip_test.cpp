// Texts with one canonical form read back to a value that writes the same text.
#include "values/text_to_value.h"
#include "values/value_to_text.h"
#include "value_test_support.h"

#include <gtest/gtest.h>

namespace nv::test {
namespace {

TEST(RoundTrip, CanonicalTextsSurviveTextToValueToText) {
  const std::pair<DataTypeEnum, std::vector<const char16_t*>> rows[] = {
      {dtString, {u"plain text", u""}},
      {dtBoolean, {u"true", u"false"}},
      {dtFloat, {u"1.5", u"1e+020", u"1.23457e+006", u"0.0001", u"-2.5e-007", u"15"}},
      {dtDouble, {u"3.14159", u"-0.1", u"0"}},
      {dtDuration, {u"P1Y2M3DT4H5M6.5S", u"-P1D", u"PT0S", u"P2MT5M", u"PT0.1S"}},
      {dtBase64Binary, {u"AAECAw==", u"Zm9vYmFy", u"Zg==", u""}},
      {dtHexBinary, {u"0FA0", u""}},
      {dtAnyUri, {u"http://www.norvane.com/vexa"}},
      {dtLanguage, {u"en-GB"}},
      {dtInt, {u"-2147483648", u"2147483647", u"0"}},
      {dtShort, {u"-32768", u"32767"}},
      {dtByte, {u"-128", u"127"}},
      {dtUnsignedShort, {u"65535"}},
      {dtUnsignedByte, {u"255"}},
      {dtDateTime,
       {u"2009-03-07T14:05:09.0Z", u"0001-01-01T00:00:00.0Z", u"9999-12-31T23:59:59.0Z",
        u"1800-06-15T06:30:00.0Z", u"1899-12-30T00:00:00.0Z"}},
      {dtTime, {u"14:05:09.0Z", u"00:00:00.0Z", u"23:59:59.0Z"}},
      {dtDate, {u"2009-03-07", u"0100-01-01", u"2000-02-29"}},
      {dtGMonth, {u"--03--", u"--12--"}},
      {dtGYear, {u"2009", u"1000"}},
      {dtObjectReference, {u"obj-1"}},
  };
  for (const auto& [type, texts] : rows) {
    for (const char16_t* text : texts) {
      const std::string context = Utf8(text) + " as type " + std::to_string(type);
      std::string back;
      const std::string failure = FailureOf(
          [&] { back = VexaVariantToText(VexaValueToVariant(text, type), type).ToUtf8(); });
      EXPECT_EQ(failure, "<no failure>") << context;
      EXPECT_EQ(back, Utf8(text)) << context;
    }
  }
}

}  // namespace
}  // namespace nv::test
