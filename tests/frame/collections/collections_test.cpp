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
  std::vector<const nvtest::FakeObject*> releases;
  nvtest::FakeObject a, b(/*dispatchable=*/false), c;
  CNvInterfaceList list;
  for (nvtest::FakeObject* object : {&a, &b, &c}) {
    object->releases = &releases;
    list.Add(object->unknown());
  }
  EXPECT_EQ(a.refs, 2u);
  EXPECT_EQ(list.Add(nullptr), 3);
  EXPECT_FALSE(list.Item(3));
  EXPECT_EQ(FailureOf([&] { list.ItemAs<IUnknown>(3); }), "A required object is missing");
  EXPECT_EQ(ResultOf([&] { list.ItemAs<IDispatch>(1); }), E_NOINTERFACE);
  for (int32_t index : {-1, 4, INT_MIN}) {
    SCOPED_TRACE(index);
    EXPECT_EQ(FailureOf([&] { list.Item(index); }),
              "Illegal index. Failed to get item from list.");
    EXPECT_EQ(FailureOf([&] { list.Remove(index); }),
              "Illegal index. Failed to remove item from list.");
  }
  list.Remove(3);
  releases.clear();  // the items fetched above were released too
  list.Remove(0);
  EXPECT_EQ(releases, std::vector<const nvtest::FakeObject*>{&a});
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Item(0).get(), b.unknown());
  list.Add(a.unknown());
  releases.clear();
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(releases, (std::vector<const nvtest::FakeObject*>{&a, &c, &b}));  // last to first
}

// The string list and the simple string list object, which forwards to one,
// must behave alike, so every case runs on both.
template <class List>
void ExpectStringListRules(List& list) {
  for (const char16_t* item : {u"name", u"", u"x", u"name"}) list.Add(item);
  EXPECT_EQ(list.IndexOf(u"name"), 0);
  EXPECT_EQ(list.IndexOf(u"Name"), -1);
  EXPECT_EQ(list.IndexOf(u"nam"), -1);
  EXPECT_EQ(list.IndexOf(u""), 1);
  for (int32_t index : {-1, 4, INT_MIN}) {
    EXPECT_TRUE(list.Item(index).Empty());
    list.Delete(index);
  }
  EXPECT_EQ(list.Count(), 4);
  list.Delete(0);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Item(0), Bstr(u""));
  EXPECT_EQ(list.Item(2), Bstr(u"name"));
}

TEST(StringList, FindsExactlyIgnoresBadIndexesAndDeleteClosesTheGap) {
  CNvStringList list;
  ExpectStringListRules(list);
  ComPtr<INvSimpleStringList> object = CreateObject<CNvSimpleStringList>();
  ExpectStringListRules(object);
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
  dictionary.Clear();
  dictionary.Add(u"key", u"first");
  dictionary.Add(u"key", u"second");
  dictionary.Add(Bstr(), u"null");
  dictionary.Add(u"", u"empty");  // the null key again
  EXPECT_EQ(dictionary.Count(), 2);
  EXPECT_EQ(dictionary.Get(u"key"), Bstr(u"first"));
  EXPECT_EQ(dictionary.Get(u""), Bstr(u"null"));
  EXPECT_FALSE(dictionary.Exists(u"Key"));
  EXPECT_TRUE(dictionary.Get(u"Key").Empty());
  dictionary.Clear();
  EXPECT_EQ(dictionary.begin(), dictionary.end());
}

Variant Decimal(ULONGLONG lo, BYTE scale) {
  Variant v;
  v.decVal = DECIMAL{0, scale, 0, 0, lo};
  v.vt = VT_DECIMAL;  // overlays wReserved, so set last
  return v;
}

