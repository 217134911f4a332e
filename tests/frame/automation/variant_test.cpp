// The value functions of the automation runtime: BSTR allocation, clearing,
// copying and dereferencing VARIANTs, and DATE <-> calendar fields.
#include "frame/automation/automation_api.h"
#include "variant_test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <limits>

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
  VARIANT bad = I4(1);
  bad.vt = VT_RESERVED | VT_I4;
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

// The SYSTEMTIME wrappers over the calendar whose edges the date coercions and
// the value conversion tests cover: day of week, strict fields, milliseconds
// ignored in and rounded away out.
TEST(Date, SystemTimeWrappers) {
  SYSTEMTIME time{2024, 3, 0, 5, 14, 5, 9, 999}, out{};
  DATE date = 0;
  ASSERT_TRUE(SystemTimeToVariantTime(&time, &date));
  EXPECT_EQ(date, 45356 + 50709.0 / 86400);
  ASSERT_TRUE(VariantTimeToSystemTime(date + 0.6 / 86400, &out));
  EXPECT_EQ(out.wDayOfWeek, 2);
  EXPECT_EQ(out.wSecond, 10);
  EXPECT_EQ(out.wMilliseconds, 0);
  time.wDay = 30;
  time.wMonth = 2;
  EXPECT_FALSE(SystemTimeToVariantTime(&time, &date));  // not carried into March
  EXPECT_FALSE(VariantTimeToSystemTime(std::numeric_limits<double>::quiet_NaN(), &out));
}

}  // namespace
