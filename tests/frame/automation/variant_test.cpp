// The value functions of the automation runtime: BSTR allocation, clearing,
// copying and dereferencing VARIANTs, SAFEARRAYs, DATE <-> calendar fields, and
// VariantChangeType (numbers, text, dates and objects, each row converting into
// a destination whose sentinel a failure must leave in place).
#include "frame/automation/automation_api.h"
#include "variant_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <clocale>
#include <cstring>
#include <limits>
#include <tuple>

namespace {

using namespace nvtest;

constexpr HRESULT kOverflow = DISP_E_OVERFLOW;
constexpr HRESULT kMismatch = DISP_E_TYPEMISMATCH;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr DATE kMar5 = 45356;  // 2024-03-05
constexpr DATE kAt140509 = 50709.0 / 86400;

// Allocation copies and terminates, treats null as empty and refuses lengths
// whose byte count would wrap; reallocation may read from the old string and
// keeps it when it fails.
TEST(Bstr, AllocationAndReallocation) {
  BSTR s = SysAllocString(u"\u00e9\U0001F600x");
  EXPECT_TRUE(SysStringByteLen(s) == 8u && s[4] == u'\0');
  SysFreeString(s);
  EXPECT_TRUE(SysAllocString(nullptr) == nullptr && SysStringLen(nullptr) == 0u);
  EXPECT_EQ(SysAllocStringLen(nullptr, 0x80000000u), nullptr);
  EXPECT_EQ(SysAllocStringByteLen(nullptr, UINT_MAX), nullptr);
  s = SysAllocString(u"hello");
  ASSERT_TRUE(SysReAllocString(&s, s + 1));
  EXPECT_EQ(View(s), u"ello");
  ASSERT_TRUE(SysReAllocStringLen(&s, nullptr, 6));  // no source: keeps the prefix
  EXPECT_EQ(View(s), std::u16string_view(u"ello\0\0", 6));
  BSTR before = s;
  EXPECT_FALSE(SysReAllocStringLen(&s, nullptr, UINT_MAX));
  EXPECT_EQ(s, before);
  SysFreeString(s);
}

// Invalid and locked variants are refused and left alone; a clear releases
// what the variant owns but not what it refers to; copies are deep and
// count references; a bad source leaves the destination.
TEST(Variant, ClearCopyAndCopyIndOwnWhatTheyHoldAndRefuseBadVariants) {
  VARIANT bad = Make(VT_RESERVED | VT_I4, [](VARIANT& x) { x.lVal = 1; });
  EXPECT_EQ(VariantClear(&bad), DISP_E_BADVARTYPE);
  EXPECT_EQ(bad.vt, VT_RESERVED | VT_I4);
  VARIANT v = Make(VT_ARRAY | VT_UI1,
                   [](VARIANT& x) { x.parray = SafeArrayCreateVector(VT_UI1, 0, 4); });
  ASSERT_EQ(SafeArrayLock(v.parray), S_OK);
  EXPECT_EQ(VariantClear(&v), DISP_E_ARRAYISLOCKED);
  SafeArrayUnlock(v.parray);
  EXPECT_EQ(VariantClear(&v), S_OK);
  BSTR mine = SysAllocString(u"mine");
  VARIANT mineRef = Make(VT_BSTR | VT_BYREF, [&](VARIANT& x) { x.pbstrVal = &mine; });
  EXPECT_EQ(VariantClear(&mineRef), S_OK);
  SysFreeString(mine);  // still ours: ASan sees a double free otherwise

  Var source(Make(VT_BSTR, [](VARIANT& v) { v.bstrVal = SysAllocStringByteLen("a\0bcd", 5); }));
  Var copy;
  ASSERT_EQ(VariantCopy(&copy.v, &source.v), S_OK);
  EXPECT_TRUE(copy.v.bstrVal != source.v.bstrVal && SysStringByteLen(copy.v.bstrVal) == 5u);
  EXPECT_EQ(std::memcmp(copy.v.bstrVal, "a\0bcd", 5), 0);  // odd length and embedded NUL
  FakeObject first, second;
  Var dest(Dispatch(first)), other(Unknown(second));
  ASSERT_EQ(VariantCopy(&dest.v, &other.v), S_OK);
  EXPECT_TRUE(first.refs == 1u && second.refs == 3u);  // second: ours, source's, dest's
  Var text(Str(u"same"));
  EXPECT_EQ(VariantCopy(&text.v, &text.v), S_OK);
  EXPECT_EQ(VariantCopy(&text.v, &bad), DISP_E_BADVARTYPE);
  EXPECT_EQ(View(text.v.bstrVal), u"same");

  LONG number = -3;
  BSTR referent = SysAllocString(u"text");
  VARIANT inner = Make(VT_I4 | VT_BYREF, [&](VARIANT& v) { v.plVal = &number; });
  const std::pair<VARIANT, Var> rows[] = {
      {Make(VT_BSTR | VT_BYREF, [&](VARIANT& v) { v.pbstrVal = &referent; }), Str(u"text")},
      {Make(VT_VARIANT | VT_BYREF, [&](VARIANT& v) { v.pvarVal = &inner; }), I4(-3)},
  };
  for (const auto& [from, expected] : rows) {
    Var out;
    ASSERT_EQ(VariantCopyInd(&out.v, &from), S_OK) << from.vt;
    ExpectSameValue(out.v, expected.v);
    EXPECT_TRUE(out.v.vt != VT_BSTR || out.v.bstrVal != referent);  // a copy, not the referent
  }
  SysFreeString(referent);
  FakeObject pointee;  // in place, the result holds its own reference
  IDispatch* pointer = &pointee;
  VARIANT inPlace = Make(VT_DISPATCH | VT_BYREF, [&](VARIANT& x) { x.ppdispVal = &pointer; });
  ASSERT_EQ(VariantCopyInd(&inPlace, &inPlace), S_OK);
  EXPECT_EQ(pointee.refs, 2u);
  VariantClear(&inPlace);
  // Null and doubly indirect references are refused.
  VARIANT nullRef = Make(VT_I4 | VT_BYREF, [](VARIANT& v) { v.plVal = nullptr; });
  Var out(I4(1)), plain(I4(2));
  EXPECT_EQ(VariantCopyInd(&out.v, &nullRef), E_INVALIDARG);
  ExpectSameValue(out.v, I4(1));
  VARIANT middle = Make(VT_VARIANT | VT_BYREF, [&](VARIANT& v) { v.pvarVal = &plain.v; });
  VARIANT outer = Make(VT_VARIANT | VT_BYREF, [&](VARIANT& v) { v.pvarVal = &middle; });
  EXPECT_EQ(VariantCopyInd(&out.v, &outer), E_INVALIDARG);
}

// Destroys the array at the end of a test.
struct ArrayGuard {
  SAFEARRAY* array;
  ~ArrayGuard() { SafeArrayDestroy(array); }
};

// Element size, ownership flags, bounds and zeroed data; unsupported shapes,
// types and bounds are refused; locks block destroy and redim.
TEST(SafeArray, OneScenarioOfEveryOperation) {
  const std::tuple<VARTYPE, UINT, USHORT> rows[] = {
      {VT_CY, 8, 0}, {VT_BSTR, sizeof(BSTR), FADF_BSTR},
      {VT_UNKNOWN, sizeof(void*), FADF_UNKNOWN}, {VT_DISPATCH, sizeof(void*), FADF_DISPATCH},
      {VT_VARIANT, sizeof(VARIANT), FADF_VARIANT},
  };
  for (const auto& [vt, size, ownership] : rows) {
    ArrayGuard a{SafeArrayCreateVector(vt, -2, 3)};
    VARTYPE stored = VT_EMPTY;
    LONG low = 0, high = 0;
    ASSERT_EQ(SafeArrayGetVartype(a.array, &stored) | SafeArrayGetLBound(a.array, 1, &low) |
                  SafeArrayGetUBound(a.array, 1, &high),
              S_OK);
    EXPECT_TRUE(stored == vt && low == -2 && high == 0) << vt;
    EXPECT_EQ(SafeArrayGetElemsize(a.array), size) << vt;
    EXPECT_EQ(a.array->fFeatures & (FADF_BSTR | FADF_UNKNOWN | FADF_DISPATCH | FADF_VARIANT),
              ownership);
    const auto* bytes = static_cast<const unsigned char*>(a.array->pvData);
    EXPECT_TRUE(std::all_of(bytes, bytes + 3 * size, [](unsigned char b) { return b == 0; }));
  }
  for (VARTYPE vt : {VARTYPE{VT_EMPTY}, VARTYPE{VT_DECIMAL}, VARTYPE(VT_ARRAY | VT_I4)})
    EXPECT_EQ(SafeArrayCreateVector(vt, 0, 1), nullptr) << vt;
  SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
  EXPECT_EQ(SafeArrayCreate(VT_I4, 2, bounds), nullptr);
  EXPECT_EQ(SafeArrayCreateVector(VT_I4, INT_MAX, 2), nullptr);  // upper bound past LONG
  ArrayGuard empty{SafeArrayCreateVector(VT_UI1, 5, 0)};
  LONG value = 0;
  ASSERT_EQ(SafeArrayGetUBound(empty.array, 1, &value), S_OK);
  EXPECT_EQ(value, 4);  // one below the lower bound
  EXPECT_EQ(SafeArrayGetUBound(empty.array, 2, &value), DISP_E_BADINDEX);
  ArrayGuard ints{SafeArrayCreateVector(VT_I4, 10, 2)};
  for (LONG index : {9, 12, INT_MIN}) {
    EXPECT_EQ(SafeArrayPutElement(ints.array, &index, &value), DISP_E_BADINDEX) << index;
    EXPECT_EQ(SafeArrayGetElement(ints.array, &index, &value), DISP_E_BADINDEX) << index;
  }

  ArrayGuard bytes{SafeArrayCreateVector(VT_UI1, 0, 4)};
  void* data = nullptr;
  ASSERT_EQ(SafeArrayAccessData(bytes.array, &data), S_OK);
  SAFEARRAYBOUND bound{8, 0};
  EXPECT_EQ(SafeArrayDestroy(bytes.array), DISP_E_ARRAYISLOCKED);
  EXPECT_EQ(SafeArrayRedim(bytes.array, &bound), DISP_E_ARRAYISLOCKED);
  EXPECT_EQ(SafeArrayUnaccessData(bytes.array), S_OK);
  EXPECT_EQ(SafeArrayUnlock(bytes.array), E_UNEXPECTED);
  EXPECT_EQ(SafeArrayRedim(bytes.array, &bound), S_OK);

  // Redim frees the strings it cuts (ASan would see a leak) and zeroes new ones.
  ArrayGuard strings{SafeArrayCreateVector(VT_BSTR, 1, 3)};
  for (LONG i = 1; i <= 3; ++i) {
    BSTR text = SysAllocString(u"one");
    ASSERT_EQ(SafeArrayPutElement(strings.array, &i, text), S_OK);
    SysFreeString(text);  // the array holds its own copy
  }
  LONG index = 2;
  ASSERT_EQ(SafeArrayPutElement(strings.array, &index, nullptr), S_OK);  // replaces and frees
  SAFEARRAYBOUND shrink{1, 0}, grow{3, 0};
  ASSERT_EQ(SafeArrayRedim(strings.array, &shrink), S_OK);
  ASSERT_EQ(SafeArrayRedim(strings.array, &grow), S_OK);
  auto* items = static_cast<BSTR*>(strings.array->pvData);
  EXPECT_TRUE(View(items[0]) == u"one" && items[2] == nullptr);

  // Elements are copied in and out; a copy holds its own references and
  // strings, and destroying it releases them.
  FakeObject object;
  Var text(Str(u"x")), held(Dispatch(object));
  ArrayGuard variants{SafeArrayCreateVector(VT_VARIANT, -1, 2)};
  for (LONG i : {-1, 0}) SafeArrayPutElement(variants.array, &i, i < 0 ? &text.v : &held.v);
  {
    SAFEARRAY* raw = nullptr;
    ASSERT_EQ(SafeArrayCopy(variants.array, &raw), S_OK);
    ArrayGuard copy{raw};
    EXPECT_EQ(object.refs, 4u);  // ours, held's, the array's, the copy's
    auto* from = static_cast<VARIANT*>(variants.array->pvData);
    auto* to = static_cast<VARIANT*>(copy.array->pvData);
    EXPECT_NE(to[0].bstrVal, from[0].bstrVal);
    for (int i = 0; i < 2; ++i) ExpectSameValue(to[i], from[i]);
  }
  Var out;
  index = 0;
  ASSERT_EQ(SafeArrayGetElement(variants.array, &index, &out.v), S_OK);
  EXPECT_EQ(object.refs, 4u);  // the copy released its reference; `out` holds one
}

// The SYSTEMTIME wrappers over the calendar whose edges the date coercions and
// the value conversion tests cover: day of week, strict fields, milliseconds
// ignored in and rounded away out.
TEST(Date, SystemTimeWrappers) {
  SYSTEMTIME time{2024, 3, 0, 5, 14, 5, 9, 999}, out{};
  DATE date = 0;
  ASSERT_TRUE(SystemTimeToVariantTime(&time, &date));
  EXPECT_EQ(date, kMar5 + kAt140509);
  ASSERT_TRUE(VariantTimeToSystemTime(date + 0.6 / 86400, &out));
  EXPECT_TRUE(out.wDayOfWeek == 2 && out.wSecond == 10 && out.wMilliseconds == 0);
  time.wMonth = 2, time.wDay = 30;
  EXPECT_FALSE(SystemTimeToVariantTime(&time, &date));  // not carried into March
  EXPECT_FALSE(VariantTimeToSystemTime(kNaN, &out));
}

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
