#include "frame/automation/automation_api.h"
#include "variant_test_support.h"

#include <gtest/gtest.h>

namespace {

using namespace nvtest;

TEST(VariantClear, RefusesInvalidTypesAndLeavesThemAlone) {
  const VARTYPE invalid[] = {15, VT_VARIANT, VT_VOID, VT_HRESULT, VT_RECORD, 0x7FF,
                             VT_EMPTY | VT_BYREF, VT_NULL | VT_ARRAY,
                             0x1000 | VT_I4 /* vector */, VT_RESERVED | VT_I4};
  for (VARTYPE vt : invalid) {
    VARIANT v = I4(7);
    v.vt = vt;
    EXPECT_EQ(VariantClear(&v), DISP_E_BADVARTYPE) << vt;
    EXPECT_EQ(v.vt, vt);
  }
  EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
}

TEST(VariantClear, ReleasesWhatItOwnsButNotReferents) {
  FakeObject object;
  VARIANT held = Dispatch(object);
  ASSERT_EQ(object.refs(), 2u);
  EXPECT_EQ(VariantClear(&held), S_OK);
  EXPECT_EQ(held.vt, VT_EMPTY);
  EXPECT_EQ(object.refs(), 1u);

  BSTR text = SysAllocString(u"mine");
  VARIANT ref = Make(VT_BSTR | VT_BYREF, [&](VARIANT& v) { v.pbstrVal = &text; });
  EXPECT_EQ(VariantClear(&ref), S_OK);
  EXPECT_EQ(View(text), u"mine");  // still ours: freed below, or ASan complains
  SysFreeString(text);
}

TEST(VariantClear, LockedArrayIsRefusedAndKept) {
  VARIANT v = Make(VT_ARRAY | VT_UI1,
                   [](VARIANT& x) { x.parray = SafeArrayCreateVector(VT_UI1, 0, 4); });
  ASSERT_EQ(SafeArrayLock(v.parray), S_OK);
  EXPECT_EQ(VariantClear(&v), DISP_E_ARRAYISLOCKED);
  EXPECT_EQ(v.vt, VT_ARRAY | VT_UI1);
  SafeArrayUnlock(v.parray);
  EXPECT_EQ(VariantClear(&v), S_OK);
}

TEST(VariantCopy, StringsAndArraysAreDeepCopied) {
  Var source(Make(VT_BSTR, [](VARIANT& v) { v.bstrVal = SysAllocStringByteLen("a\0bcd", 5); }));
  Var copy;
  ASSERT_EQ(VariantCopy(&copy.v, &source.v), S_OK);
  EXPECT_NE(copy.v.bstrVal, source.v.bstrVal);
  EXPECT_EQ(SysStringByteLen(copy.v.bstrVal), 5u);  // odd length and embedded NUL survive
  EXPECT_EQ(std::memcmp(copy.v.bstrVal, "a\0bcd", 5), 0);

  Var array(
      Make(VT_ARRAY | VT_I4, [](VARIANT& v) { v.parray = SafeArrayCreateVector(VT_I4, 3, 2); }));
  LONG index = 4, value = 42;
  SafeArrayPutElement(array.v.parray, &index, &value);
  ASSERT_EQ(VariantCopy(&copy.v, &array.v), S_OK);  // also frees the string copy
  ASSERT_NE(copy.v.parray, array.v.parray);
  LONG read = 0;
  EXPECT_EQ(SafeArrayGetElement(copy.v.parray, &index, &read), S_OK);
  EXPECT_EQ(read, 42);
}

TEST(VariantCopy, InterfacesAreAddRefedAndTheOldDestinationReleased) {
  FakeObject first, second;
  Var dest(Dispatch(first));
  Var source(Unknown(second));
  ASSERT_EQ(VariantCopy(&dest.v, &source.v), S_OK);
  EXPECT_EQ(first.refs(), 1u);
  EXPECT_EQ(second.refs(), 3u);  // ours, source's, dest's
  EXPECT_EQ(dest.v.punkVal, second.unknown());
}

TEST(VariantCopy, ByRefCopiesTheReferenceAndSelfCopyIsHarmless) {
  LONG target = 5;
  Var ref(Make(VT_I4 | VT_BYREF, [&](VARIANT& v) { v.plVal = &target; }));
  Var copy;
  ASSERT_EQ(VariantCopy(&copy.v, &ref.v), S_OK);
  EXPECT_EQ(copy.v.plVal, &target);

  Var text(Str(u"same"));
  EXPECT_EQ(VariantCopy(&text.v, &text.v), S_OK);
  EXPECT_EQ(View(text.v.bstrVal), u"same");
}

TEST(VariantCopy, BadSourceTypeLeavesTheDestination) {
  VARIANT bad = I4(1);
  bad.vt = 15;
  Var dest(I2(9));
  EXPECT_EQ(VariantCopy(&dest.v, &bad), DISP_E_BADVARTYPE);
  ExpectSameValue(dest.v, I2(9));
}

TEST(VariantCopyInd, DereferencesEachKindOfReference) {
  LONG number = -3;
  BSTR text = SysAllocString(u"text");
  SHORT shortValue = 12;
  VARIANT inner = Make(VT_I2 | VT_BYREF, [&](VARIANT& v) { v.piVal = &shortValue; });
  Var plain(Str(u"inside"));
  struct Row {
    VARIANT source;
    Var expected;
  };
  const Row rows[] = {
      {Make(VT_I4 | VT_BYREF, [&](VARIANT& v) { v.plVal = &number; }), I4(-3)},
      {Make(VT_BSTR | VT_BYREF, [&](VARIANT& v) { v.pbstrVal = &text; }), Str(u"text")},
      {Make(VT_VARIANT | VT_BYREF, [&](VARIANT& v) { v.pvarVal = &plain.v; }), Str(u"inside")},
      {Make(VT_VARIANT | VT_BYREF, [&](VARIANT& v) { v.pvarVal = &inner; }), I2(12)},
      {I4(8), I4(8)},  // not a reference: a plain copy
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.source.vt);
    Var out;
    ASSERT_EQ(VariantCopyInd(&out.v, &row.source), S_OK);
    ExpectSameValue(out.v, row.expected.v);
    if (out.v.vt == VT_BSTR) {
      EXPECT_NE(out.v.bstrVal, text);
    }
  }
  SysFreeString(text);
}

