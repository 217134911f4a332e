#include "frame/automation/automation_api.h"
#include "variant_test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

using namespace nvtest;

// Destroys the array at the end of a test.
struct ArrayGuard {
  SAFEARRAY* array;
  ~ArrayGuard() { SafeArrayDestroy(array); }
};

TEST(SafeArray, CreatedVectorsDescribeTheirElements) {
  struct Row {
    VARTYPE vt;
    UINT size;
    USHORT ownership;
  };
  const Row rows[] = {
      {VT_UI1, 1, 0}, {VT_BOOL, 2, 0}, {VT_UINT, 4, 0}, {VT_CY, 8, 0}, {VT_DATE, 8, 0},
      {VT_BSTR, sizeof(BSTR), FADF_BSTR}, {VT_UNKNOWN, sizeof(void*), FADF_UNKNOWN},
      {VT_DISPATCH, sizeof(void*), FADF_DISPATCH}, {VT_VARIANT, sizeof(VARIANT), FADF_VARIANT},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.vt);
    ArrayGuard a{SafeArrayCreateVector(row.vt, -2, 3)};
    ASSERT_NE(a.array, nullptr);
    VARTYPE vt = VT_EMPTY;
    EXPECT_EQ(SafeArrayGetVartype(a.array, &vt), S_OK);
    EXPECT_EQ(vt, row.vt);
    EXPECT_EQ(SafeArrayGetElemsize(a.array), row.size);
    EXPECT_EQ(SafeArrayGetDim(a.array), 1u);
    EXPECT_EQ(a.array->fFeatures & (FADF_BSTR | FADF_UNKNOWN | FADF_DISPATCH | FADF_VARIANT),
              row.ownership);
    LONG low = 0, high = 0;
    EXPECT_EQ(SafeArrayGetLBound(a.array, 1, &low), S_OK);
    EXPECT_EQ(SafeArrayGetUBound(a.array, 1, &high), S_OK);
    EXPECT_EQ(low, -2);
    EXPECT_EQ(high, 0);
    const auto* bytes = static_cast<const unsigned char*>(a.array->pvData);
    EXPECT_EQ(std::vector<unsigned char>(bytes, bytes + 3 * row.size),
              std::vector<unsigned char>(3 * row.size, 0));
  }
}

TEST(SafeArray, RefusesUnsupportedShapesAndTypes) {
  for (VARTYPE vt : {VARTYPE{VT_EMPTY}, VARTYPE{VT_NULL}, VARTYPE{VT_DECIMAL}, VARTYPE{VT_RECORD},
                     VARTYPE{VT_VOID}, VARTYPE(VT_ARRAY | VT_I4)})
    EXPECT_EQ(SafeArrayCreateVector(vt, 0, 1), nullptr) << vt;
  SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
  EXPECT_EQ(SafeArrayCreate(VT_I4, 2, bounds), nullptr);
  EXPECT_EQ(SafeArrayCreate(VT_I4, 0, bounds), nullptr);
  EXPECT_EQ(SafeArrayCreate(VT_I4, 1, nullptr), nullptr);
  EXPECT_EQ(SafeArrayCreateVector(VT_I4, INT_MAX, 2), nullptr);  // upper bound past LONG
  ArrayGuard last{SafeArrayCreateVector(VT_I4, INT_MAX, 1)};
  EXPECT_NE(last.array, nullptr);
}

TEST(SafeArray, BoundsQueries) {
  ArrayGuard empty{SafeArrayCreateVector(VT_UI1, 5, 0)};
  LONG value = 0;
  ASSERT_EQ(SafeArrayGetUBound(empty.array, 1, &value), S_OK);
  EXPECT_EQ(value, 4);  // one below the lower bound
  EXPECT_EQ(SafeArrayGetLBound(empty.array, 0, &value), DISP_E_BADINDEX);
  EXPECT_EQ(SafeArrayGetUBound(empty.array, 2, &value), DISP_E_BADINDEX);
  EXPECT_EQ(SafeArrayGetLBound(nullptr, 1, &value), E_INVALIDARG);
  EXPECT_EQ(SafeArrayGetDim(nullptr), 0u);
}

TEST(SafeArray, LocksBlockDestroyAndRedim) {
  ArrayGuard a{SafeArrayCreateVector(VT_UI1, 0, 4)};
  void* data = nullptr;
  ASSERT_EQ(SafeArrayAccessData(a.array, &data), S_OK);
  EXPECT_EQ(data, a.array->pvData);
  ASSERT_EQ(SafeArrayLock(a.array), S_OK);
  SAFEARRAYBOUND bound{8, 0};
  EXPECT_EQ(SafeArrayDestroy(a.array), DISP_E_ARRAYISLOCKED);
  EXPECT_EQ(SafeArrayRedim(a.array, &bound), DISP_E_ARRAYISLOCKED);
  EXPECT_EQ(SafeArrayUnlock(a.array), S_OK);
  EXPECT_EQ(SafeArrayDestroy(a.array), DISP_E_ARRAYISLOCKED);  // still accessed
  EXPECT_EQ(SafeArrayUnaccessData(a.array), S_OK);
  EXPECT_EQ(SafeArrayUnlock(a.array), E_UNEXPECTED);
  EXPECT_EQ(SafeArrayRedim(a.array, &bound), S_OK);
}

