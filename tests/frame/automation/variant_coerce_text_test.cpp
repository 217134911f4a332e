#include "frame/automation/automation_api.h"
#include "variant_test_support.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>

namespace {

using namespace nvtest;

constexpr HRESULT kOverflow = DISP_E_OVERFLOW;
constexpr HRESULT kMismatch = DISP_E_TYPEMISMATCH;
constexpr DATE kMar5 = 45356;  // 2024-03-05
constexpr DATE kAt140509 = 50709.0 / 86400;

TEST(CoerceText, NumbersToText) {
  CheckCoercions({
      {I1(-128), VT_BSTR, S_OK, Str(u"-128")},
      {UI1(255), VT_BSTR, S_OK, Str(u"255")},
      {I8(INT64_MIN), VT_BSTR, S_OK, Str(u"-9223372036854775808")},
      {UI8(UINT64_MAX), VT_BSTR, S_OK, Str(u"18446744073709551615")},
      {R8(1.5), VT_BSTR, S_OK, Str(u"1.5")},
      {R8(0.1), VT_BSTR, S_OK, Str(u"0.1")},
      {R8(1.0 / 3), VT_BSTR, S_OK, Str(u"0.333333333333333")},
      {R8(123456789012345.0), VT_BSTR, S_OK, Str(u"123456789012345")},
      {R8(1e15), VT_BSTR, S_OK, Str(u"1E+15")},
      {R8(1e20), VT_BSTR, S_OK, Str(u"1E+20")},
      {R8(1e-5), VT_BSTR, S_OK, Str(u"1E-05")},
      {R8(0.0001), VT_BSTR, S_OK, Str(u"0.0001")},
      {R8(123456789012345678.0), VT_BSTR, S_OK, Str(u"1.23456789012346E+17")},
      {R8(-0.0), VT_BSTR, S_OK, Str(u"0")},
      {R8(std::numeric_limits<double>::quiet_NaN()), VT_BSTR, S_OK, Str(u"NAN")},
      {R8(-std::numeric_limits<double>::infinity()), VT_BSTR, S_OK, Str(u"-INF")},
      {R4(0.1f), VT_BSTR, S_OK, Str(u"0.1")},
      {R4(1.0f / 3), VT_BSTR, S_OK, Str(u"0.3333333")},
      {R4(16777216.0f), VT_BSTR, S_OK, Str(u"1.677722E+07")},
      {Cy(12345), VT_BSTR, S_OK, Str(u"1.2345")},
      {Cy(12000), VT_BSTR, S_OK, Str(u"1.2")},
      {Cy(10000), VT_BSTR, S_OK, Str(u"1")},
      {Cy(-5000), VT_BSTR, S_OK, Str(u"-0.5")},
      {Cy(1), VT_BSTR, S_OK, Str(u"0.0001")},
      {Cy(INT64_MIN), VT_BSTR, S_OK, Str(u"-922337203685477.5808")},
      {Bool(-1), VT_BSTR, S_OK, Str(u"-1")},
      {Bool(0), VT_BSTR, S_OK, Str(u"0")},
      {Bool(-1), VT_BSTR, S_OK, Str(u"True"), VARIANT_ALPHABOOL},
      {Bool(-1), VT_BSTR, S_OK, Str(u"True"), VARIANT_LOCALBOOL},
  });
}

TEST(CoerceText, TextToIntegersRoundsTheWrittenDecimal) {
  CheckCoercions({
      {Str(u" 42 "), VT_I4, S_OK, I4(42)},
      {Str(u"+7"), VT_I4, S_OK, I4(7)},
      {Str(u"-0"), VT_I4, S_OK, I4(0)},
      {Str(u"2.5"), VT_I4, S_OK, I4(2)},
      {Str(u"3.5"), VT_I4, S_OK, I4(4)},
      {Str(u"-2.5"), VT_I4, S_OK, I4(-2)},
      {Str(u"2.5000000000000000000001"), VT_I4, S_OK, I4(3)},
      {Str(u"25e-1"), VT_I4, S_OK, I4(2)},
      {Str(u"1.5E+1"), VT_I4, S_OK, I4(15)},
      {Str(u".5"), VT_I4, S_OK, I4(0)},
      {Str(u"0.09"), VT_I4, S_OK, I4(0)},
      {Str(u"1e-400"), VT_I4, S_OK, I4(0)},
      {Str(u"127"), VT_I1, S_OK, I1(127)},
      {Str(u"128"), VT_I1, kOverflow, {}},
      {Str(u"-128.5"), VT_I1, S_OK, I1(-128)},
      {Str(u"127.5"), VT_I1, kOverflow, {}},
      {Str(u"256"), VT_UI1, kOverflow, {}},
      {Str(u"-1"), VT_UI1, kOverflow, {}},
      {Str(u"-0.4"), VT_UI1, S_OK, UI1(0)},
      {Str(u"65536"), VT_UI2, kOverflow, {}},
      {Str(u"2147483648"), VT_I4, kOverflow, {}},
      {Str(u"4294967295"), VT_UI4, S_OK, UI4(4294967295u)},
      {Str(u"-9223372036854775808"), VT_I8, S_OK, I8(INT64_MIN)},
      {Str(u"9223372036854775808"), VT_I8, kOverflow, {}},
      {Str(u"18446744073709551615"), VT_UI8, S_OK, UI8(UINT64_MAX)},
      {Str(u"18446744073709551615.5"), VT_UI8, kOverflow, {}},
      {Str(u"1e20"), VT_UI8, kOverflow, {}},
      {Str(u"1e999999999999999999"), VT_I4, kOverflow, {}},
  });
}

TEST(CoerceText, TextThatIsNotANumber) {
  for (const char16_t* text : {u"", u"   ", u"abc", u"1a", u"1e", u"1e+", u".", u"+", u"-",
                               u"1 2", u"--1", u"0x10", u"1,000", u"\u0661"}) {
    CheckCoercions({{Str(text), VT_I4, kMismatch, {}},
                    {Str(text), VT_R8, kMismatch, {}},
                    {Str(text), VT_CY, kMismatch, {}}});
  }
}

TEST(CoerceText, TextToRealsAndCurrency) {
  CheckCoercions({
      {Str(u"1.5"), VT_R8, S_OK, R8(1.5)},
      {Str(u"0.1"), VT_R8, S_OK, R8(0.1)},
      {Str(u"-1.25e2"), VT_R8, S_OK, R8(-125)},
      {Str(u"1e400"), VT_R8, kOverflow, {}},
      {Str(u"1e-400"), VT_R8, S_OK, R8(0)},
      {Str(u"0.1"), VT_R4, S_OK, R4(0.1f)},
      {Str(u"1e39"), VT_R4, kOverflow, {}},
      {Str(u"1.2345"), VT_CY, S_OK, Cy(12345)},
      {Str(u"0.00015"), VT_CY, S_OK, Cy(2)},  // the double nearest 0.00015 is below it
      {Str(u"0.00025"), VT_CY, S_OK, Cy(2)},
      {Str(u"-0.00035"), VT_CY, S_OK, Cy(-4)},
      {Str(u"922337203685477.5807"), VT_CY, S_OK, Cy(INT64_MAX)},
      {Str(u"922337203685477.5808"), VT_CY, kOverflow, {}},
      {Str(u"-922337203685477.5808"), VT_CY, S_OK, Cy(INT64_MIN)},
      {Str(u"-922337203685477.5809"), VT_CY, kOverflow, {}},
  });
}

TEST(CoerceText, TextToBoolean) {
  CheckCoercions({
      {Str(u"true"), VT_BOOL, S_OK, Bool(-1)},
      {Str(u" False "), VT_BOOL, S_OK, Bool(0)},
      {Str(u"#TRUE#"), VT_BOOL, S_OK, Bool(-1)},
      {Str(u"#false#"), VT_BOOL, S_OK, Bool(0)},
      {Str(u"1"), VT_BOOL, S_OK, Bool(-1)},
      {Str(u"-1"), VT_BOOL, S_OK, Bool(-1)},
      {Str(u"0.0"), VT_BOOL, S_OK, Bool(0)},
      {Str(u"0.001"), VT_BOOL, S_OK, Bool(-1)},
      {Str(u"1e-999"), VT_BOOL, S_OK, Bool(-1)},
      {Str(u""), VT_BOOL, kMismatch, {}},
      {Str(u"yes"), VT_BOOL, kMismatch, {}},
      {Str(u"truex"), VT_BOOL, kMismatch, {}},
  });
}

TEST(CoerceText, DatesToText) {
  CheckCoercions({
      {Date(0), VT_BSTR, S_OK, Str(u"00:00:00")},
      {Date(kMar5), VT_BSTR, S_OK, Str(u"03/05/2024")},
      {Date(kMar5 + kAt140509), VT_BSTR, S_OK, Str(u"03/05/2024 14:05:09")},
      {Date(kMar5 + 86399.6 / 86400), VT_BSTR, S_OK, Str(u"03/06/2024")},  // rounds to midnight
      {Date(0.5), VT_BSTR, S_OK, Str(u"12:00:00")},
      {Date(-0.5), VT_BSTR, S_OK, Str(u"12:00:00")},
      {Date(-1.25), VT_BSTR, S_OK, Str(u"12/29/1899 06:00:00")},
      {Date(-657434), VT_BSTR, S_OK, Str(u"01/01/0100")},
      {Date(2958465), VT_BSTR, S_OK, Str(u"12/31/9999")},
      {Date(1e9), VT_BSTR, E_INVALIDARG, {}},
  });
}

TEST(CoerceText, TextToDates) {
  const DATE withMs = kMar5 + 50709250.0 / 86400000;
  CheckCoercions({
      {Str(u"03/05/2024"), VT_DATE, S_OK, Date(kMar5)},
      {Str(u" 3/5/2024 "), VT_DATE, S_OK, Date(kMar5)},
      {Str(u"03/05/2024 14:05:09"), VT_DATE, S_OK, Date(kMar5 + kAt140509)},
      {Str(u"03/05/2024 2:05:09 pm"), VT_DATE, S_OK, Date(kMar5 + kAt140509)},
      {Str(u"14:05:09"), VT_DATE, S_OK, Date(kAt140509)},
      {Str(u"14:05"), VT_DATE, S_OK, Date(50700.0 / 86400)},
      {Str(u"12:00:00 AM"), VT_DATE, S_OK, Date(0)},
      {Str(u"12:00 PM"), VT_DATE, S_OK, Date(0.5)},
      {Str(u"2024-03-05"), VT_DATE, S_OK, Date(kMar5)},
      {Str(u"2024-03-05T14:05:09"), VT_DATE, S_OK, Date(kMar5 + kAt140509)},
      {Str(u"2024-03-05 14:05:09"), VT_DATE, S_OK, Date(kMar5 + kAt140509)},
      {Str(u"2024-03-05T14:05:09.25"), VT_DATE, S_OK, Date(withMs)},
      {Str(u"2024-03-05T14:05:09.2509"), VT_DATE, S_OK, Date(withMs)},  // beyond ms: dropped
      {Str(u"1899-12-29T06:00:00"), VT_DATE, S_OK, Date(-1.25)},
      {Str(u"00:00:00"), VT_DATE, S_OK, Date(0)},
  });
  for (const char16_t* text :
       {u"", u"12", u"hello", u"2024-02-30", u"2024-3-5", u"13/01/2024", u"03/05/24",
        u"2024-03-05T", u"2024-03-05Z", u"2024-03-05T14:05:09Z", u"25:00", u"13:00 PM",
        u"0099-01-01", u"2024-03-05 2:05 PM", u"14:5", u"03/05/2024T14:05"}) {
    CheckCoercions({{Str(text), VT_DATE, kMismatch, {}}});
  }
}

TEST(CoerceText, DateTextRoundTrips) {
  for (DATE date : {0.0, kMar5, kMar5 + kAt140509, -1.25, 0.75, 2958465 + 86399.0 / 86400}) {
    Var source(Date(date)), text, back;
    ASSERT_EQ(VariantChangeType(&text.v, &source.v, 0, VT_BSTR), S_OK);
    ASSERT_EQ(VariantChangeType(&back.v, &text.v, 0, VT_DATE), S_OK) << Describe(text.v);
    EXPECT_EQ(back.v.date, date) << Describe(text.v);
  }
}

TEST(CoerceText, FormattingIgnoresTheProcessLocale) {
  // A host may switch to a locale with a decimal comma; conversions must not follow.
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
    GTEST_SKIP() << "no locale with a decimal comma installed";
  CheckCoercions({{R8(1.5), VT_BSTR, S_OK, Str(u"1.5")}, {Str(u"2.25"), VT_R8, S_OK, R8(2.25)}});
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(CoerceText, TextToOtherTypes) {
  CheckCoercions({
      {Str(u"abc"), VT_BSTR, S_OK, Str(u"abc")},
      {Str(u"abc"), VT_EMPTY, S_OK, Empty()},
      {Str(u"5"), VT_ERROR, kMismatch, {}},
      {Str(u"5"), VT_NULL, kMismatch, {}},
      {Str(u"5"), VT_DISPATCH, kMismatch, {}},
      {Str(u"5"), VT_UNKNOWN, kMismatch, {}},
      {Make(VT_BSTR, [](VARIANT& v) { v.bstrVal = nullptr; }), VT_I4, kMismatch, {}},
      {Make(VT_BSTR, [](VARIANT& v) { v.bstrVal = nullptr; }), VT_BOOL, kMismatch, {}},
  });
}

}  // namespace
