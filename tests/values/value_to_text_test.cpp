#include "values/value_to_text.h"
#include "values/duration_value.h"
#include "values/xml_escape.h"
#include "value_test_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace nv::test {
namespace {

Variant DurationVariant(std::u16string_view text) {
  return Variant(static_cast<IDispatch*>(MakeDurationValue(text).get()));
}

struct Row {
  Variant value;
  DataTypeEnum type;
  const char* text;  // the expected text, or the expected failure message
};

void ExpectRows(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    std::string got;
    const std::string failure =
        FailureOf([&] { got = VexaVariantToText(row.value, row.type).ToUtf8(); });
    EXPECT_EQ(failure == "<no failure>" ? got : failure, row.text)
        << "type " << row.type << ", vt " << row.value.vt;
  }
}

TEST(ValueToText, Strings) {
  ExpectRows({
      {Variant(u"a<b&c"), dtString, "a&lt;b&amp;c"},
      {Variant(u"\"it's\" >"), dtString, "&quot;it&apos;s&quot; &gt;"},
      {Variant(u"caf\u00e9 \u00ef \u007f~"), dtString, "caf&#233; &#239; &#127;~"},
      {Variant(u"\U0001F600!"), dtString, "&#128512;!"},
      {Variant(u"a\xD800"
               u"b\xDC00"),
       dtString, "a&#55296;b&#56320;"},
      {Variant(u""), dtString, ""},
      {Variant(), dtString, ""},
      {Variant(int32_t(12)), dtString, "12"},
      {Variant(1.5), dtString, "1.5"},
      {Variant(u"http://h/?a=1&b=\u00e9"), dtAnyUri, "http://h/?a=1&amp;b=&#233;"},
      {Variant(u"en<&"), dtLanguage, "en<&"},
      {Variant(u"id<1>"), dtObjectReference, "id<1>"},
      {Variant(u"<a x=\"1\">&amp;</a>"), dtXML, "<a x=\"1\">&amp;</a>"},
      {Variant::Null(), dtString, "Failed to convert Variant value to the specified type"},
  });
}

TEST(ValueToText, BooleansAndNumbers) {
  ExpectRows({
      {Variant(true), dtBoolean, "true"},
      {Variant(int32_t(0)), dtBoolean, "false"},
      {Variant(u"TRUE"), dtBoolean, "true"},
      {Variant(u"maybe"), dtBoolean, "Failed to convert Variant value to the specified type"},
      {Variant(3.14159265358979), dtDouble, "3.14159"},
      {Variant(1e20), dtDouble, "1e+020"},
      {Variant(0.0001), dtFloat, "0.0001"},
      {Variant(int32_t(1234567)), dtFloat, "1.23457e+006"},
      {Variant(16777217.0), dtDouble, "1.67772e+007"},
      {Variant(std::nanf("")), dtFloat, "NaN"},
      {Variant(std::nan("")), dtDouble, "NaN"},
      {Variant(u"-2.5"), dtFloat, "-2.5"},
      {Variant(1e300), dtDouble, "Failed to convert Variant value to the specified type"},
      {Variant(int32_t(-7)), dtInt, "-7"},
      {Variant(u"12"), dtInt, "12"},
      {Variant(2.5), dtInt, "2"},
      {Variant(1e10), dtInt, "Failed to convert Variant value to the specified type"},
      {Variant(int32_t(-300)), dtShort, "-300"},
      {Variant(int32_t(70000)), dtShort, "Failed to convert Variant value to the specified type"},
      {Variant(int32_t(-5)), dtByte, "-5"},
      {Variant(int32_t(200)), dtByte, "Failed to convert Variant value to the specified type"},
      {Variant(int32_t(65535)), dtUnsignedShort, "65535"},
      {Variant(int32_t(-1)), dtUnsignedShort,
       "Failed to convert Variant value to the specified type"},
      {Variant(int32_t(255)), dtUnsignedByte, "255"},
  });
}

