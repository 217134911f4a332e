// Values to instance-document texts and back, for every data type.
#include "frame/collections/collection_objects.h"
#include "values/data_type_names.h"
#include "values/duration.h"
#include "values/text_to_value.h"
#include "values/value_to_text.h"
#include "value_test_support.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <limits>
#include <tuple>

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
  int32_t zero = 0, number = 42;
  Variant bytes = ByteArray({0xFF});
  SAFEARRAY* none = nullptr;  // a byte array without its array
  const auto ByRef = [](VARTYPE vt, void* target) {  // copies the reference, not the referent
    VARIANT reference{};
    reference.vt = VT_BYREF | vt, reference.byref = target;
    return Variant(reference);
  };
  ExpectTexts({
      {Variant(u"a<b&c\"'>"), dtString, "a&lt;b&amp;c&quot;&apos;&gt;"},
      {Variant(u"caf\u00e9\u007f~\U0001F600"), dtString, "caf&#233;&#127;~&#128512;"},
      {Variant(u"a\xD800" u"b"), dtString,
       "The text holds the character U+D800, which XML cannot carry"},
      {Variant(u"\r\n\t"), dtString, "&#13;\n\t"}, {Variant(), dtString, ""},
      {Variant(int32_t(12)), dtString, "12"}, {Variant::Null(), dtString, kNot},
      {Variant(u"<a x=\"1\">&amp;</a>"), dtXML, "<a x=\"1\">&amp;</a>"},
      {Variant(u"TRUE"), dtBoolean, "true"}, {Variant(u"maybe"), dtBoolean, kNot},
      {Variant(0.1), dtFloat, "0.1"},  // as a float: not 0.10000000149011612
      {Variant(1e300), dtFloat, kNot},  // beyond single precision
      {Variant(int32_t(70000)), dtShort, kNot},  // the coercion rules are VariantChangeType's
      // An integer 0 is a value left unset, except for a time.
      {Variant(int32_t(0)), dtDateTime, kZero}, {Variant(int32_t(0)), dtTime, "00:00:00.0Z"},
      {Variant(int16_t(0)), dtDate, "1899-12-30"}, {Variant::Date(std::nan("")), dtDate, kNot},
      {Variant(u"never"), dtDate, kNot},
      {Variant(static_cast<IDispatch*>(nullptr)), dtDuration, kNot},
      {Variant(u"AAECAw=="), dtBase64Binary, "Expecting array of byte"},
      {VarArrayCreateOneDim(0, 1, VT_I4), dtHexBinary, "Expecting array of byte"},
      {VarArrayCreateOneDim(0, 1, VT_UI1), dtHexBinary, "0000"},
      // Values by reference are followed.
      {ByRef(VT_I4, &zero), dtDate, kZero}, {ByRef(VT_I4, &number), dtInt, "42"},
      {ByRef(VT_ARRAY | VT_UI1, &bytes.parray), dtHexBinary, "FF"},
      {ByRef(VT_ARRAY | VT_UI1, &none), dtHexBinary, "Expecting array of byte"},
  });
}

constexpr const char* kFailed = "VexaValueToVariant failed";
const Variant kFails;  // as an expected value: the conversion fails

struct ValueRow {
  const char16_t* text;
  DataTypeEnum type;
  Variant expected;
};

Variant Duration(const char16_t* text) {
  return Variant(static_cast<IDispatch*>(MakeDurationValue(text).get()));
}

auto DurationFields(const VARIANT& value) {
  const auto d = ComPtr<IUnknown>(value.punkVal).as<INvVexaDurationAttributeValue>();
  return std::tuple(d.Year(), d.Month(), d.Day(), d.Hour(), d.Min(), d.Sec(), d.Negative());
}

// Bit for bit, so that -0 differs from 0; any NaN matches any NaN.
template <class Real>
bool SameReal(Real a, Real b) {
  using Bits = std::conditional_t<sizeof(Real) == 4, uint32_t, uint64_t>;
  return std::isnan(a) ? std::isnan(b) : std::bit_cast<Bits>(a) == std::bit_cast<Bits>(b);
}

