#include "frame/collections/variant_array.h"

#include "frame/exception.h"

#include <gtest/gtest.h>

#include "support/scratch.h"

#include <cstdint>
#include <string>
#include <vector>

namespace nv {
namespace {

using nv_test::FailureOf;

std::vector<uint8_t> Bytes(VARIANT& array) {
  const auto* data = static_cast<const uint8_t*>(VarArrayLock(array));
  std::vector<uint8_t> bytes(data, data + array.parray->rgsabound[0].cElements);
  VarArrayUnlock(array);
  return bytes;
}

Variant ByteArray(const std::vector<uint8_t>& bytes) {
  Variant array = VarArrayCreateOneDim(0, static_cast<LONG>(bytes.size()) - 1, VT_UI1);
  if (!bytes.empty()) {
    std::copy(bytes.begin(), bytes.end(), static_cast<uint8_t*>(VarArrayLock(array)));
    VarArrayUnlock(array);
  }
  return array;
}

TEST(VarArrayCreateOneDimTest, MakesZeroBasedArrayUnderBareArrayFlag) {
  for (LONG high : {0, -1, 9}) {
    for (VARTYPE type : {VT_UI1, VT_VARIANT}) {
      SCOPED_TRACE(testing::Message() << high << "/" << type);
      Variant array = VarArrayCreateOneDim(0, high, type);
      VARTYPE stored = VT_EMPTY;
      ASSERT_EQ(SafeArrayGetVartype(array.parray, &stored), S_OK);
      EXPECT_EQ(stored, type);
      EXPECT_EQ(array.vt, 0x2000);
      EXPECT_EQ(array.parray->rgsabound[0].lLbound, 0);
      EXPECT_EQ(array.parray->rgsabound[0].cElements, static_cast<ULONG>(high + 1));
    }
  }
  EXPECT_EQ(FailureOf([&] { VarArrayCreateOneDim(1, 5, VT_UI1); }),
            "VarArrayCreateOneDim - low bound must be 0");
}

TEST(VarArrayLockTest, RefusesAnythingButTheBareArrayFlag) {
  Variant typed = VarArrayCreateOneDim(0, 1, VT_UI1);
  typed.vt = VT_ARRAY | VT_UI1;
  Variant number(int32_t{1});
  for (Variant* candidate : {&typed, &number}) {
    SCOPED_TRACE(candidate->vt);
    EXPECT_EQ(FailureOf([&] { VarArrayLock(*candidate); }),
              "VarArrayLock - variant is not an array");
    EXPECT_EQ(FailureOf([&] { VarArrayRedimBytes(*candidate, 3); }),
              "VarArrayLock - variant is not an array");
  }
}

TEST(VarArrayRedimBytesTest, KeepsLeadingBytes) {
  struct Case {
    std::vector<uint8_t> before;
    LONG count;
    std::vector<uint8_t> after;
  };
  const Case cases[] = {
      {{1, 2, 3, 4}, 2, {1, 2}},
      {{1, 2}, 4, {1, 2, 0, 0}},  // never reads past the old data
      {{}, 3, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.count);
    Variant array = ByteArray(c.before);
    VarArrayRedimBytes(array, c.count);
    EXPECT_EQ(array.vt, 0x2000);
    EXPECT_EQ(Bytes(array), c.after);
  }
  Variant same = ByteArray({7, 8});
  SAFEARRAY* before = same.parray;
  VarArrayRedimBytes(same, 2);
  EXPECT_EQ(same.parray, before);
}

TEST(VarArrayRedimBytesTest, WiderElementsBecomeBytes) {
  Variant array = VarArrayCreateOneDim(0, 1, VT_I4);
  auto* words = static_cast<int32_t*>(VarArrayLock(array));
  words[0] = 0x04030201;  // little-endian layout
  words[1] = 0x08070605;
  VarArrayUnlock(array);
  VarArrayRedimBytes(array, 6);
  VARTYPE stored = VT_EMPTY;
  ASSERT_EQ(SafeArrayGetVartype(array.parray, &stored), S_OK);
  EXPECT_EQ(stored, VT_UI1);
  EXPECT_EQ(Bytes(array), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
}

// The bare array flag carries no element type; copying must take it from the array.
TEST(VarArrayVariantTest, CopyHoldsItsOwnArray) {
  Variant array = ByteArray({5, 6});
  Variant copy(array);
  ASSERT_NE(copy.parray, array.parray);
  static_cast<uint8_t*>(VarArrayLock(array))[0] = 9;
  VarArrayUnlock(array);
  EXPECT_EQ(Bytes(copy), (std::vector<uint8_t>{5, 6}));
}

}  // namespace
}  // namespace nv
