#include "frame/collections/variant_collection.h"
#include "frame/collections/variant_equality.h"

#include "frame/exception.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

namespace nv {
namespace {

template <class F>
HRESULT ResultOf(F call) {
  try {
    call();
  } catch (const ComError& e) {
    return e.Error();
  }
  return S_OK;
}

Variant Cy(int64_t value) {
  Variant v;
  v.vt = VT_CY;
  v.cyVal.int64 = value;
  return v;
}

Variant Decimal(ULONGLONG lo, BYTE scale) {
  Variant v;
  v.decVal = DECIMAL{0, scale, 0, 0, lo};
  v.vt = VT_DECIMAL;  // overlays wReserved, so set last
  return v;
}

TEST(VariantsEqualTest, ComparesByTypeThenValue) {
  struct Case {
    const char* name;
    Variant a, b;
    bool equal;
  };
  const Case cases[] = {
      {"EmptyEmpty", Variant(), Variant(), true},
      {"EmptyNull", Variant(), Variant::Null(), false},
      {"I1", Variant(int8_t{-1}), Variant(int8_t{-1}), true},
      {"UI4Differ", Variant(uint32_t{1}), Variant(uint32_t{0x80000001u}), false},
      {"BoolDiffer", Variant(true), Variant(false), false},
      {"CyHighHalf", Cy(1), Cy(1 + (int64_t{1} << 32)), false},
      {"Date", Variant::Date(45000.25), Variant::Date(45000.25), true},
      {"R8SignedZeros", Variant(0.0), Variant(-0.0), true},
      {"R8NaN", Variant(std::nan("")), Variant(std::nan("")), false},
      {"I2VersusI4", Variant(int16_t{1}), Variant(int32_t{1}), false},
      {"I4VersusString", Variant(int32_t{1}), Variant(u"1"), false},
      {"StringCase", Variant(u"abc"), Variant(u"ABC"), false},
      {"StringPrefix", Variant(u"ab"), Variant(u"abc"), false},
      {"StringPastNul", Variant(std::u16string_view(u"a\0b", 3)),
       Variant(std::u16string_view(u"a\0c", 3)), false},
      {"DecimalSame", Decimal(15, 1), Decimal(15, 1), true},
      {"DecimalScale", Decimal(15, 1), Decimal(150, 2), false},  // 1.5 vs 1.50
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(VariantsEqual(c.a, c.b), c.equal);
  }
}

TEST(VariantsEqualTest, InterfacesCompareByPointerOnly) {
  int first = 0, second = 0;  // never dereferenced
  VARIANT a{}, b{}, c{};
  a.vt = b.vt = c.vt = VT_DISPATCH;
  a.pdispVal = b.pdispVal = reinterpret_cast<IDispatch*>(&first);
  c.pdispVal = reinterpret_cast<IDispatch*>(&second);
  EXPECT_TRUE(VariantsEqual(a, b));
  EXPECT_FALSE(VariantsEqual(a, c));
}

TEST(VariantsEqualTest, UncomparableSharedTypeFails) {
  const VARTYPE types[] = {VT_I8, VT_UI8, VT_RECORD, VT_ARRAY, VT_ARRAY | VT_I4, VT_BYREF | VT_I4};
  for (VARTYPE vt : types) {
    SCOPED_TRACE(vt);
    VARIANT a{}, b{};
    a.vt = b.vt = vt;
    EXPECT_EQ(ResultOf([&] { VariantsEqual(a, b); }), E_INVALIDARG);
  }
}

class CNvCollectionImplTest : public testing::Test {
 protected:
  std::vector<std::u16string> Texts() const {
    std::vector<std::u16string> out;
    for (int32_t i = 0; i < collection_.Count(); ++i)
      out.emplace_back(collection_.Item(i).ToBstr().View());
    return out;
  }
  CNvCollectionImpl collection_;
};

TEST_F(CNvCollectionImplTest, PutItemInsertsWithinZeroToCount) {
  collection_.Add(Variant(u"A"));
  collection_.Add(Variant(u"B"));
  collection_.PutItem(0, Variant(u"new"));
  collection_.PutItem(3, Variant(u"end"));
  EXPECT_EQ(Texts(), (std::vector<std::u16string>{u"new", u"A", u"B", u"end"}));
  EXPECT_EQ(ResultOf([&] { collection_.PutItem(5, Variant(u"x")); }), E_INVALIDARG);
  EXPECT_EQ(ResultOf([&] { collection_.PutItem(-1, Variant(u"x")); }), E_INVALIDARG);
}

TEST_F(CNvCollectionImplTest, ItemIsACopyAndEmptyOutOfRange) {
  collection_.Add(Variant(u"text"));
  EXPECT_NE(collection_.Item(0).bstrVal, collection_.Item(0).bstrVal);
  for (int32_t index : {-1, 1, INT_MIN}) EXPECT_TRUE(collection_.Item(index).IsEmpty());
}

TEST_F(CNvCollectionImplTest, IndexOfNeedsIdenticalType) {
  collection_.Add(Variant(u"5"));
  collection_.Add(Variant(int32_t{5}));
  collection_.Add(Variant(int32_t{5}));
  EXPECT_EQ(collection_.IndexOf(Variant(int16_t{5})), -1);
  EXPECT_EQ(collection_.IndexOf(Variant(int32_t{5})), 1);
  // Another type is merely unequal; only a shared uncomparable type fails.
  EXPECT_EQ(collection_.IndexOf(Variant(int64_t{5})), -1);
  collection_.Add(Variant(int64_t{5}));
  EXPECT_EQ(ResultOf([&] { collection_.IndexOf(Variant(int64_t{5})); }), E_INVALIDARG);
}

}  // namespace
}  // namespace nv
