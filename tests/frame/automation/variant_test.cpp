// The value functions of the automation runtime: BSTR allocation, clearing,
// copying and dereferencing VARIANTs, SAFEARRAYs, and DATE <-> calendar fields.
#include "frame/automation/automation_api.h"
#include "variant_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <limits>
#include <tuple>

namespace {

using namespace nvtest;

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
  EXPECT_EQ(date, 45356 + 50709.0 / 86400);
  ASSERT_TRUE(VariantTimeToSystemTime(date + 0.6 / 86400, &out));
  EXPECT_TRUE(out.wDayOfWeek == 2 && out.wSecond == 10 && out.wMilliseconds == 0);
  time.wMonth = 2, time.wDay = 30;
  EXPECT_FALSE(SystemTimeToVariantTime(&time, &date));  // not carried into March
  EXPECT_FALSE(VariantTimeToSystemTime(std::numeric_limits<double>::quiet_NaN(), &out));
}

}  // namespace
