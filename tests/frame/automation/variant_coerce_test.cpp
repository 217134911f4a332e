// VariantChangeType: numbers, text, dates and objects, each row converting
// into a destination whose sentinel a failure must leave in place.
#include "frame/automation/automation_api.h"
#include "variant_test_support.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>

namespace {

using namespace nvtest;

constexpr HRESULT kOverflow = DISP_E_OVERFLOW;
constexpr HRESULT kMismatch = DISP_E_TYPEMISMATCH;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr DATE kMar5 = 45356;  // 2024-03-05
constexpr DATE kAt140509 = 50709.0 / 86400;

// A boundary converts and the next value fails, at the edges of one narrow
// signed and one unsigned width and at the 64-bit edges. Reals round half to
// even after a range check; booleans convert their bits. Numbers and booleans
// to text and back.
TEST(Coerce, NumbersRangesRoundingSpecialValuesAndText) {
  CheckCoercions({
      {I4(127), VT_I1, S_OK, I1(127)},         {I4(128), VT_I1, kOverflow, {}},
      {I4(-1), VT_UI1, kOverflow, {}},         {I1(-1), VT_I4, S_OK, I4(-1)},  // I1 is signed
      {UI8(INT64_MAX), VT_I8, S_OK, I8(INT64_MAX)}, {UI8(1ull << 63), VT_I8, kOverflow, {}},
      {I8(-1), VT_UI8, kOverflow, {}},         {UI4(2147483648u), VT_INT, kOverflow, {}},
      {R8(2.5), VT_I4, S_OK, I4(2)},           {R8(3.5), VT_I4, S_OK, I4(4)},
      {R8(127.5), VT_I1, kOverflow, {}},       {R8(-0.5), VT_UI1, S_OK, UI1(0)},
      {R8(9223372036854775808.0), VT_I8, kOverflow, {}},
      {R8(kNaN), VT_I4, kOverflow, {}},        {Cy(25000), VT_I4, S_OK, I4(2)},
      {R8(1e39), VT_R4, kOverflow, {}},        {R8(2958466.0), VT_DATE, kOverflow, {}},
      {I8(922337203685478), VT_CY, kOverflow, {}}, {R8(1.23456), VT_CY, S_OK, Cy(12346)},
      {Bool(-1), VT_UI1, S_OK, UI1(255)},      {R8(kNaN), VT_BOOL, S_OK, Bool(-1)},
      {Empty(), VT_BSTR, S_OK, Str(u"")},      {Null(), VT_I4, kMismatch, {}},
      {Error(5), VT_I4, kMismatch, {}},        {I2(5), VT_ERROR, kMismatch, {}},
      {UI4(0x80020005u), VT_ERROR, S_OK, Error(DISP_E_TYPEMISMATCH)},
      // Text to numbers rounds the written decimal, not the double nearest it.
      {R8(-0.0), VT_BSTR, S_OK, Str(u"0")},   {R8(1e-5), VT_BSTR, S_OK, Str(u"1E-05")},
      {R8(123456789012345678.0), VT_BSTR, S_OK, Str(u"1.23456789012346E+17")},
      {R8(kNaN), VT_BSTR, S_OK, Str(u"NAN")},  {R4(1.0f / 3), VT_BSTR, S_OK, Str(u"0.3333333")},
      {Cy(INT64_MIN), VT_BSTR, S_OK, Str(u"-922337203685477.5808")},
      {Bool(-1), VT_BSTR, S_OK, Str(u"True"), VARIANT_ALPHABOOL},
      {Str(u" +42 "), VT_I4, S_OK, I4(42)},    {Str(u"25e-1"), VT_I4, S_OK, I4(2)},
      {Str(u"2.5000000000000000000001"), VT_I4, S_OK, I4(3)},
      {Str(u"-0.4"), VT_UI1, S_OK, UI1(0)},    {Str(u"1e999999999999999999"), VT_I4, kOverflow, {}},
      {Str(u"18446744073709551615"), VT_UI8, S_OK, UI8(UINT64_MAX)},
      {Str(u"0.00015"), VT_CY, S_OK, Cy(2)},  // the double nearest it is below
      {Str(u"922337203685477.5808"), VT_CY, kOverflow, {}},
      {Str(u" False "), VT_BOOL, S_OK, Bool(0)}, {Str(u"#TRUE#"), VT_BOOL, S_OK, Bool(-1)},
      {Str(u"truex"), VT_BOOL, kMismatch, {}},
      {Make(VT_BSTR, [](VARIANT& v) { v.bstrVal = nullptr; }), VT_BOOL, kMismatch, {}},
  });
  for (const char16_t* text : {u"", u"   ", u"1e+", u".", u"1 2", u"0x10", u"1,000", u"\u0661"})
    CheckCoercions({{Str(text), VT_I4, kMismatch, {}}, {Str(text), VT_CY, kMismatch, {}}});
}

// The written forms of dates read back exactly.
TEST(Coerce, DatesToTextAndBack) {
  CheckCoercions({
      {Date(-0.5), VT_BSTR, S_OK, Str(u"12:00:00")},
      {Date(kMar5 + 86399.6 / 86400), VT_BSTR, S_OK, Str(u"03/06/2024")},  // rounds to midnight
      {Date(-1.25), VT_BSTR, S_OK, Str(u"12/29/1899 06:00:00")},
      {Date(1e9), VT_BSTR, E_INVALIDARG, {}}, {Str(u" 3/5/2024 "), VT_DATE, S_OK, Date(kMar5)},
      {Str(u"03/05/2024 2:05:09 pm"), VT_DATE, S_OK, Date(kMar5 + kAt140509)},
      // beyond milliseconds: dropped
      {Str(u"2024-03-05T14:05:09.2509"), VT_DATE, S_OK, Date(kMar5 + 50709250.0 / 86400000)},
      {Str(u"12/31/9999 23:59:59"), VT_DATE, S_OK, Date(2958465 + 86399.0 / 86400)},
  });
  for (const char16_t* text : {u"12", u"2024-02-30", u"03/05/24", u"2024-03-05T14:05:09Z"})
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
  object.SetValue(R8(2.5));
  CheckCoercions({
      {Dispatch(object), VT_UNKNOWN, S_OK, Unknown(object)},
      {Unknown(object), VT_DISPATCH, S_OK, Dispatch(object)},
      {Unknown(plain), VT_DISPATCH, kMismatch, {}},
      {Make(VT_DISPATCH, [](VARIANT& v) { v.pdispVal = nullptr; }), VT_I4, kMismatch, {}},
      {Dispatch(object), VT_I4, S_OK, I4(2)},  {Dispatch(object), VT_BSTR, S_OK, Str(u"2.5")},
      {Dispatch(object), VT_I4, kMismatch, {}, VARIANT_NOVALUEPROP},
  });
  EXPECT_TRUE(plain.refs == 1u && object.invokes == 2);
  object.SetValue(Dispatch(object));  // would recurse forever if followed
  CheckCoercions({{Dispatch(object), VT_I4, kMismatch, {}}});
  EXPECT_EQ(object.invokes, 3);
  object.SetValue(I4(7));
  EXPECT_EQ(object.refs, 1u);

  // In place, the source is replaced only on success.
  Var v(Dispatch(object));
  ASSERT_EQ(VariantChangeType(&v.v, &v.v, 0, VT_BSTR), S_OK);
  ExpectSameValue(v.v, Var(Str(u"7")).v);
  EXPECT_EQ(object.refs, 1u);  // the object the variant held was released
  Var bad(Str(u"abc"));
  EXPECT_EQ(VariantChangeType(&bad.v, &bad.v, 0, VT_I4), kMismatch);
  EXPECT_EQ(View(bad.v.bstrVal), u"abc");
}

// References are dereferenced, and an identical type copies the reference;
// types outside the conversion set are refused.
TEST(Coerce, ReferencesArraysAndTypesOutsideTheSet) {
  LONG number = 300;
  Var inner(R4(1.5f));
  VARIANT byLong = Make(VT_I4 | VT_BYREF, [&](VARIANT& v) { v.plVal = &number; });
  VARIANT badSource = Make(VARTYPE{15}, [](VARIANT&) {});
  Var array(Make(VT_ARRAY | VT_UI1,
                 [](VARIANT& v) { v.parray = SafeArrayCreateVector(VT_UI1, 0, 2); }));
  CheckCoercions({
      {byLong, VT_BSTR, S_OK, Str(u"300")},
      {Make(VT_VARIANT | VT_BYREF, [&](VARIANT& v) { v.pvarVal = &inner.v; }), VT_R8, S_OK,
       R8(1.5)},
      {Make(VT_I4 | VT_BYREF, [](VARIANT& v) { v.plVal = nullptr; }), VT_I4, E_INVALIDARG, {}},
      {I4(1), VT_VARIANT, DISP_E_BADVARTYPE, {}}, {I4(1), VT_DECIMAL, kMismatch, {}},
      {array, VT_BSTR, kMismatch, {}},
  });
  Var same, out(I4(0x5EED));
  ASSERT_EQ(VariantChangeType(&same.v, &byLong, 0, VT_I4 | VT_BYREF), S_OK);
  EXPECT_EQ(same.v.plVal, &number);
  EXPECT_EQ(VariantChangeType(&out.v, &badSource, 0, VT_I4), DISP_E_BADVARTYPE);
}

}  // namespace