TEST(VariantsEqual, ComparesByTypeThenValue) {
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
  for (const Case& c : cases) EXPECT_EQ(VariantsEqual(c.a, c.b), c.equal) << c.name;
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

// Through the interface object: another type is merely unequal; only a
// shared uncomparable type fails, and the failure reaches the caller.
TEST(VariantCollection, PutItemInsertsItemCopiesAndIndexOfNeedsTheIdenticalType) {
  ComPtr<INvVariantCollection> values = CreateObject<CNvCollection>();
  values.Add(Variant(int32_t(5)));
  values.Add(Variant(u"B"));
  values.PutItem(0, Variant(u"new"));
  values.PutItem(3, Variant(int16_t(5)));
  Texts texts;
  for (int32_t i = 0; i < values.Count(); ++i) texts.emplace_back(values.Item(i).ToBstr().View());
  EXPECT_EQ(texts, (Texts{u"new", u"5", u"B", u"5"}));
  EXPECT_EQ(ResultOf([&] { values.PutItem(5, Variant(u"x")); }), E_INVALIDARG);
  EXPECT_EQ(ResultOf([&] { values.PutItem(-1, Variant(u"x")); }), E_INVALIDARG);
  EXPECT_NE(values.Item(0).bstrVal, values.Item(0).bstrVal);  // a copy each time
  for (int32_t index : {-1, 4, INT_MIN}) EXPECT_TRUE(values.Item(index).IsEmpty());

  EXPECT_EQ(values.IndexOf(Variant(int32_t(5))), 1);
  EXPECT_EQ(values.IndexOf(Variant(int16_t(5))), 3);
  EXPECT_EQ(values.IndexOf(Variant(int64_t(5))), -1);
  values.Add(Variant(int64_t(5)));
  EXPECT_EQ(ResultOf([&] { values.IndexOf(Variant(int64_t(5))); }), E_INVALIDARG);
  values.Clear();
  EXPECT_EQ(values.Count(), 0);
}

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

// Zero-based arrays under the bare array flag only; redim keeps the leading
// bytes; a copy holds its own array.
TEST(VarArray, CreatesRedimsAndCopies) {
  for (LONG high : {-1, 9}) {
    Variant array = VarArrayCreateOneDim(0, high, VT_VARIANT);
    VARTYPE stored = VT_EMPTY;
    ASSERT_EQ(SafeArrayGetVartype(array.parray, &stored), S_OK);
    EXPECT_EQ(stored, VT_VARIANT);
    EXPECT_EQ(array.vt, 0x2000);
    EXPECT_EQ(array.parray->rgsabound[0].cElements, static_cast<ULONG>(high + 1));
  }
  EXPECT_EQ(FailureOf([&] { VarArrayCreateOneDim(1, 5, VT_UI1); }),
            "VarArrayCreateOneDim - low bound must be 0");
  Variant typed = VarArrayCreateOneDim(0, 1, VT_UI1);
  typed.vt = VT_ARRAY | VT_UI1;
  EXPECT_EQ(FailureOf([&] { VarArrayRedimBytes(typed, 3); }),
            "VarArrayLock - variant is not an array");
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

  Variant words = VarArrayCreateOneDim(0, 1, VT_I4);  // wider elements become bytes
  auto* data = static_cast<int32_t*>(VarArrayLock(words));
  data[0] = 0x04030201;  // little-endian layout
  data[1] = 0x08070605;
  VarArrayUnlock(words);
  VarArrayRedimBytes(words, 6);
  VARTYPE stored = VT_EMPTY;
  ASSERT_EQ(SafeArrayGetVartype(words.parray, &stored), S_OK);
  EXPECT_EQ(stored, VT_UI1);
  EXPECT_EQ(Bytes(words), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
  // The bare array flag carries no element type; copying must take it from the array.
  Variant array = ByteArray({5, 6});
  Variant copy(array);
  ASSERT_NE(copy.parray, array.parray);
  static_cast<uint8_t*>(VarArrayLock(array))[0] = 9;
  VarArrayUnlock(array);
  EXPECT_EQ(Bytes(copy), (std::vector<uint8_t>{5, 6}));
}

}  // namespace
}  // namespace nv
