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
      {"EmptyNull", Variant(), Variant::Null(), false},
      {"UI4Differ", Variant(uint32_t{1}), Variant(uint32_t{0x80000001u}), false},
      {"R8SignedZeros", Variant(0.0), Variant(-0.0), true},
      {"R8NaN", Variant(std::nan("")), Variant(std::nan("")), false},
      {"I2VersusI4", Variant(int16_t{1}), Variant(int32_t{1}), false},
      {"StringCase", Variant(u"abc"), Variant(u"ABC"), false},
      {"StringPastNul", Variant(std::u16string_view(u"a\0b", 3)),
       Variant(std::u16string_view(u"a\0c", 3)), false},
      {"DecimalScale", Decimal(15, 1), Decimal(150, 2), false},  // 1.5 vs 1.50
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(VariantsEqual(c.a, c.b), c.equal);
  }
  int first = 0, second = 0;  // objects by pointer only: never dereferenced
  VARIANT a{}, b{};
  a.vt = b.vt = VT_DISPATCH;
  a.pdispVal = b.pdispVal = reinterpret_cast<IDispatch*>(&first);
  EXPECT_TRUE(VariantsEqual(a, b));
  b.pdispVal = reinterpret_cast<IDispatch*>(&second);
  EXPECT_FALSE(VariantsEqual(a, b));
  for (VARTYPE vt : {VARTYPE{VT_I8}, VARTYPE{VT_RECORD}, VARTYPE(VT_ARRAY | VT_I4),
                     VARTYPE(VT_BYREF | VT_I4)}) {
    a.vt = b.vt = vt;  // an uncomparable type shared by both
    EXPECT_EQ(ResultOf([&] { VariantsEqual(a, b); }), E_INVALIDARG) << vt;
  }
}

TEST(CNvCollectionImplTest, PutItemInsertsWithinZeroToCount) {
  CNvCollectionImpl collection;
  collection.Add(Variant(u"A"));
  collection.Add(Variant(u"B"));
  collection.PutItem(0, Variant(u"new"));
  collection.PutItem(3, Variant(u"end"));
  std::vector<std::u16string> texts;
  for (int32_t i = 0; i < collection.Count(); ++i)
    texts.emplace_back(collection.Item(i).ToBstr().View());
  EXPECT_EQ(texts, (std::vector<std::u16string>{u"new", u"A", u"B", u"end"}));
  EXPECT_EQ(ResultOf([&] { collection.PutItem(5, Variant(u"x")); }), E_INVALIDARG);
  EXPECT_EQ(ResultOf([&] { collection.PutItem(-1, Variant(u"x")); }), E_INVALIDARG);
  EXPECT_NE(collection.Item(0).bstrVal, collection.Item(0).bstrVal);  // a copy each time
  for (int32_t index : {-1, 4, INT_MIN}) EXPECT_TRUE(collection.Item(index).IsEmpty());
}

TEST(CNvCollectionImplTest, IndexOfNeedsIdenticalType) {
  CNvCollectionImpl collection;
  collection.Add(Variant(u"5"));
  collection.Add(Variant(int32_t{5}));
  collection.Add(Variant(int32_t{5}));
  EXPECT_EQ(collection.IndexOf(Variant(int16_t{5})), -1);
  EXPECT_EQ(collection.IndexOf(Variant(int32_t{5})), 1);
  // Another type is merely unequal; only a shared uncomparable type fails.
  EXPECT_EQ(collection.IndexOf(Variant(int64_t{5})), -1);
  collection.Add(Variant(int64_t{5}));
  EXPECT_EQ(ResultOf([&] { collection.IndexOf(Variant(int64_t{5})); }), E_INVALIDARG);
}

}  // namespace
}  // namespace nv
