#include "frame/automation/automation_api.h"
#include "variant_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <tuple>

namespace {

using namespace nvtest;

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
  EXPECT_EQ(View(items[0]), u"one");
  EXPECT_EQ(items[2], nullptr);

  // Elements are copied in and out; a copy holds its own references and
  // strings, and destroying it releases them.
  FakeObject object;
  Var text(Str(u"x")), held(Dispatch(object));
  ArrayGuard variants{SafeArrayCreateVector(VT_VARIANT, -1, 2)};
  index = -1;
  SafeArrayPutElement(variants.array, &index, &text.v);
  index = 0;
  SafeArrayPutElement(variants.array, &index, &held.v);
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
  ASSERT_EQ(SafeArrayGetElement(variants.array, &index, &out.v), S_OK);
  EXPECT_EQ(object.refs, 4u);  // the copy released its reference; `out` holds one
}

}  // namespace
