// VariantChangeType: numbers, text, dates and objects, each row converting
// into a destination whose sentinel a failure must leave in place.
#include "frame/automation/automation_api.h"
#include "variant_test_support.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <limits>

namespace {

using namespace nvtest;

constexpr HRESULT kOverflow = DISP_E_OVERFLOW;
constexpr HRESULT kMismatch = DISP_E_TYPEMISMATCH;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr DATE kMar5 = 45356;  // 2024-03-05
constexpr DATE kAt140509 = 50709.0 / 86400;
constexpr DATE kMaxDate = 2958465 + 86399.0 / 86400;  // 9999-12-31 23:59:59

// One range check serves every width: a boundary converts and the next value
// fails, at the edges of one narrow signed and one unsigned width and at the
// 64-bit edges; the other widths get one row each. Reals round half to even
// after a range check; booleans convert their bits.
TEST(Coerce, NumbersRangesRoundingAndSpecialValues) {
  CheckCoercions({
      {I4(127), VT_I1, S_OK, I1(127)},         {I4(128), VT_I1, kOverflow, {}},
      {I4(255), VT_UI1, S_OK, UI1(255)},       {I4(-1), VT_UI1, kOverflow, {}},
      {I1(-1), VT_I4, S_OK, I4(-1)},  // VT_I1 is signed whatever char is
      {UI8(INT64_MAX), VT_I8, S_OK, I8(INT64_MAX)}, {UI8(1ull << 63), VT_I8, kOverflow, {}},
      {I8(INT64_MIN), VT_I4, kOverflow, {}},   {I8(-1), VT_UI8, kOverflow, {}},
      {I4(65536), VT_UI2, kOverflow, {}},      {UI4(2147483648u), VT_INT, kOverflow, {}},
      {R8(2.5), VT_I4, S_OK, I4(2)},           {R8(3.5), VT_I4, S_OK, I4(4)},
      {R8(127.5), VT_I1, kOverflow, {}},  // to 128
      {R8(-0.5), VT_UI1, S_OK, UI1(0)},        {R8(-0.51), VT_UI1, kOverflow, {}},
      {R8(-9223372036854775808.0), VT_I8, S_OK, I8(INT64_MIN)},
      {R8(9223372036854775808.0), VT_I8, kOverflow, {}},
      {R8(kNaN), VT_I4, kOverflow, {}},        {Cy(25000), VT_I4, S_OK, I4(2)},
      {Cy(INT64_MIN), VT_I8, S_OK, I8(-922337203685478)},
      {R8(FLT_MAX), VT_R4, S_OK, R4(FLT_MAX)}, {R8(1e39), VT_R4, kOverflow, {}},
      {Cy(12345), VT_R8, S_OK, R8(1.2345)},
      {R8(2958465.9), VT_DATE, S_OK, Date(2958465.9)}, {R8(2958466.0), VT_DATE, kOverflow, {}},
      {I8(922337203685477), VT_CY, S_OK, Cy(9223372036854770000)},
      {I8(922337203685478), VT_CY, kOverflow, {}},
      {R8(1.23456), VT_CY, S_OK, Cy(12346)},   {Bool(-1), VT_UI1, S_OK, UI1(255)},
      {Bool(-1), VT_CY, S_OK, Cy(-10000)},     {R8(-0.0), VT_BOOL, S_OK, Bool(0)},
      {R8(kNaN), VT_BOOL, S_OK, Bool(-1)},     {Empty(), VT_BSTR, S_OK, Str(u"")},
      {Empty(), VT_ERROR, kMismatch, {}},      {Null(), VT_I4, kMismatch, {}},
      {Null(), VT_EMPTY, S_OK, Empty()},       {I4(5), VT_DISPATCH, kMismatch, {}},
      {Error(5), VT_I4, kMismatch, {}},        {I2(5), VT_ERROR, kMismatch, {}},
      {UI4(0x80020005u), VT_ERROR, S_OK, Error(DISP_E_TYPEMISMATCH)},
  });
}

// Text to numbers rounds the written decimal, not the double nearest it.
TEST(Coerce, NumbersAndBooleansToTextAndBack) {
  CheckCoercions({
      {I8(INT64_MIN), VT_BSTR, S_OK, Str(u"-9223372036854775808")},
      {R8(-0.0), VT_BSTR, S_OK, Str(u"0")},   {R8(1e-5), VT_BSTR, S_OK, Str(u"1E-05")},
      {R8(123456789012345678.0), VT_BSTR, S_OK, Str(u"1.23456789012346E+17")},
      {R8(kNaN), VT_BSTR, S_OK, Str(u"NAN")},  {R8(-kInf), VT_BSTR, S_OK, Str(u"-INF")},
      {R4(1.0f / 3), VT_BSTR, S_OK, Str(u"0.3333333")}, {Cy(-5000), VT_BSTR, S_OK, Str(u"-0.5")},
      {Cy(INT64_MIN), VT_BSTR, S_OK, Str(u"-922337203685477.5808")},
      {Bool(-1), VT_BSTR, S_OK, Str(u"-1")},
      {Bool(-1), VT_BSTR, S_OK, Str(u"True"), VARIANT_ALPHABOOL},
      {Str(u" +42 "), VT_I4, S_OK, I4(42)},    {Str(u"25e-1"), VT_I4, S_OK, I4(2)},
      {Str(u"2.5000000000000000000001"), VT_I4, S_OK, I4(3)},
      {Str(u"1e-400"), VT_I4, S_OK, I4(0)},    {Str(u"-0.4"), VT_UI1, S_OK, UI1(0)},
      {Str(u"-9223372036854775808"), VT_I8, S_OK, I8(INT64_MIN)},
      {Str(u"18446744073709551615"), VT_UI8, S_OK, UI8(UINT64_MAX)},
      {Str(u"18446744073709551615.5"), VT_UI8, kOverflow, {}},
      {Str(u"1e999999999999999999"), VT_I4, kOverflow, {}},
      {Str(u"-1.25e2"), VT_R8, S_OK, R8(-125)}, {Str(u"1e400"), VT_R8, kOverflow, {}},
      {Str(u"0.00015"), VT_CY, S_OK, Cy(2)},  // the double nearest 0.00015 is below it
      {Str(u"922337203685477.5807"), VT_CY, S_OK, Cy(INT64_MAX)},
      {Str(u"922337203685477.5808"), VT_CY, kOverflow, {}},
      {Str(u" False "), VT_BOOL, S_OK, Bool(0)}, {Str(u"#TRUE#"), VT_BOOL, S_OK, Bool(-1)},
      {Str(u"1e-999"), VT_BOOL, S_OK, Bool(-1)}, {Str(u"truex"), VT_BOOL, kMismatch, {}},
      {Make(VT_BSTR, [](VARIANT& v) { v.bstrVal = nullptr; }), VT_BOOL, kMismatch, {}},
      {Str(u"5"), VT_NULL, kMismatch, {}},     {Str(u"abc"), VT_EMPTY, S_OK, Empty()},
  });
  for (const char16_t* text : {u"", u"   ", u"1e+", u".", u"1 2", u"0x10", u"1,000", u"\u0661"})
    CheckCoercions({{Str(text), VT_I4, kMismatch, {}}, {Str(text), VT_CY, kMismatch, {}}});
}

// The written forms of dates read back exactly.
TEST(Coerce, DatesToTextAndBack) {
  CheckCoercions({
      {Date(-0.5), VT_BSTR, S_OK, Str(u"12:00:00")}, {Date(kMar5), VT_BSTR, S_OK, Str(u"03/05/2024")},
      {Date(kMar5 + kAt140509), VT_BSTR, S_OK, Str(u"03/05/2024 14:05:09")},
      {Date(kMar5 + 86399.6 / 86400), VT_BSTR, S_OK, Str(u"03/06/2024")},  // rounds to midnight
      {Date(-1.25), VT_BSTR, S_OK, Str(u"12/29/1899 06:00:00")},
      {Date(kMaxDate), VT_BSTR, S_OK, Str(u"12/31/9999 23:59:59")},
      {Date(1e9), VT_BSTR, E_INVALIDARG, {}}, {Str(u" 3/5/2024 "), VT_DATE, S_OK, Date(kMar5)},
      {Str(u"03/05/2024 2:05:09 pm"), VT_DATE, S_OK, Date(kMar5 + kAt140509)},
      {Str(u"2024-03-05 14:05:09"), VT_DATE, S_OK, Date(kMar5 + kAt140509)},
      // beyond milliseconds: dropped
      {Str(u"2024-03-05T14:05:09.2509"), VT_DATE, S_OK, Date(kMar5 + 50709250.0 / 86400000)},
      {Str(u"12/31/9999 23:59:59"), VT_DATE, S_OK, Date(kMaxDate)},
  });
  for (const char16_t* text : {u"12", u"2024-02-30", u"03/05/24", u"2024-03-05T14:05:09Z",
                               u"13:00 PM"})
    CheckCoercions({{Str(text), VT_DATE, kMismatch, {}}});
}

TEST(Coerce, FormattingIgnoresTheProcessLocale) {
  // A host may switch to a locale with a decimal comma; conversions must not follow.
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
    GTEST_SKIP() << "no locale with a decimal comma installed";
  CheckCoercions({{R8(1.5), VT_BSTR, S_OK, Str(u"1.5")}, {Str(u"2.25"), VT_R8, S_OK, R8(2.25)}});
  std::setlocale(LC_NUMERIC, saved.c_str());
}

// Interfaces convert through QueryInterface; scalar targets read the value
// property once, without following an object it returns.
TEST(Coerce, ObjectsConvertThroughQueryInterfaceAndTheValueProperty) {
  FakeObject object, plain(/*dispatchable=*/false);
  {
    Var unknown, dispatch;
    Var source(Dispatch(object));
    ASSERT_EQ(VariantChangeType(&unknown.v, &source.v, 0, VT_UNKNOWN), S_OK);
    EXPECT_EQ(unknown.v.punkVal, object.unknown());
    ASSERT_EQ(VariantChangeType(&dispatch.v, &unknown.v, 0, VT_DISPATCH), S_OK);
    EXPECT_EQ(dispatch.v.pdispVal, static_cast<IDispatch*>(&object));
  }
  object.SetValue(R8(2.5));
  CheckCoercions({
      {Unknown(plain), VT_DISPATCH, kMismatch, {}},
      {Empty(), VT_DISPATCH, S_OK, Make(VT_DISPATCH, [](VARIANT& v) { v.pdispVal = nullptr; })},
      {Make(VT_DISPATCH, [](VARIANT& v) { v.pdispVal = nullptr; }), VT_I4, kMismatch, {}},
      {Dispatch(object), VT_I4, S_OK, I4(2)},  {Dispatch(object), VT_BSTR, S_OK, Str(u"2.5")},
      {Dispatch(object), VT_I4, kMismatch, {}, VARIANT_NOVALUEPROP},
      {Dispatch(object), VT_NULL, kMismatch, {}},
  });
  EXPECT_EQ(plain.refs, 1u);
  EXPECT_EQ(object.invokes, 2);
  object.SetValue(Null());
  CheckCoercions({{Dispatch(object), VT_I4, kMismatch, {}}});
  object.SetValue(Dispatch(object));  // would recurse forever if followed
  CheckCoercions({{Dispatch(object), VT_I4, kMismatch, {}}});
  EXPECT_EQ(object.invokes, 4);
  object.SetValue(I4(7));
  EXPECT_EQ(object.refs, 1u);

  // In place, the source is replaced only on success.
  VARIANT v = Dispatch(object);
  ASSERT_EQ(VariantChangeType(&v, &v, 0, VT_BSTR), S_OK);
  ExpectSameValue(v, Var(Str(u"7")).v);
  EXPECT_EQ(object.refs, 1u);  // the object the variant held was released
  VariantClear(&v);
  Var bad(Str(u"abc"));
  EXPECT_EQ(VariantChangeType(&bad.v, &bad.v, 0, VT_I4), kMismatch);
  EXPECT_EQ(View(bad.v.bstrVal), u"abc");
}

// References are dereferenced, and an identical type copies the reference;
// types outside the conversion set are refused.
TEST(Coerce, ReferencesArraysAndTypesOutsideTheSet) {
  LONG number = 300;
  BSTR text = SysAllocString(u"12");
  Var inner(R4(1.5f));
  VARIANT byLong = Make(VT_I4 | VT_BYREF, [&](VARIANT& v) { v.plVal = &number; });
  VARIANT badSource = I4(1);
  badSource.vt = 15;
  Var array(Make(VT_ARRAY | VT_UI1,
                 [](VARIANT& v) { v.parray = SafeArrayCreateVector(VT_UI1, 0, 2); }));
  CheckCoercions({
      {byLong, VT_BSTR, S_OK, Str(u"300")},   {byLong, VT_UI1, DISP_E_OVERFLOW, {}},
      {Make(VT_BSTR | VT_BYREF, [&](VARIANT& v) { v.pbstrVal = &text; }), VT_I2, S_OK, I2(12)},
      {Make(VT_VARIANT | VT_BYREF, [&](VARIANT& v) { v.pvarVal = &inner.v; }), VT_R8, S_OK,
       R8(1.5)},
      {Make(VT_I4 | VT_BYREF, [](VARIANT& v) { v.plVal = nullptr; }), VT_I4, E_INVALIDARG, {}},
      {I4(1), VT_VARIANT, DISP_E_BADVARTYPE, {}}, {I4(1), VT_DECIMAL, kMismatch, {}},
      {array, VT_BSTR, kMismatch, {}},
  });
  Var same, copy, out(I4(0x5EED));
  ASSERT_EQ(VariantChangeType(&same.v, &byLong, 0, VT_I4 | VT_BYREF), S_OK);
  EXPECT_EQ(same.v.plVal, &number);
  SysFreeString(text);
  ASSERT_EQ(VariantChangeType(&copy.v, &array.v, 0, VT_ARRAY | VT_UI1), S_OK);
  EXPECT_NE(copy.v.parray, array.v.parray);
  EXPECT_EQ(VariantChangeType(&out.v, &badSource, 0, VT_I4), DISP_E_BADVARTYPE);
  EXPECT_EQ(VariantChangeType(nullptr, &out.v, 0, VT_I4), E_INVALIDARG);
}

}  // namespace
