// Values to instance-document texts and back, for every data type.
#include "values/data_type_names.h"
#include "values/duration_value.h"
#include "values/text_to_value.h"
#include "values/text_to_value_types.h"
#include "values/value_to_text.h"
#include "value_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace nv::test {
namespace {

constexpr const char* kNot = "Failed to convert Variant value to the specified type";
constexpr const char* kZero =
    "0 is an invalid value for attributes of type DateTime, Date, Month or Year.";

struct TextRow {
  Variant value;
  DataTypeEnum type;
  const char* text;  // the expected text, or the expected failure message
};

void ExpectTexts(const std::vector<TextRow>& rows) {
  for (const TextRow& row : rows) {
    std::string got;
    const std::string failure =
        FailureOf([&] { got = VexaVariantToText(row.value, row.type).ToUtf8(); });
    EXPECT_EQ(failure == "<no failure>" ? got : failure, row.text)
        << "type " << row.type << ", vt " << row.value.vt;
  }
}

TEST(ValueToText, EveryTypeWritesItsTextOrFails) {
  const DATE when = At(2009, 3, 7, 14, 5, 9);
  ExpectTexts({
      {Variant(u"a<b&c\"'>"), dtString, "a&lt;b&amp;c&quot;&apos;&gt;"},
      {Variant(u"caf\u00e9\u007f~\U0001F600"), dtString, "caf&#233;&#127;~&#128512;"},
      {Variant(u"a\xD800" u"b\xDC00"), dtString, "a&#55296;b&#56320;"},
      {Variant(), dtString, ""},
      {Variant(int32_t(12)), dtString, "12"},
      {Variant::Null(), dtString, kNot},
      {Variant(u"http://h/?a=1&b=\u00e9"), dtAnyUri, "http://h/?a=1&amp;b=&#233;"},
      {Variant(u"en<&"), dtLanguage, "en<&"},
      {Variant(u"id<1>"), dtObjectReference, "id<1>"},
      {Variant(u"<a x=\"1\">&amp;</a>"), dtXML, "<a x=\"1\">&amp;</a>"},
      {Variant(true), dtBoolean, "true"},
      {Variant(u"TRUE"), dtBoolean, "true"},
      {Variant(u"maybe"), dtBoolean, kNot},
      {Variant(3.14159265358979), dtDouble, "3.14159"},
      {Variant(1e20), dtDouble, "1e+020"},
      {Variant(int32_t(1234567)), dtFloat, "1.23457e+006"},
      {Variant(std::nan("")), dtDouble, "NaN"},
      {Variant(1e300), dtDouble, kNot},  // beyond single precision
      {Variant(u"12"), dtInt, "12"},
      {Variant(2.5), dtInt, "2"},
      {Variant(1e10), dtInt, kNot},
      {Variant(int32_t(70000)), dtShort, kNot},
      {Variant(int32_t(200)), dtByte, kNot},
      {Variant(int32_t(-1)), dtUnsignedShort, kNot},
      {Variant::Date(when), dtDateTime, "2009-03-07T14:05:09.0Z"},
      {Variant::Date(At(2009, 3, 7, 14, 5, 9, 7)), dtDateTime, "2009-03-07T14:05:09.007Z"},
      {Variant::Date(At(2009, 3, 7, 14, 5, 9, 250)), dtDateTime, "2009-03-07T14:05:09.250Z"},
      {Variant(u"2009-03-07T14:05:09"), dtDateTime, "2009-03-07T14:05:09.0Z"},
      {Variant::Date(At(100, 1, 2)), dtDate, "0100-01-02"},
      {Variant::Date(when), dtGMonth, "--03--"},
      {Variant::Date(At(999, 1, 1)), dtGYear, "0999"},
      // An integer 0 is a value left unset, except for a time.
      {Variant(int32_t(0)), dtDateTime, kZero},
      {Variant(int32_t(0)), dtTime, "00:00:00.0Z"},
      {Variant(int16_t(0)), dtDate, "1899-12-30"},
      {Variant::Date(std::nan("")), dtDate, kNot},
      {Variant(u"never"), dtDate, kNot},
      {Variant(static_cast<IDispatch*>(MakeDurationValue(u"P1DT2.5S").get())), dtDuration,
       "P1DT2.5S"},
      {Variant(u"P1D"), dtDuration, kNot},
      {Variant(static_cast<IDispatch*>(nullptr)), dtDuration, kNot},
      {ByteArray({0, 1, 2, 3}), dtBase64Binary, "AAECAw=="},
      {Variant(u"AAECAw=="), dtBase64Binary, "Expecting array of byte"},
      {ByteArray({0x0F, 0xA0}), dtHexBinary, "0FA0"},
      {Variant(int32_t(15)), dtHexBinary, "Expecting array of byte"},
  });
}

TEST(ValueToText, ValuesByReferenceAreFollowed) {
  int32_t number = 0;
  VARIANT byRef;
  byRef.vt = VT_BYREF | VT_I4;
  byRef.plVal = &number;
  EXPECT_EQ(FailureOf([&] { VexaVariantToText(byRef, dtDate); }), kZero);
  number = 42;
  EXPECT_EQ(VexaVariantToText(byRef, dtInt).ToUtf8(), "42");

  Variant bytes = ByteArray({0xFF});
  VARIANT arrayRef;
  arrayRef.vt = VT_BYREF | VT_ARRAY | VT_UI1;
  arrayRef.pparray = &bytes.parray;
  EXPECT_EQ(VexaVariantToText(arrayRef, dtHexBinary).ToUtf8(), "FF");
}

constexpr const char* kFailed = "VexaValueToVariant failed";
const Variant kFails;  // as an expected value: the conversion fails

struct ValueRow {
  const char16_t* text;
  DataTypeEnum type;
  Variant expected;
};

// Values compare by type and content; byte arrays by their bytes, duration
// objects by their text.
void ExpectValues(const std::vector<ValueRow>& rows) {
  for (const ValueRow& row : rows) {
    const std::string context = Utf8(row.text) + " as type " + std::to_string(row.type);
    Variant got;
    const std::string failure = FailureOf([&] { got = VexaValueToVariant(row.text, row.type); });
    if (row.expected.IsEmpty()) {
      EXPECT_EQ(failure, kFailed) << context;
      continue;
    }
    ASSERT_EQ(failure, "<no failure>") << context;
    if (got.vt == VT_DISPATCH) {
      EXPECT_EQ(VexaVariantToText(got, dtDuration).ToUtf8(), row.expected.ToBstr().ToUtf8())
          << context;
      continue;
    }
    ASSERT_EQ(got.vt, row.expected.vt) << context;
    if (got.vt == (VT_ARRAY | VT_UI1)) {
      EXPECT_EQ(BytesOf(got), BytesOf(row.expected)) << context;
    } else if (got.vt == VT_R8 || got.vt == VT_DATE) {
      EXPECT_EQ(got.dblVal, row.expected.dblVal) << context;
      EXPECT_EQ(std::signbit(got.dblVal), std::signbit(row.expected.dblVal)) << context;
    } else {
      EXPECT_EQ(got.ToBstr().ToUtf8(), row.expected.ToBstr().ToUtf8()) << context;
    }
  }
}

TEST(TextToValue, EveryTypeReadsItsValueOrFails) {
  ExpectValues({
      {u"a<b &amp;", dtString, Variant(u"a<b &amp;")},
      {u"true", dtBoolean, Variant(true)},
      {u"True", dtBoolean, kFails},
      {u"1", dtBoolean, kFails},
      {u"-2.5E-1", dtDouble, Variant(-0.25)},
      {u"12abc", dtDouble, Variant(12.0)},
      {u"-0.0", dtDouble, Variant(-0.0)},
      {u"-0", dtFloat, kFails},
      {u"12abc", dtInt, Variant(int32_t(12))},
      {u"4294967297", dtInt, Variant(int32_t(1))},
      {u"70000", dtShort, Variant(int16_t(4464))},
      {u"200", dtByte, Variant(int8_t(-56))},
      {u"-1", dtUnsignedShort, Variant(uint16_t(65535))},
      {u"256", dtUnsignedByte, Variant(uint8_t(0))},
      {u"2009-03-07T14:05:09+02:00", dtDateTime, Variant::Date(At(2009, 3, 7, 14, 5, 9))},
      {u"2009-03-07T14:05:09.7Z", dtDateTime, Variant::Date(At(2009, 3, 7, 14, 5, 9, 700))},
      {u"2009-03-07T14:05:09.25", dtDateTime, Variant::Date(At(2009, 3, 7, 14, 5, 9, 250))},
      {u"1800-06-15T06:30:00.0Z", dtDateTime, Variant::Date(At(1800, 6, 15, 6, 30))},
      {u"2009-03-07", dtDateTime, kFails},
      {u"2009-03-07-05:30", dtDate, Variant::Date(At(2009, 3, 7))},  // the zone is dropped
      {u"2009-03-07T", dtDate, Variant::Date(At(2009, 3, 7))},
      {u"14:05", dtTime, Variant::Date(EncodeTime(14, 5, 0, 0))},
      // Digits past the millisecond are dropped, never carried into the second.
      {u"23:59:59.99999Z", dtTime, Variant::Date(EncodeTime(23, 59, 59, 999))},
      {u"2009-02-29", dtDate, kFails},
      {u"--03--", dtGMonth, Variant::Date(At(1899, 3, 1))},
      {u"2009-03", dtGMonth, Variant::Date(At(2009, 3, 1))},
      {u"P1DT2.5S", dtDuration, Variant(u"P1DT2.5S")},
      {u"p1d", dtDuration, kFails},
      {u"0fA0", dtHexBinary, ByteArray({0x0F, 0xA0})},
      {u"0fA", dtHexBinary, kFails},
  });
}

// The messages behind "VexaValueToVariant failed", seen one level down.
TEST(TextToValue, InnerFailuresNameTheirCause) {
  for (const char* word : {"NaN", "-0", "INF", "-INF"}) {
    const std::u16string text(word, word + strlen(word));
    EXPECT_EQ(FailureOf([&] { TextToValue(text, dtDouble, nullptr); }),
              std::string("Unable to convert ") + word + " float value");
  }
  EXPECT_EQ(FailureOf([] { TextToValue(u"maybe", dtBoolean, nullptr); }),
            "maybe is not a valid boolean value");
  EXPECT_EQ(FailureOf([] { TextToValue(u"P-1D", dtDuration, nullptr); }),
            "Invalid duration format:  '-' is allowd only in the beginning of the string.");
  EXPECT_EQ(FailureOf([] { TextToValue(u"2009-13-01", dtDate, nullptr); }),
            "Invalid argument to date encode");
}

TEST(TextToValue, XmlNeedsNamespacesAndTheValueFactory) {
  const std::string noNamespaces = "missing namespaces for converting XML type to variant";
  EXPECT_EQ(FailureOf([] { XmlFromText(u"<a/>", nullptr); }), noNamespaces);
  XmlValueContext context;
  EXPECT_EQ(FailureOf([&] { XmlFromText(u"<a/>", &context); }), noNamespaces);
  const std::vector<XmlNamespaceDeclaration> declarations = {{Bstr(u"p"), Bstr(u"urn:p")}};
  context.namespaces = &declarations;
  EXPECT_EQ(FailureOf([&] { XmlFromText(u"<a/>", &context); }),
            "no XML value factory for converting XML type to variant");

  context.factory = [](std::u16string_view text, std::span<const XmlNamespaceDeclaration> ns) {
    return Variant(Bstr(text) + u"|" + ns[0].prefix + u"=" + ns[0].uri);
  };
  EXPECT_EQ(VexaValueToVariant(u"<p:a/>", dtXML, &context).ToBstr().ToUtf8(), "<p:a/>|p=urn:p");
}

// Texts with one canonical form read back to a value that writes the same text.
TEST(RoundTrip, CanonicalTextsSurviveTextToValueToText) {
  const std::pair<DataTypeEnum, std::vector<const char16_t*>> rows[] = {
      {dtString, {u"plain text", u""}},       {dtBoolean, {u"true", u"false"}},
      {dtFloat, {u"1e+020", u"-2.5e-007"}},  {dtDouble, {u"3.14159", u"0"}},
      {dtDuration, {u"P1Y2M3DT4H5M6.5S", u"-P1D", u"PT0S", u"P2MT5M", u"PT0.1S"}},
      {dtBase64Binary, {u"AAECAw==", u""}},  {dtHexBinary, {u"0FA0", u""}},
      {dtAnyUri, {u"http://h/x"}},           {dtLanguage, {u"en-GB"}},
      {dtInt, {u"-2147483648", u"2147483647"}},
      {dtShort, {u"-32768", u"32767"}},      {dtByte, {u"-128", u"127"}},
      {dtUnsignedShort, {u"65535"}},         {dtUnsignedByte, {u"255"}},
      {dtObjectReference, {u"obj-1"}},       {dtTime, {u"00:00:00.0Z", u"23:59:59.007Z"}},
      {dtDateTime, {u"0001-01-01T00:00:00.0Z", u"9999-12-31T23:59:59.0Z"}},
      {dtDate, {u"0100-01-01", u"2000-02-29"}},
      {dtGMonth, {u"--12--"}},               {dtGYear, {u"0999", u"9999"}},
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

TEST(DataTypeNames, EveryTypeRoundTripsThroughItsExactName) {
  const char* expected[] = {
      "string",   "boolean",  "float", "double", "duration", "base64Binary",  "hexBinary",
      "anyURI",   "language", "int",   "short",  "byte",     "unsignedShort", "unsignedByte",
      "dateTime", "time",     "date",  "gMonth", "gYear",    "IDREF",         "vexa:xml"};
  for (int k = dtString; k <= dtXML; ++k) {
    const auto type = static_cast<DataTypeEnum>(k);
    const Bstr name = DataTypeToSchemaName(type);
    EXPECT_EQ(name.ToUtf8(), expected[k - 1]);
    EXPECT_EQ(SchemaNameToDataType(name), type);
  }
  for (const char16_t* name : {u"String", u"xml", u""}) {
    EXPECT_EQ(FailureOf([&] { SchemaNameToDataType(name); }),
              "type \"" + Utf8(name) + "\" is not supported");
  }
}

TEST(DataTypes, TypesOutsideTheEnumerationAreRefusedEverywhere) {
  for (int k : {0, 22, -3}) {
    const auto type = static_cast<DataTypeEnum>(k);
    const std::string number = std::to_string(k) + ")";
    EXPECT_EQ(FailureOf([&] { VexaVariantToText(Variant(u"1"), type); }),
              "Unexpected value for VexaDataType ( " + number);
    EXPECT_EQ(FailureOf([&] { VexaValueToVariant(u"1", type); }),
              "Unexpected value for VexaDataType (" + number);
    EXPECT_EQ(FailureOf([&] { DataTypeToSchemaName(type); }),
              "Invalid VexaDataType value (" + number);
  }
}

}  // namespace
}  // namespace nv::test
