// The value functions of the automation runtime: BSTR allocation, clearing,
// copying and dereferencing VARIANTs, and DATE <-> calendar fields.
#include "frame/automation/automation_api.h"
#include "variant_test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <limits>
#include <tuple>

namespace {

using namespace nvtest;

// Allocation copies, terminates, treats null as empty and refuses huge
// lengths; reallocation may take its source from the old string.
TEST(Bstr, AllocationAndReallocation) {
  BSTR s = SysAllocString(u"\u00e9\U0001F600x");
  EXPECT_EQ(View(s), u"\u00e9\U0001F600x");
  EXPECT_EQ(SysStringByteLen(s), 8u);
  EXPECT_EQ(s[4], u'\0');
  SysFreeString(s);
  s = SysAllocStringLen(u"a\0b", 3);
  EXPECT_EQ(View(s), std::u16string_view(u"a\0b", 3));
  SysFreeString(s);
  s = SysAllocStringLen(nullptr, 2);
  EXPECT_EQ(View(s), std::u16string_view(u"\0\0", 2));
  EXPECT_EQ(s[2], u'\0');
  SysFreeString(s);

  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysStringByteLen(nullptr), 0u);
  SysFreeString(nullptr);
  // Lengths beyond the byte count fail, also where the byte count would wrap.
  EXPECT_EQ(SysAllocStringLen(nullptr, UINT_MAX), nullptr);
  EXPECT_EQ(SysAllocStringLen(nullptr, 0x80000000u), nullptr);
  EXPECT_EQ(SysAllocStringByteLen(nullptr, UINT_MAX), nullptr);

  s = SysAllocString(u"hello");
  ASSERT_TRUE(SysReAllocString(&s, s + 1));  // the source lies inside the old string
  EXPECT_EQ(View(s), u"ello");
  ASSERT_TRUE(SysReAllocStringLen(&s, nullptr, 6));  // no source: keeps the prefix
  EXPECT_EQ(View(s), std::u16string_view(u"ello\0\0", 6));
  ASSERT_TRUE(SysReAllocStringLen(&s, nullptr, 2));
  EXPECT_EQ(View(s), u"el");
  BSTR before = s;
  EXPECT_FALSE(SysReAllocStringLen(&s, nullptr, UINT_MAX));  // failure keeps the old string
  EXPECT_EQ(s, before);
  EXPECT_EQ(View(s), u"el");
  ASSERT_TRUE(SysReAllocString(&s, nullptr));
  EXPECT_EQ(s, nullptr);
  EXPECT_FALSE(SysReAllocString(nullptr, u"x"));
}