TEST(SafeArray, RedimKeepsThePrefixAndZeroFillsGrowth) {
  ArrayGuard a{SafeArrayCreateVector(VT_BSTR, 1, 3)};
  const char16_t* texts[] = {u"one", u"two", u"three"};
  for (LONG i = 1; i <= 3; ++i) {
    BSTR text = SysAllocString(texts[i - 1]);
    ASSERT_EQ(SafeArrayPutElement(a.array, &i, text), S_OK);
    SysFreeString(text);
  }
  SAFEARRAYBOUND shrink{2, 0};
  ASSERT_EQ(SafeArrayRedim(a.array, &shrink), S_OK);  // "three" is freed (ASan would see a leak)
  SAFEARRAYBOUND grow{4, 0};
  ASSERT_EQ(SafeArrayRedim(a.array, &grow), S_OK);
  auto* items = static_cast<BSTR*>(a.array->pvData);
  EXPECT_EQ(View(items[0]), u"one");
  EXPECT_EQ(View(items[1]), u"two");
  EXPECT_EQ(items[2], nullptr);
  EXPECT_EQ(items[3], nullptr);
  LONG low = 1;
  SafeArrayGetLBound(a.array, 1, &low);
  EXPECT_EQ(low, 0);
}

TEST(SafeArray, ElementsOutsideTheBoundsAreRefused) {
  ArrayGuard a{SafeArrayCreateVector(VT_I4, 10, 2)};
  LONG value = 1;
  for (LONG index : {9, 12, INT_MIN, INT_MAX}) {
    EXPECT_EQ(SafeArrayPutElement(a.array, &index, &value), DISP_E_BADINDEX) << index;
    EXPECT_EQ(SafeArrayGetElement(a.array, &index, &value), DISP_E_BADINDEX) << index;
  }
  LONG index = 11;
  EXPECT_EQ(SafeArrayPutElement(a.array, &index, &value), S_OK);
  EXPECT_EQ(static_cast<LONG*>(a.array->pvData)[1], 1);
}

TEST(SafeArray, StringElementsAreCopiedInAndOut) {
  ArrayGuard a{SafeArrayCreateVector(VT_BSTR, 0, 1)};
  LONG index = 0;
  BSTR mine = SysAllocString(u"abc");
  ASSERT_EQ(SafeArrayPutElement(a.array, &index, mine), S_OK);
  SysFreeString(mine);  // the array holds its own copy
  BSTR out = nullptr;
  ASSERT_EQ(SafeArrayGetElement(a.array, &index, &out), S_OK);
  EXPECT_EQ(View(out), u"abc");
  EXPECT_NE(out, *static_cast<BSTR*>(a.array->pvData));
  SysFreeString(out);
  ASSERT_EQ(SafeArrayPutElement(a.array, &index, nullptr), S_OK);  // replaces and frees "abc"
}

TEST(SafeArray, InterfaceElementsAreCounted) {
  FakeObject first, second;
  {
    ArrayGuard a{SafeArrayCreateVector(VT_DISPATCH, 0, 1)};
    LONG index = 0;
    ASSERT_EQ(SafeArrayPutElement(a.array, &index, static_cast<IDispatch*>(&first)), S_OK);
    EXPECT_EQ(first.refs(), 2u);
    ASSERT_EQ(SafeArrayPutElement(a.array, &index, static_cast<IDispatch*>(&second)), S_OK);
    EXPECT_EQ(first.refs(), 1u);
    IDispatch* out = nullptr;
    ASSERT_EQ(SafeArrayGetElement(a.array, &index, &out), S_OK);
    EXPECT_EQ(out, &second);
    EXPECT_EQ(second.refs(), 3u);
    out->Release();
  }
  EXPECT_EQ(second.refs(), 1u);  // destroying the array released its element
}

TEST(SafeArray, CopyIsDeep) {
  FakeObject object;
  ArrayGuard a{SafeArrayCreateVector(VT_VARIANT, -1, 3)};
  LONG index = -1;
  Var text(Str(u"x")), number(R8(2.5)), held(Dispatch(object));
  SafeArrayPutElement(a.array, &index, &text.v);
  ++index;
  SafeArrayPutElement(a.array, &index, &number.v);
  ++index;
  SafeArrayPutElement(a.array, &index, &held.v);
  ASSERT_EQ(object.refs(), 3u);

  SAFEARRAY* raw = nullptr;
  ASSERT_EQ(SafeArrayCopy(a.array, &raw), S_OK);
  ArrayGuard copy{raw};
  EXPECT_EQ(object.refs(), 4u);
  LONG low = 0;
  SafeArrayGetLBound(copy.array, 1, &low);
  EXPECT_EQ(low, -1);
  auto* from = static_cast<VARIANT*>(a.array->pvData);
  auto* to = static_cast<VARIANT*>(copy.array->pvData);
  EXPECT_NE(to[0].bstrVal, from[0].bstrVal);
  for (int i = 0; i < 3; ++i) ExpectSameValue(to[i], from[i]);
  VARTYPE vt = VT_EMPTY;
  SafeArrayGetVartype(copy.array, &vt);
  EXPECT_EQ(vt, VT_VARIANT);

  EXPECT_EQ(SafeArrayCopy(nullptr, &raw), S_OK);
  EXPECT_EQ(raw, nullptr);
}

}  // namespace