TEST(VariantCopyInd, RefusesNullAndDoublyIndirectVariants) {
  VARIANT nullRef = Make(VT_I4 | VT_BYREF, [](VARIANT& v) { v.plVal = nullptr; });
  Var out(I4(1));
  EXPECT_EQ(VariantCopyInd(&out.v, &nullRef), E_INVALIDARG);
  ExpectSameValue(out.v, I4(1));

  Var plain(I4(2));
  VARIANT middle = Make(VT_VARIANT | VT_BYREF, [&](VARIANT& v) { v.pvarVal = &plain.v; });
  VARIANT outer = Make(VT_VARIANT | VT_BYREF, [&](VARIANT& v) { v.pvarVal = &middle; });
  EXPECT_EQ(VariantCopyInd(&out.v, &outer), E_INVALIDARG);
}

TEST(VariantCopyInd, WorksInPlaceAndOwnsTheResult) {
  FakeObject object;
  IDispatch* pointer = &object;
  VARIANT v = Make(VT_DISPATCH | VT_BYREF, [&](VARIANT& x) { x.ppdispVal = &pointer; });
  ASSERT_EQ(VariantCopyInd(&v, &v), S_OK);
  EXPECT_EQ(v.vt, VT_DISPATCH);
  EXPECT_EQ(object.refs(), 2u);
  VariantClear(&v);
  EXPECT_EQ(object.refs(), 1u);
}

}  // namespace