// Invalid and locked variants are refused and left alone; a clear releases
// what the variant owns but not what it refers to.
TEST(Variant, ClearCopyAndCopyIndOwnWhatTheyHoldAndRefuseBadVariants) {
  for (VARTYPE vt : {VARTYPE{15}, VARTYPE{VT_VARIANT}, VARTYPE(VT_EMPTY | VT_BYREF),
                     VARTYPE(VT_RESERVED | VT_I4)}) {
    VARIANT v = I4(7);
    v.vt = vt;
    EXPECT_EQ(VariantClear(&v), DISP_E_BADVARTYPE) << vt;
    EXPECT_EQ(v.vt, vt);
  }
  EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);

  VARIANT v = Make(VT_ARRAY | VT_UI1,
                   [](VARIANT& x) { x.parray = SafeArrayCreateVector(VT_UI1, 0, 4); });
  ASSERT_EQ(SafeArrayLock(v.parray), S_OK);
  EXPECT_EQ(VariantClear(&v), DISP_E_ARRAYISLOCKED);
  EXPECT_EQ(v.vt, VT_ARRAY | VT_UI1);
  SafeArrayUnlock(v.parray);
  EXPECT_EQ(VariantClear(&v), S_OK);

  FakeObject object;
  VARIANT held = Dispatch(object);
  EXPECT_EQ(VariantClear(&held), S_OK);
  EXPECT_EQ(held.vt, VT_EMPTY);
  EXPECT_EQ(object.refs, 1u);

  BSTR mine = SysAllocString(u"mine");
  VARIANT mineRef = Make(VT_BSTR | VT_BYREF, [&](VARIANT& x) { x.pbstrVal = &mine; });
  EXPECT_EQ(VariantClear(&mineRef), S_OK);
  EXPECT_EQ(View(mine), u"mine");  // still ours: freed below, or ASan complains
  SysFreeString(mine);
  // Strings and arrays are deep-copied; interfaces are added a reference and the
  // old destination released; a reference is copied as a reference; a bad
  // source leaves the destination.
  Var source(Make(VT_BSTR, [](VARIANT& v) { v.bstrVal = SysAllocStringByteLen("a\0bcd", 5); }));
  Var copy;
  ASSERT_EQ(VariantCopy(&copy.v, &source.v), S_OK);
  EXPECT_NE(copy.v.bstrVal, source.v.bstrVal);
  EXPECT_EQ(SysStringByteLen(copy.v.bstrVal), 5u);  // odd length and embedded NUL survive
  EXPECT_EQ(std::memcmp(copy.v.bstrVal, "a\0bcd", 5), 0);

  Var array(
      Make(VT_ARRAY | VT_I4, [](VARIANT& v) { v.parray = SafeArrayCreateVector(VT_I4, 3, 2); }));
  LONG index = 4, value = 42, read = 0;
  SafeArrayPutElement(array.v.parray, &index, &value);
  ASSERT_EQ(VariantCopy(&copy.v, &array.v), S_OK);  // also frees the string copy
  ASSERT_NE(copy.v.parray, array.v.parray);
  EXPECT_EQ(SafeArrayGetElement(copy.v.parray, &index, &read), S_OK);
  EXPECT_EQ(read, 42);

  FakeObject first, second;
  Var dest(Dispatch(first));
  Var other(Unknown(second));
  ASSERT_EQ(VariantCopy(&dest.v, &other.v), S_OK);
  EXPECT_EQ(first.refs, 1u);
  EXPECT_EQ(second.refs, 3u);  // ours, source's, dest's

  LONG target = 5;
  Var ref(Make(VT_I4 | VT_BYREF, [&](VARIANT& v) { v.plVal = &target; }));
  ASSERT_EQ(VariantCopy(&dest.v, &ref.v), S_OK);
  EXPECT_EQ(dest.v.plVal, &target);
  EXPECT_EQ(second.refs, 2u);

  Var text(Str(u"same"));
  EXPECT_EQ(VariantCopy(&text.v, &text.v), S_OK);
  VARIANT bad = I4(1);
  bad.vt = 15;
  EXPECT_EQ(VariantCopy(&text.v, &bad), DISP_E_BADVARTYPE);
  EXPECT_EQ(View(text.v.bstrVal), u"same");
  LONG number = -3;
  BSTR referent = SysAllocString(u"text");
  SHORT shortValue = 12;
  VARIANT inner = Make(VT_I2 | VT_BYREF, [&](VARIANT& v) { v.piVal = &shortValue; });
  struct Row {
    VARIANT source;
    Var expected;
  };
  const Row rows[] = {
      {Make(VT_I4 | VT_BYREF, [&](VARIANT& v) { v.plVal = &number; }), I4(-3)},
      {Make(VT_BSTR | VT_BYREF, [&](VARIANT& v) { v.pbstrVal = &referent; }), Str(u"text")},
      {Make(VT_VARIANT | VT_BYREF, [&](VARIANT& v) { v.pvarVal = &inner; }), I2(12)},
      {I4(8), I4(8)},  // not a reference: a plain copy
  };
  for (const Row& row : rows) {
    Var out;
    ASSERT_EQ(VariantCopyInd(&out.v, &row.source), S_OK) << row.source.vt;
    ExpectSameValue(out.v, row.expected.v);
    EXPECT_TRUE(out.v.vt != VT_BSTR || out.v.bstrVal != referent);  // a copy, not the referent
  }
  SysFreeString(referent);

  FakeObject pointee;  // in place, the result holds its own reference
  IDispatch* pointer = &pointee;
  VARIANT inPlace = Make(VT_DISPATCH | VT_BYREF, [&](VARIANT& x) { x.ppdispVal = &pointer; });
  ASSERT_EQ(VariantCopyInd(&inPlace, &inPlace), S_OK);
  EXPECT_EQ(inPlace.vt, VT_DISPATCH);
  EXPECT_EQ(pointee.refs, 2u);
  VariantClear(&inPlace);
  EXPECT_EQ(pointee.refs, 1u);

  // Null and doubly indirect references are refused.
  VARIANT nullRef = Make(VT_I4 | VT_BYREF, [](VARIANT& v) { v.plVal = nullptr; });
  Var out(I4(1));
  EXPECT_EQ(VariantCopyInd(&out.v, &nullRef), E_INVALIDARG);
  ExpectSameValue(out.v, I4(1));

  Var plain(I4(2));
  VARIANT middle = Make(VT_VARIANT | VT_BYREF, [&](VARIANT& v) { v.pvarVal = &plain.v; });
  VARIANT outer = Make(VT_VARIANT | VT_BYREF, [&](VARIANT& v) { v.pvarVal = &middle; });
  EXPECT_EQ(VariantCopyInd(&out.v, &outer), E_INVALIDARG);
}

