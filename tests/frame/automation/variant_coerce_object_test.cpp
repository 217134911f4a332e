#include "frame/automation/automation_api.h"
#include "variant_test_support.h"

#include <gtest/gtest.h>

namespace {

using namespace nvtest;

constexpr HRESULT kMismatch = DISP_E_TYPEMISMATCH;

TEST(CoerceObject, InterfacesConvertThroughQueryInterface) {
  FakeObject object, plain(/*dispatchable=*/false);
  {
    Var unknown, dispatch;
    Var source(Dispatch(object));
    ASSERT_EQ(VariantChangeType(&unknown.v, &source.v, 0, VT_UNKNOWN), S_OK);
    EXPECT_EQ(unknown.v.punkVal, object.unknown());
    ASSERT_EQ(VariantChangeType(&dispatch.v, &unknown.v, 0, VT_DISPATCH), S_OK);
    EXPECT_EQ(dispatch.v.pdispVal, static_cast<IDispatch*>(&object));
    EXPECT_EQ(object.refs(), 4u);
  }
  EXPECT_EQ(object.refs(), 1u);
  CheckCoercions({
      {Unknown(plain), VT_DISPATCH, kMismatch, {}},
      {Unknown(plain), VT_BSTR, kMismatch, {}},
      {Make(VT_DISPATCH, [](VARIANT& v) { v.pdispVal = nullptr; }), VT_UNKNOWN, S_OK,
       Make(VT_UNKNOWN, [](VARIANT& v) { v.punkVal = nullptr; })},
      {Empty(), VT_DISPATCH, S_OK, Make(VT_DISPATCH, [](VARIANT& v) { v.pdispVal = nullptr; })},
      {Make(VT_DISPATCH, [](VARIANT& v) { v.pdispVal = nullptr; }), VT_I4, kMismatch, {}},
  });
  EXPECT_EQ(plain.refs(), 1u);
}

TEST(CoerceObject, ScalarTargetsReadTheValueProperty) {
  FakeObject object;
  object.SetValue(R8(2.5));
  CheckCoercions({
      {Dispatch(object), VT_I4, S_OK, I4(2)},
      {Dispatch(object), VT_BSTR, S_OK, Str(u"2.5")},
      {Dispatch(object), VT_BOOL, S_OK, Bool(-1)},
      {Dispatch(object), VT_I4, kMismatch, {}, VARIANT_NOVALUEPROP},
      {Dispatch(object), VT_NULL, kMismatch, {}},
  });
  EXPECT_EQ(object.invokes(), 3);
  EXPECT_EQ(object.refs(), 1u);

  object.SetValue(Null());
  CheckCoercions({{Dispatch(object), VT_I4, kMismatch, {}}});
  object.FailInvoke(DISP_E_MEMBERNOTFOUND);
  CheckCoercions({{Dispatch(object), VT_BSTR, kMismatch, {}}});
}

TEST(CoerceObject, AValueThatIsAnObjectIsNotFollowed) {
  FakeObject object;
  object.SetValue(Dispatch(object));  // would recurse forever if followed
  CheckCoercions({{Dispatch(object), VT_I4, kMismatch, {}}});
  EXPECT_EQ(object.invokes(), 1);
  object.SetValue(Empty());
  EXPECT_EQ(object.refs(), 1u);
}

TEST(CoerceObject, InPlaceConversionReplacesTheSource) {
  FakeObject object;
  object.SetValue(I4(7));
  struct Row {
    VARIANT source;
    VARTYPE target;
    Var expected;
  };
  const Row rows[] = {
      {Str(u" 42"), VT_I4, I4(42)},
      {R8(2.5), VT_BSTR, Str(u"2.5")},
      {Dispatch(object), VT_BSTR, Str(u"7")},
      {Str(u"x"), VT_BSTR, Str(u"x")},
  };
  for (const Row& row : rows) {
    VARIANT v = row.source;  // owned here, converted in place
    ASSERT_EQ(VariantChangeType(&v, &v, 0, row.target), S_OK) << row.source.vt;
    ExpectSameValue(v, row.expected.v);
    VariantClear(&v);
  }
  EXPECT_EQ(object.refs(), 1u);  // the object the variant held was released
}

TEST(CoerceObject, FailureLeavesTheDestinationAsItWas) {
  Var dest(Str(u"keep"));
  Var bad(Str(u"abc"));
  EXPECT_EQ(VariantChangeType(&dest.v, &bad.v, 0, VT_I4), kMismatch);
  EXPECT_EQ(View(dest.v.bstrVal), u"keep");
  EXPECT_EQ(VariantChangeType(&bad.v, &bad.v, 0, VT_I4), kMismatch);
  EXPECT_EQ(View(bad.v.bstrVal), u"abc");
}

TEST(CoerceObject, ByReferenceSourcesAreDereferenced) {
  LONG number = 300;
  BSTR text = SysAllocString(u"12");
  Var inner(R4(1.5f));
  VARIANT byLong = Make(VT_I4 | VT_BYREF, [&](VARIANT& v) { v.plVal = &number; });
  VARIANT byText = Make(VT_BSTR | VT_BYREF, [&](VARIANT& v) { v.pbstrVal = &text; });
  VARIANT byVariant = Make(VT_VARIANT | VT_BYREF, [&](VARIANT& v) { v.pvarVal = &inner.v; });
  CheckCoercions({
      {byLong, VT_BSTR, S_OK, Str(u"300")},
      {byLong, VT_UI1, DISP_E_OVERFLOW, {}},
      {byText, VT_I2, S_OK, I2(12)},
      {byText, VT_BSTR, S_OK, Str(u"12")},
      {byVariant, VT_R8, S_OK, R8(1.5)},
      {Make(VT_I4 | VT_BYREF, [](VARIANT& v) { v.plVal = nullptr; }), VT_I4, E_INVALIDARG, {}},
  });
  Var same;
  ASSERT_EQ(VariantChangeType(&same.v, &byLong, 0, VT_I4 | VT_BYREF), S_OK);
  EXPECT_EQ(same.v.plVal, &number);  // an identical type copies the reference
  SysFreeString(text);
}

TEST(CoerceObject, TypesOutsideTheConversionSet) {
  VARIANT badSource = I4(1);
  badSource.vt = 15;
  Var out(I4(0x5EED));
  EXPECT_EQ(VariantChangeType(&out.v, &badSource, 0, VT_I4), DISP_E_BADVARTYPE);
  Var array(Make(VT_ARRAY | VT_UI1,
                 [](VARIANT& v) { v.parray = SafeArrayCreateVector(VT_UI1, 0, 2); }));
  CheckCoercions({
      {I4(1), 15, DISP_E_BADVARTYPE, {}},
      {I4(1), VT_VARIANT, DISP_E_BADVARTYPE, {}},
      {I2(1), VT_I4 | VT_BYREF, DISP_E_BADVARTYPE, {}},
      {I4(1), VT_DECIMAL, kMismatch, {}},
      {I4(1), VT_ARRAY | VT_I4, kMismatch, {}},
      {array, VT_BSTR, kMismatch, {}},
  });
  Var copy;
  ASSERT_EQ(VariantChangeType(&copy.v, &array.v, 0, VT_ARRAY | VT_UI1), S_OK);
  EXPECT_NE(copy.v.parray, array.v.parray);
  EXPECT_EQ(VariantChangeType(nullptr, &out.v, 0, VT_I4), E_INVALIDARG);
  EXPECT_EQ(VariantChangeTypeEx(&out.v, nullptr, LOCALE_INVARIANT, 0, VT_I4), E_INVALIDARG);
}

}  // namespace
