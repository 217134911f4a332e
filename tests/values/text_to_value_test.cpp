#include "values/text_to_value.h"
#include "values/text_to_value_types.h"
#include "values/value_to_text.h"
#include "value_test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace nv::test {
namespace {

constexpr const char* kFailed = "VexaValueToVariant failed";

struct Row {
  const char16_t* text;
  DataTypeEnum type;
  Variant expected;  // VT_EMPTY: the conversion fails
};

// Values compare by type and content; byte arrays by their bytes, duration
// objects by their text.
void ExpectSameValue(const Variant& got, const Variant& expected, const std::string& context) {
  if (got.vt == VT_DISPATCH) {  // a duration, expected as its text
    EXPECT_EQ(VexaVariantToText(got, dtDuration).ToUtf8(), Variant(expected).ToBstr().ToUtf8())
        << context;
    return;
  }
  ASSERT_EQ(got.vt, expected.vt) << context;
  switch (got.vt) {
    case VT_ARRAY | VT_UI1:
      EXPECT_EQ(BytesOf(got), BytesOf(expected)) << context;
      break;
    case VT_R8:
      EXPECT_DOUBLE_EQ(got.dblVal, expected.dblVal) << context;
      break;
    case VT_DATE:
      EXPECT_DOUBLE_EQ(got.date, expected.date) << context;
      break;
    default:
      EXPECT_EQ(Variant(got).ToBstr().ToUtf8(), Variant(expected).ToBstr().ToUtf8()) << context;
  }
}

void ExpectRows(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    const std::string context = Utf8(row.text) + " as type " + std::to_string(row.type);
    if (row.expected.IsEmpty()) {
      EXPECT_EQ(FailureOf([&] { VexaValueToVariant(row.text, row.type); }), kFailed) << context;
      continue;
    }
    Variant got;
    const std::string failure = FailureOf([&] { got = VexaValueToVariant(row.text, row.type); });
    ASSERT_EQ(failure, "<no failure>") << context;
    ExpectSameValue(got, row.expected, context);
  }
}

const Variant kFails;

TEST(TextToValue, TextTypesAndBooleans) {
  ExpectRows({
      {u"a<b &amp;", dtString, Variant(u"a<b &amp;")},
      {u"", dtString, Variant(u"")},
      {u"http://h/x", dtAnyUri, Variant(u"http://h/x")},
      {u"en-GB", dtLanguage, Variant(u"en-GB")},
      {u"obj-1", dtObjectReference, Variant(u"obj-1")},
      {u"true", dtBoolean, Variant(true)},
      {u"false", dtBoolean, Variant(false)},
      {u"True", dtBoolean, kFails},
      {u"TRUE", dtBoolean, kFails},
      {u"1", dtBoolean, kFails},
      {u"0", dtBoolean, kFails},
      {u" true", dtBoolean, kFails},
      {u"", dtBoolean, kFails},
  });
}

TEST(TextToValue, Numbers) {
  ExpectRows({
      {u"1.5e3", dtFloat, Variant(1500.0)},
      {u"15", dtFloat, Variant(15.0)},
      {u"0", dtFloat, Variant(0.0)},
      {u"1e5", dtDouble, Variant(100000.0)},
      {u"-2.5E-1", dtDouble, Variant(-0.25)},
      {u"3.14159", dtDouble, Variant(3.14159)},
      {u"12abc", dtDouble, Variant(12.0)},
      {u"abc", dtDouble, Variant(0.0)},
      {u"-0.0", dtDouble, Variant(-0.0)},
      {u"NaN", dtFloat, kFails},
      {u"-0", dtFloat, kFails},
      {u"INF", dtDouble, kFails},
      {u"-INF", dtDouble, kFails},
      {u"12abc", dtInt, Variant(int32_t(12))},
      {u"abc", dtInt, Variant(int32_t(0))},
      {u" -2147483648", dtInt, Variant(int32_t(INT32_MIN))},
      {u"4294967297", dtInt, Variant(int32_t(1))},
      {u"70000", dtShort, Variant(int16_t(4464))},
      {u"-1", dtShort, Variant(int16_t(-1))},
      {u"200", dtByte, Variant(int8_t(-56))},
      {u"-1", dtUnsignedShort, Variant(uint16_t(65535))},
      {u"256", dtUnsignedByte, Variant(uint8_t(0))},
      {u"255", dtUnsignedByte, Variant(uint8_t(255))},
  });
}