SYSTEMTIME Time(WORD y, WORD mo, WORD d, WORD h = 0, WORD mi = 0, WORD s = 0, WORD ms = 0) {
  return {y, mo, 0, d, h, mi, s, ms};
}

// Calendar fields <-> DATE, both ways; before the epoch the fraction still
// counts forward from midnight.
TEST(Date, ConvertsBothWays) {
  struct Row {
    SYSTEMTIME time;
    DATE date;
    WORD dayOfWeek;
  };
  const Row rows[] = {
      {Time(1899, 12, 30), 0.0, 6}, {Time(1899, 12, 29, 6), -1.25, 5},
      {Time(2000, 2, 29, 12), 36585.5, 2}, {Time(2024, 3, 5, 14, 5, 9), 45356 + 50709.0 / 86400, 2},
      {Time(9999, 12, 31, 23, 59, 59), 2958465 + 86399.0 / 86400, 5},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.date);
    SYSTEMTIME time = row.time;
    DATE date = -1e9;
    ASSERT_TRUE(SystemTimeToVariantTime(&time, &date));
    EXPECT_EQ(date, row.date);
    ASSERT_TRUE(VariantTimeToSystemTime(row.date, &time));
    SYSTEMTIME expected = row.time;
    expected.wDayOfWeek = row.dayOfWeek;
    EXPECT_EQ(std::memcmp(&time, &expected, sizeof time), 0)
        << time.wYear << "-" << time.wMonth << "-" << time.wDay << " " << time.wHour << ":"
        << time.wMinute << ":" << time.wSecond << " dow " << time.wDayOfWeek;
  }
}

TEST(Date, RefusesInvalidFieldsAndRangesAndIsSecondPrecise) {
  for (SYSTEMTIME time : {Time(99, 12, 31), Time(10000, 1, 1), Time(2024, 13, 1), Time(1900, 2, 29),
                          Time(2024, 1, 1, 24)}) {
    DATE date = 123;
    EXPECT_FALSE(SystemTimeToVariantTime(&time, &date)) << time.wYear << "-" << time.wMonth;
    EXPECT_EQ(date, 123);
  }
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (DATE date : {-657435.0, 2958466.0, 2958465.999999999, nan}) {
    SYSTEMTIME time{};
    EXPECT_FALSE(VariantTimeToSystemTime(date, &time)) << date;
  }
  SYSTEMTIME time{};
  EXPECT_TRUE(VariantTimeToSystemTime(-657434.5, &time));  // 0100-01-01 12:00
  EXPECT_EQ(time.wHour, 12);

  // Milliseconds in are ignored, and out the time is rounded half up to the
  // second, carrying into the next day.
  time = Time(2024, 3, 5, 14, 5, 9, 999);
  DATE date = 0;
  ASSERT_TRUE(SystemTimeToVariantTime(&time, &date));
  EXPECT_EQ(date, 45356 + 50709.0 / 86400);

  // Day -1 at 24:00 is the next calendar day.
  for (auto [in, day, second] : {std::tuple{1 + 0.4 / 86400, 31, 0}, {1 + 0.6 / 86400, 31, 1},
                                 {-1 - 86399.7 / 86400, 30, 0}}) {
    ASSERT_TRUE(VariantTimeToSystemTime(in, &time)) << in;
    EXPECT_EQ(time.wMilliseconds, 0);
    EXPECT_EQ(time.wDay, day) << in;
    EXPECT_EQ(time.wHour * 3600 + time.wMinute * 60 + time.wSecond, second) << in;
  }
}

}  // namespace
