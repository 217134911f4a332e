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

// Allocation copies and terminates, treats null as empty and refuses lengths
// whose byte count would wrap; reallocation may read from the old string and
// keeps it when it fails.
TEST(Bstr, AllocationAndReallocation) {
  BSTR s = SysAllocString(u"\u00e9\U0001F600x");
  EXPECT_EQ(SysStringByteLen(s), 8u);
  EXPECT_EQ(s[4], u'\0');
  SysFreeString(s);
  s = SysAllocStringLen(nullptr, 2);
  EXPECT_EQ(View(s), std::u16string_view(u"\0\0", 2));
  SysFreeString(s);
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  SysFreeString(nullptr);
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
  ASSERT_TRUE(SysReAllocString(&s, nullptr));
  EXPECT_EQ(s, nullptr);
}

// Invalid and locked variants are refused and left alone; a clear releases
// what the variant owns but not what it refers to; copies are deep and
// count references; a bad source leaves the destination.
TEST(Variant, ClearCopyAndCopyIndOwnWhatTheyHoldAndRefuseBadVariants) {
  for (VARTYPE vt : {VARTYPE{15}, VARTYPE(VT_EMPTY | VT_BYREF), VARTYPE(VT_RESERVED | VT_I4)}) {
    VARIANT v = I4(7);
    v.vt = vt;
    EXPECT_EQ(VariantClear(&v), DISP_E_BADVARTYPE) << vt;
    EXPECT_EQ(v.vt, vt);
  }
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
  EXPECT_NE(copy.v.bstrVal, source.v.bstrVal);
  EXPECT_EQ(SysStringByteLen(copy.v.bstrVal), 5u);  // odd length and embedded NUL survive
  EXPECT_EQ(std::memcmp(copy.v.bstrVal, "a\0bcd", 5), 0);
  Var array(
      Make(VT_ARRAY | VT_I4, [](VARIANT& v) { v.parray = SafeArrayCreateVector(VT_I4, 3, 2); }));
  ASSERT_EQ(VariantCopy(&copy.v, &array.v), S_OK);  // also frees the string copy
  EXPECT_NE(copy.v.parray, array.v.parray);
  FakeObject first, second;
  Var dest(Dispatch(first)), other(Unknown(second));
  ASSERT_EQ(VariantCopy(&dest.v, &other.v), S_OK);
  EXPECT_EQ(first.refs, 1u);
  EXPECT_EQ(second.refs, 3u);  // ours, source's, dest's
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
  const std::pair<VARIANT, Var> rows[] = {
      {Make(VT_I4 | VT_BYREF, [&](VARIANT& v) { v.plVal = &number; }), I4(-3)},
      {Make(VT_BSTR | VT_BYREF, [&](VARIANT& v) { v.pbstrVal = &referent; }), Str(u"text")},
      {Make(VT_VARIANT | VT_BYREF, [&](VARIANT& v) { v.pvarVal = &inner; }), I2(12)},
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
  EXPECT_EQ(pointee.refs, 1u);
  // Null and doubly indirect references are refused.
  VARIANT nullRef = Make(VT_I4 | VT_BYREF, [](VARIANT& v) { v.plVal = nullptr; });
  Var out(I4(1)), plain(I4(2));
  EXPECT_EQ(VariantCopyInd(&out.v, &nullRef), E_INVALIDARG);
  ExpectSameValue(out.v, I4(1));
  VARIANT middle = Make(VT_VARIANT | VT_BYREF, [&](VARIANT& v) { v.pvarVal = &plain.v; });
  VARIANT outer = Make(VT_VARIANT | VT_BYREF, [&](VARIANT& v) { v.pvarVal = &middle; });
  EXPECT_EQ(VariantCopyInd(&out.v, &outer), E_INVALIDARG);
}

SYSTEMTIME Time(WORD y, WORD mo, WORD d, WORD h = 0, WORD mi = 0, WORD s = 0, WORD ms = 0) {
  return {y, mo, 0, d, h, mi, s, ms};
}

// Calendar fields <-> DATE, both ways; before the epoch the fraction still
// counts forward from midnight. Milliseconds in are ignored.
TEST(Date, ConvertsBothWays) {
  const std::tuple<SYSTEMTIME, DATE, WORD> rows[] = {
      {Time(1899, 12, 29, 6), -1.25, 5}, {Time(2000, 2, 29, 12), 36585.5, 2},
      {Time(2024, 3, 5, 14, 5, 9), 45356 + 50709.0 / 86400, 2},
      {Time(9999, 12, 31, 23, 59, 59), 2958465 + 86399.0 / 86400, 5},
  };
  for (auto [in, date, dayOfWeek] : rows) {
    SCOPED_TRACE(date);
    SYSTEMTIME time = in;
    time.wMilliseconds = 999;
    DATE written = -1e9;
    ASSERT_TRUE(SystemTimeToVariantTime(&time, &written));
    EXPECT_EQ(written, date);
    ASSERT_TRUE(VariantTimeToSystemTime(date, &time));
    in.wDayOfWeek = dayOfWeek;
    EXPECT_EQ(std::memcmp(&time, &in, sizeof time), 0);
  }
}

// Out of range fields and dates are refused; reading rounds half up to the
// second, carrying into the next day (day -1 at 24:00 is day 0).
TEST(Date, RefusesInvalidFieldsAndRangesAndIsSecondPrecise) {
  for (SYSTEMTIME time : {Time(99, 12, 31), Time(10000, 1, 1), Time(2024, 13, 1), Time(1900, 2, 29),
                          Time(2024, 1, 1, 24)}) {
    DATE date = 123;
    EXPECT_FALSE(SystemTimeToVariantTime(&time, &date)) << time.wYear << "-" << time.wMonth;
    EXPECT_EQ(date, 123);
  }
  SYSTEMTIME time{};
  for (DATE date : {-657435.0, 2958465.999999999, std::numeric_limits<double>::quiet_NaN()})
    EXPECT_FALSE(VariantTimeToSystemTime(date, &time)) << date;
  for (auto [in, day, second] : {std::tuple{1 + 0.4 / 86400, 31, 0}, {1 + 0.6 / 86400, 31, 1},
                                 {-1 - 86399.7 / 86400, 30, 0}, {-657434.5, 1, 43200}}) {
    ASSERT_TRUE(VariantTimeToSystemTime(in, &time)) << in;
    EXPECT_EQ(time.wMilliseconds, 0);
    EXPECT_EQ(time.wDay, day) << in;
    EXPECT_EQ(time.wHour * 3600 + time.wMinute * 60 + time.wSecond, second) << in;
  }
}

}  // namespace