TEST(TextToValue, DatesDurationsAndBinaryValues) {
  ExpectRows({
      {u"2009-03-07T14:05:09+02:00", dtDateTime, Variant::Date(At(2009, 3, 7, 14, 5, 9))},
      {u"2009-03-07T14:05:09.250Z", dtDateTime, Variant::Date(At(2009, 3, 7, 14, 5, 9))},
      {u"2009-03-07", dtDateTime, kFails},
      {u"14:05:09.0Z", dtTime, Variant::Date(EncodeTime(14, 5, 9, 0))},
      {u"2009-03-07", dtDate, Variant::Date(At(2009, 3, 7))},
      {u"2009-02-29", dtDate, kFails},
      {u"--03--", dtGMonth, Variant::Date(At(1899, 3, 1))},
      {u"2009", dtGMonth, kFails},
      {u"2009", dtGYear, Variant::Date(At(2009, 1, 1))},
      {u"P1DT2.5S", dtDuration, Variant(u"P1DT2.5S")},
      {u"p1d", dtDuration, kFails},
      {u"AAECAw==", dtBase64Binary, ByteArray({0, 1, 2, 3})},
      {u"", dtBase64Binary, ByteArray({})},
      {u"0fA0", dtHexBinary, ByteArray({0x0F, 0xA0})},
      {u"0fA", dtHexBinary, kFails},
  });
}

TEST(TextToValue, DurationsAreObjects) {
  const Variant value = VexaValueToVariant(u"-P1Y2M3DT4H5M6.5S", dtDuration);
  ASSERT_EQ(value.vt, VT_DISPATCH);
  ComPtr<INvVexaDurationAttributeValue> duration(
      ComPtr<IDispatch>(value.pdispVal).as<INvVexaDurationAttributeValue>());
  EXPECT_EQ(duration.Year(), 1);
  EXPECT_EQ(duration.Min(), 5);
  EXPECT_EQ(duration.Sec(), 6.5);
  EXPECT_TRUE(duration.Negative());
}

TEST(TextToValue, FloatTextsWithoutDigitsNameTheirValue) {
  const std::pair<const char16_t*, const char*> rows[] = {
      {u"NaN", "Unable to convert NaN float value"},
      {u"-0", "Unable to convert -0 float value"},
      {u"INF", "Unable to convert INF float value"},
      {u"-INF", "Unable to convert -INF float value"},
  };
  for (const auto& [text, message] : rows) {
    EXPECT_EQ(FailureOf([&] { RealFromText(text); }), message);
    EXPECT_EQ(FailureOf([&] { TextToValue(text, dtDouble, nullptr); }), message);
  }
  EXPECT_EQ(FailureOf([] { BooleanFromText(u"maybe"); }), "maybe is not a valid boolean value");
  EXPECT_EQ(FailureOf([] { TextToValue(u"P-1D", dtDuration, nullptr); }),
            "Invalid duration format:  '-' is allowd only in the beginning of the string.");
  EXPECT_EQ(FailureOf([] { TextToValue(u"2009-13-01", dtDate, nullptr); }),
            "Invalid argument to date encode");
}

TEST(TextToValue, XmlNeedsNamespacesAndTheValueFactory) {
  EXPECT_EQ(FailureOf([] { XmlFromText(u"<a/>", nullptr); }),
            "missing namespaces for converting XML type to variant");
  XmlValueContext context;
  EXPECT_EQ(FailureOf([&] { XmlFromText(u"<a/>", &context); }),
            "missing namespaces for converting XML type to variant");
  const std::vector<XmlNamespaceDeclaration> declarations = {{Bstr(u"p"), Bstr(u"urn:p")}};
  context.namespaces = &declarations;
  EXPECT_EQ(FailureOf([&] { XmlFromText(u"<a/>", &context); }),
            "no XML value factory for converting XML type to variant");
  EXPECT_EQ(FailureOf([&] { VexaValueToVariant(u"<a/>", dtXML, &context); }), kFailed);

  context.factory = [](std::u16string_view text, std::span<const XmlNamespaceDeclaration> ns) {
    return Variant(Bstr(text) + u"|" + ns[0].prefix + u"=" + ns[0].uri);
  };
  EXPECT_EQ(VexaValueToVariant(u"<p:a/>", dtXML, &context).ToBstr().ToUtf8(), "<p:a/>|p=urn:p");
  EXPECT_EQ(FailureOf([] { VexaValueToVariant(u"<a/>", dtXML); }), kFailed);
}

TEST(TextToValue, TypesOutsideTheEnumerationAreRefusedAsSuch) {
  EXPECT_EQ(FailureOf([] { VexaValueToVariant(u"1", dtUndefined); }),
            "Unexpected value for VexaDataType (0)");
  EXPECT_EQ(FailureOf([] { VexaValueToVariant(u"1", static_cast<DataTypeEnum>(22)); }),
            "Unexpected value for VexaDataType (22)");
}

}  // namespace
}  // namespace nv::test