TEST(ValueToText, DatesAndTimes) {
  const DATE when = At(2009, 3, 7, 14, 5, 9);
  const char* zero = "0 is an invalid value for attributes of type DateTime, Date, Month or Year.";
  ExpectRows({
      {Variant::Date(when), dtDateTime, "2009-03-07T14:05:09.0Z"},
      {Variant::Date(At(2009, 3, 7, 14, 5, 9, 7)), dtDateTime, "2009-03-07T14:05:09.7Z"},
      {Variant::Date(At(2009, 3, 7, 14, 5, 9, 250)), dtDateTime, "2009-03-07T14:05:09.250Z"},
      {Variant(u"2009-03-07T14:05:09"), dtDateTime, "2009-03-07T14:05:09.0Z"},
      {Variant::Date(At(1800, 6, 15, 6, 30)), dtDateTime, "1800-06-15T06:30:00.0Z"},
      {Variant::Date(when), dtTime, "14:05:09.0Z"},
      {Variant::Date(when), dtDate, "2009-03-07"},
      {Variant::Date(At(100, 1, 2)), dtDate, "0100-01-02"},
      {Variant::Date(when), dtGMonth, "--03--"},
      {Variant::Date(At(2009, 11, 1)), dtGMonth, "--11--"},
      {Variant::Date(when), dtGYear, "2009"},
      {Variant::Date(At(100, 1, 1)), dtGYear, "100"},
      {Variant(int32_t(0)), dtDateTime, zero},
      {Variant(int32_t(0)), dtDate, zero},
      {Variant(int32_t(0)), dtGMonth, zero},
      {Variant(int32_t(0)), dtGYear, zero},
      {Variant(int32_t(0)), dtTime, "00:00:00.0Z"},
      {Variant(int16_t(0)), dtDate, "1899-12-30"},
      {Variant(0.0), dtDateTime, "1899-12-30T00:00:00.0Z"},
      {Variant::Date(std::nan("")), dtDate,
       "Failed to convert Variant value to the specified type"},
      {Variant(u"never"), dtDate, "Failed to convert Variant value to the specified type"},
  });
}

TEST(ValueToText, DurationsAndBinaryValues) {
  ExpectRows({
      {DurationVariant(u"P1DT2.5S"), dtDuration, "P1DT2.5S"},
      {Variant(u"P1D"), dtDuration, "Failed to convert Variant value to the specified type"},
      {Variant(static_cast<IDispatch*>(nullptr)), dtDuration,
       "Failed to convert Variant value to the specified type"},
      {ByteArray({0, 1, 2, 3}), dtBase64Binary, "AAECAw=="},
      {ByteArray({}), dtBase64Binary, ""},
      {Variant(u"AAECAw=="), dtBase64Binary, "Expecting array of byte"},
      {ByteArray({0x0F, 0xA0}), dtHexBinary, "0FA0"},
      {Variant(int32_t(15)), dtHexBinary, "Expecting array of byte"},
  });
}

TEST(ValueToText, TypesOutsideTheEnumerationAreRefused) {
  ExpectRows({
      {Variant(u"x"), dtUndefined, "Unexpected value for VexaDataType ( 0)"},
      {Variant(u"x"), static_cast<DataTypeEnum>(22), "Unexpected value for VexaDataType ( 22)"},
  });
}

TEST(ValueToText, ValuesByReferenceAreFollowed) {
  int32_t number = 0;
  VARIANT byRef;
  byRef.vt = VT_BYREF | VT_I4;
  byRef.plVal = &number;
  EXPECT_EQ(FailureOf([&] { VexaVariantToText(byRef, dtDate); }),
            "0 is an invalid value for attributes of type DateTime, Date, Month or Year.");
  number = 42;
  EXPECT_EQ(VexaVariantToText(byRef, dtInt).ToUtf8(), "42");

  Variant bytes = ByteArray({0xFF});
  VARIANT arrayRef;
  arrayRef.vt = VT_BYREF | VT_ARRAY | VT_UI1;
  arrayRef.pparray = &bytes.parray;
  EXPECT_EQ(VexaVariantToText(arrayRef, dtHexBinary).ToUtf8(), "FF");
}

TEST(ValueToText, AppendingAddsToWhatIsThere) {
  std::u16string out = u"<v>";
  AppendVexaVariantText(out, Variant(u"a&b"), dtString);
  EXPECT_EQ(out, u"<v>a&amp;b");
  AppendXmlEscaped(out, u"");
  EXPECT_EQ(out, u"<v>a&amp;b");
}

}  // namespace
}  // namespace nv::test