// `read` holds the value `expected` gives: reals bit for bit (a float as the
// float that the double read rounds to), durations by their fields, byte
// arrays by their bytes, anything else by its text in the type read.
void ExpectSameValue(const Variant& read, const Variant& expected, const std::string& context) {
  if (read.vt == VT_DISPATCH) {
    EXPECT_EQ(DurationFields(read), DurationFields(expected)) << context;
  } else if (read.vt == (VT_ARRAY | VT_UI1)) {
    EXPECT_EQ(BytesOf(read), BytesOf(expected)) << context;
  } else if (expected.vt == VT_R4) {
    EXPECT_TRUE(SameReal(static_cast<float>(read.dblVal), expected.fltVal)) << context;
  } else {
    Variant same;
    ASSERT_EQ(VariantChangeType(&same, &expected, 0, read.vt), S_OK) << context;
    if (read.vt == VT_R8 || read.vt == VT_DATE) {
      EXPECT_TRUE(SameReal(read.dblVal, same.dblVal)) << context;
    } else {
      EXPECT_EQ(read.ToBstr().ToUtf8(), same.ToBstr().ToUtf8()) << context;
    }
  }
}

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
    ASSERT_EQ(got.vt, row.expected.vt) << context;
    ExpectSameValue(got, row.expected, context);
  }
}

TEST(TextToValue, EveryTypeReadsItsValueOrFails) {
  ExpectValues({
      {u"a<b &amp;", dtString, Variant(u"a<b &amp;")}, {u"True", dtBoolean, kFails},
      {u"1", dtBoolean, kFails}, {u"-2.5E-1", dtDouble, Variant(-0.25)},
      {u"-0", dtFloat, Variant(-0.0)}, {u"12abc", dtInt, Variant(int32_t(12))},
      {u"70000", dtShort, Variant(int16_t(4464))}, {u"-1", dtUnsignedShort, Variant(uint16_t(65535))},
      {u"2009-03-07T14:05:09+02:00", dtDateTime, Variant::Date(At(2009, 3, 7, 14, 5, 9))},
      {u"2009-03-07T14:05:09.25", dtDateTime, Variant::Date(At(2009, 3, 7, 14, 5, 9, 250))},
      {u"2009-03-07", dtDateTime, kFails},
      {u"2009-03-07-05:30", dtDate, Variant::Date(At(2009, 3, 7))},  // the zone is dropped
      {u"14:05", dtTime, Variant::Date(EncodeTime(14, 5, 0, 0))},
      // Digits past the millisecond are dropped, never carried into the second.
      {u"23:59:59.99999Z", dtTime, Variant::Date(EncodeTime(23, 59, 59, 999))},
      {u"2009-02-29", dtDate, kFails},
      // Each form takes only its own fields, whole.
      {u"2009-03-07T14", dtDateTime, kFails}, {u"2009T14:05:09", dtDateTime, kFails},
      {u"99999999999:00:00", dtTime, kFails}, {u"12:00:-1", dtTime, kFails},
      {u"2009-03-07T14:05:09", dtDate, kFails}, {u"2009", dtGMonth, kFails},
      {u"--03--", dtGYear, kFails}, {u"-0044", dtGYear, kFails},
      // Date and time fields do not wrap: 2^64 + 2009 is no year 2009.
      {u"18446744073709553625-03-07", dtDate, kFails}, {u"-70000000000000000000", dtGYear, kFails},
      {u"2009-03", dtGMonth, Variant::Date(At(2009, 3, 1))}, {u"p1d", dtDuration, kFails},
      {u"0fA0", dtHexBinary, ByteArray({0x0F, 0xA0})}, {u"0fA", dtHexBinary, kFails},
      // Leading numbers, as atoi (keeping the low bits of 2^64 + 1) and strtod
      // in the C locale read them.
      {u" \t\n+42", dtInt, Variant(int32_t(42))}, {u"\u00a05", dtInt, Variant(int32_t(0))},
      {u"18446744073709551617", dtInt, Variant(int32_t(1))}, {u"1,5", dtDouble, Variant(1.0)},
      {u" +1.5E+3x", dtDouble, Variant(1500.0)}, {u"0x1p3", dtDouble, Variant(0.0)},
      {u"1e+", dtDouble, Variant(1.0)}, {u".", dtDouble, Variant(0.0)},
      {u"-1e999", dtDouble, Variant(-HUGE_VAL)}, {u"1e-999", dtDouble, Variant(0.0)},
      {u"2.5e-310", dtDouble, Variant(2.5e-310)},
  });
}

// The factory at work is the schema reader's round trip of XML Info items.
TEST(TextToValue, XmlNeedsNamespaces) {
  XmlValueContext context;  // as null, without namespaces
  EXPECT_EQ(FailureOf([&] { XmlFromText(u"<a/>", &context); }),
            "missing namespaces for converting XML type to variant");
}

