// The library's collections: the interface and string lists, the key-ordered
// dictionary, the variant collection with its equality, and byte arrays.
#include "frame/collections/collection_objects.h"
#include "frame/collections/containers.h"

#include <gtest/gtest.h>

#include "frame/automation/variant_test_support.h"
#include "support/scratch.h"

#include <climits>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace nv {
namespace {

using nv_test::FailureOf;
using Texts = std::vector<std::u16string>;

template <class F>
HRESULT ResultOf(F call) {
  try {
    call();
  } catch (const ComError& e) {
    return e.Error();
  }
  return S_OK;
}

TEST(InterfaceList, HoldsOneReferenceEachAndKeepsNull) {
  nvtest::FakeObject a, b(/*dispatchable=*/false), c;
  CNvInterfaceList list;
  for (nvtest::FakeObject* object : {&a, &b, &c}) list.Add(object->unknown());
  EXPECT_EQ(list.Add(nullptr), 3);
  EXPECT_FALSE(list.Item(3));
  EXPECT_EQ(ResultOf([&] { list.ItemAs<IDispatch>(1); }), E_NOINTERFACE);
  for (int32_t index : {-1, 4})  // the remove message is checked by the schema's lists
    EXPECT_EQ(FailureOf([&] { list.Item(index); }), "Illegal index. Failed to get item from list.");
  list.Remove(3);
  list.Remove(0);
  EXPECT_EQ(a.refs, 1u);
  EXPECT_EQ(list.Item(0).get(), b.unknown());
  list.Clear();
  EXPECT_EQ(b.refs + c.refs, 2u);
}

// The simple string list object and the string list it forwards to.
TEST(StringList, FindsExactlyIgnoresBadIndexesAndDeleteClosesTheGap) {
  ComPtr<INvSimpleStringList> list = CreateObject<CNvSimpleStringList>();
  for (const char16_t* item : {u"name", u"", u"x", u"name"}) list.Add(item);
  EXPECT_TRUE(list.IndexOf(u"name") == 0 && list.IndexOf(u"Name") == -1 && list.IndexOf(u"") == 1);
  for (int32_t index : {-1, 4}) {
    EXPECT_TRUE(list.Item(index).Empty());
    list.Delete(index);
  }
  list.Delete(0);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Item(2), Bstr(u"name"));
}

// Keys are visited in code-unit order (the surrogate pair of U+10000 precedes
// U+E000), looked up exactly, and a duplicate keeps the first value.
TEST(Dictionary, VisitsKeysInCodeUnitOrderAndKeepsTheFirstValue) {
  CNvDictionary<Bstr> dictionary;
  for (const char16_t* key : {u"b", u"a", u"B", u"\uE000", u"\U00010000", u""})
    dictionary.Add(Bstr(key), u"v");
  Texts keys;
  for (const auto& [key, value] : dictionary) keys.emplace_back(key.View());
  EXPECT_EQ(keys, (Texts{u"", u"B", u"a", u"b", u"\U00010000", u"\uE000"}));
  dictionary.Add(u"b", u"second");
  dictionary.Add(Bstr(), u"null");  // the empty key again
  EXPECT_TRUE(dictionary.Get(u"b") == Bstr(u"v") && dictionary.Get(u"") == Bstr(u"v"));
  EXPECT_TRUE(dictionary.Get(u"A").Empty());
}

Variant Decimal(ULONGLONG lo, BYTE scale) {
  Variant v;
  v.decVal = DECIMAL{0, scale, 0, 0, lo};
  v.vt = VT_DECIMAL;  // overlays wReserved, so set last
  return v;
}

// Values compare exactly, objects by pointer without dereferencing them.
TEST(VariantsEqual, ComparesByTypeThenValueAlsoInTheVariantCollection) {
  const std::tuple<Variant, Variant, bool> cases[] = {
      {Variant(0.0), Variant(-0.0), true},
      {Variant(std::nan("")), Variant(std::nan("")), false},
      {Variant(std::u16string_view(u"a\0b", 3)), Variant(std::u16string_view(u"a\0c", 3)), false},
      {Decimal(15, 1), Decimal(150, 2), false},  // 1.5 vs 1.50
  };
  for (const auto& [a, b, equal] : cases) EXPECT_EQ(VariantsEqual(a, b), equal) << a.vt;
  int first = 0, second = 0;
  VARIANT a{}, b{};
  a.vt = b.vt = VT_DISPATCH;
  a.pdispVal = b.pdispVal = reinterpret_cast<IDispatch*>(&first);
  EXPECT_TRUE(VariantsEqual(a, b));
  b.pdispVal = reinterpret_cast<IDispatch*>(&second);
  EXPECT_FALSE(VariantsEqual(a, b));

  // Through the interface object: another type is merely unequal; only a
  // shared uncomparable type fails, and the failure reaches the caller.
  ComPtr<INvVariantCollection> values = CreateObject<CNvCollection>();
  values.Add(Variant(int32_t(5)));
  values.Add(Variant(u"B"));
  values.PutItem(0, Variant(u"new"));
  values.PutItem(3, Variant(int16_t(5)));
  Texts texts;
  for (int32_t i = 0; i < values.Count(); ++i) texts.emplace_back(values.Item(i).ToBstr().View());
  EXPECT_EQ(texts, (Texts{u"new", u"5", u"B", u"5"}));
  EXPECT_EQ(ResultOf([&] { values.PutItem(5, Variant(u"x")); }), E_INVALIDARG);
  EXPECT_NE(values.Item(0).bstrVal, values.Item(0).bstrVal);  // a copy each time
  EXPECT_TRUE(values.Item(4).IsEmpty());

  EXPECT_EQ(values.IndexOf(Variant(int32_t(5))), 1);
  EXPECT_EQ(values.IndexOf(Variant(int16_t(5))), 3);
  EXPECT_EQ(values.IndexOf(Variant(int64_t(5))), -1);
  values.Add(Variant(int64_t(5)));
  EXPECT_EQ(ResultOf([&] { values.IndexOf(Variant(int64_t(5))); }), E_INVALIDARG);
}

std::vector<uint8_t> Bytes(VARIANT& array) {
  const auto* data = static_cast<const uint8_t*>(VarArrayLock(array));
  std::vector<uint8_t> bytes(data, data + array.parray->rgsabound[0].cElements);
  VarArrayUnlock(array);
  return bytes;
}

// Redim turns wider elements into bytes, keeps the leading ones and zeroes
// the rest; a copy of the bare array flag holds its own array.
TEST(VarArray, RedimsAndCopies) {
  Variant array = VarArrayCreateOneDim(0, 1, VT_I4);
  auto* data = static_cast<int32_t*>(VarArrayLock(array));
  data[0] = 0x04030201;  // little-endian layout
  data[1] = 0x08070605;
  VarArrayUnlock(array);
  VarArrayRedimBytes(array, 6);
  VARTYPE stored = VT_EMPTY;
  ASSERT_EQ(SafeArrayGetVartype(array.parray, &stored), S_OK);
  EXPECT_EQ(stored, VT_UI1);
  EXPECT_EQ(array.vt, 0x2000);
  Variant copy(array);  // the element type must come from the array, not the flag
  VarArrayRedimBytes(array, 8);  // never reads past the old data
  EXPECT_EQ(Bytes(array), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 0, 0}));
  EXPECT_EQ(Bytes(copy), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
}

}  // namespace
}  // namespace nv