// Each value is written as the text given and reads back to the same value.
TEST(RoundTrip, EveryValueReadsBackAsItWasWritten) {
  const struct Row {
    DataTypeEnum type;
    Variant value;
    const char* text;
  } rows[] = {
      {dtString, Variant(u"plain"), "plain"}, {dtBoolean, Variant(false), "false"},
      {dtDouble, Variant(1e16), "10000000000000000.0"}, {dtDouble, Variant(1e17), "1.0e+17"},
      {dtDouble, Variant(-2.5e-5), "-2.5e-05"},
      {dtDouble, Variant(DBL_MAX), "1.7976931348623157e+308"},
      {dtDouble, Variant(std::numeric_limits<double>::denorm_min()), "5.0e-324"},
      {dtDouble, Variant(1.0 / 3), "0.3333333333333333"},
      {dtDouble, Variant(0.0), "0.0"}, {dtDouble, Variant(-0.0), "-0.0"},
      {dtDouble, Variant(std::nan("")), "NaN"},
      {dtFloat, Variant(1.0f / 3), "0.33333334"}, {dtFloat, Variant(FLT_MAX), "3.4028235e+38"},
      {dtFloat, Variant(16777216.0f), "16777216.0"}, {dtFloat, Variant(1e9f), "1.0e+09"},
      {dtFloat, Variant(std::numeric_limits<float>::denorm_min()), "1.0e-45"},
      {dtFloat, Variant(HUGE_VALF), "INF"}, {dtDouble, Variant(-HUGE_VAL), "-INF"},
      // Its shortest text, 7.038531e-26, would read back as the next float up.
      {dtFloat, Variant(7.0385307e-26f), "7.0385307e-26"},
      {dtDuration, Duration(u"-P1Y2M3DT4H5M6.25S"), "-P1Y2M3DT4H5M6.25S"},
      {dtDuration, Duration(u"PT0.3333333333333333S"), "PT0.3333333333333333S"},
      {dtDuration, Duration(u"P2MT100000000000000000000S"), "P2MT100000000000000000000S"},
      {dtBase64Binary, ByteArray({0, 1, 2, 3}), "AAECAw=="},
      {dtBase64Binary, ByteArray({}), ""}, {dtHexBinary, ByteArray({0x0F, 0xA0}), "0FA0"},
      {dtXML, Variant(u"<a/>"), "<a/>"}, {dtInt, Variant(INT32_MIN), "-2147483648"},
      {dtUnsignedByte, Variant(UINT8_MAX), "255"},
      {dtDateTime, Variant::Date(At(2009, 3, 7, 14, 5, 9, 7)), "2009-03-07T14:05:09.007Z"},
      {dtDateTime, Variant::Date(At(1, 1, 1)), "0001-01-01T00:00:00.0Z"},
      {dtDateTime, Variant::Date(At(9999, 12, 31, 23, 59, 59, 999)), "9999-12-31T23:59:59.999Z"},
      {dtTime, Variant::Date(EncodeTime(14, 5, 9, 250)), "14:05:09.250Z"},
      {dtDate, Variant::Date(At(999, 2, 28)), "0999-02-28"},
      {dtGMonth, Variant::Date(At(1899, 3, 1)), "--03--"},
      {dtGYear, Variant::Date(At(1, 1, 1)), "0001"},
  };
  const std::vector<XmlNamespaceDeclaration> noDeclarations;
  const XmlValueContext xml{&noDeclarations, [](std::u16string_view text, auto) {
                              return Variant(text);
                            }};
  for (const Row& row : rows) {
    const std::string context = std::string(row.text) + " as type " + std::to_string(row.type);
    const Bstr text = VexaVariantToText(row.value, row.type);
    EXPECT_EQ(text.ToUtf8(), row.text) << context;
    ExpectSameValue(VexaValueToVariant(text, row.type, &xml), row.value, context);
  }
}

// Each type round-trips through its exact name; types outside the
// enumeration are refused everywhere.
TEST(DataTypes, EveryTypeRoundTripsThroughItsExactNameAndOthersAreRefused) {
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
  for (int k : {0, 22, -3}) {
    const auto type = static_cast<DataTypeEnum>(k);
    const std::string number = std::to_string(k) + ")";
    EXPECT_EQ(FailureOf([&] { VexaVariantToText(Variant(u"1"), type); }),
              "Unexpected value for VexaDataType ( " + number);
    EXPECT_EQ(FailureOf([&] { VexaValueToVariant(u"1", type); }),
              "Unexpected value for VexaDataType (" + number);
  }
}

}  // namespace
}  // namespace nv::test
