#include "frame/collections/variant_array.h"
#include "values/base64.h"
#include "values/hex.h"
#include "value_test_support.h"

#include <gtest/gtest.h>

namespace nv::test {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(Base64, WritesTheStandardAlphabetWithPadding) {
  struct Row {
    Bytes bytes;
    const char16_t* text;
  } rows[] = {
      {{}, u""},
      {{'f'}, u"Zg=="},
      {{'f', 'o'}, u"Zm8="},
      {{'f', 'o', 'o'}, u"Zm9v"},
      {{'f', 'o', 'o', 'b', 'a', 'r'}, u"Zm9vYmFy"},
      {{0xFB, 0xFF, 0xBF}, u"+/+/"},
  };
  for (const Row& row : rows) {
    std::u16string out;
    AppendBase64(out, row.bytes);
    EXPECT_EQ(out, row.text);
    EXPECT_EQ(BytesOf(DecodeBase64(row.text)), row.bytes) << Utf8(row.text);
  }
}

TEST(Base64, ReadingSkipsForeignCharactersAndKeepsWholeBytes) {
  struct Row {
    const char16_t* text;
    Bytes bytes;
  } rows[] = {
      {u"Zm9v\r\nYmFy", {'f', 'o', 'o', 'b', 'a', 'r'}},
      {u" Z m 9 v ", {'f', 'o', 'o'}},
      {u"Zg=", {'f'}},
      {u"Zg", {'f'}},
      {u"Z", {}},
      {u"Zg==Zg==", {'f', 0x06, 0x60}},  // "=" is skipped, not an end
      {u"!!-_\u00e9", {}},
      {u"Zm9v\U0001F600", {'f', 'o', 'o'}},
  };
  for (const Row& row : rows) {
    const Variant value = DecodeBase64(row.text);
    EXPECT_EQ(value.vt, VT_ARRAY | VT_UI1);
    LONG low = -1;
    ASSERT_EQ(SafeArrayGetLBound(value.parray, 1, &low), S_OK);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(BytesOf(value), row.bytes) << Utf8(row.text);
  }
}

TEST(Hex, WritesUpperCaseAndReadsEitherCase) {
  std::u16string out;
  AppendHex(out, Bytes{0x00, 0x0F, 0xA0, 0xFF});
  EXPECT_EQ(out, u"000FA0FF");
  EXPECT_EQ(BytesOf(DecodeHex(u"000fA0Ff")), (Bytes{0x00, 0x0F, 0xA0, 0xFF}));
  EXPECT_EQ(BytesOf(DecodeHex(u"")), Bytes{});
}

TEST(Hex, MalformedTextIsAnInvalidValue) {
  for (const char16_t* text : {u"0", u"0G", u"zz", u" 00", u"0x00"}) {
    EXPECT_EQ(FailureOf([&] { DecodeHex(text); }), Utf8(text) + " is not a valid hexBinary value");
  }
}

TEST(ByteArrays, OnlyOneDimensionalByteArraysAreBytes) {
  Variant bare = VarArrayCreateOneDim(0, 1, VT_UI1);  // type word VT_ARRAY alone
  EXPECT_EQ(BytesOf(bare), (Bytes{0, 0}));

  Variant longs = VarArrayCreateOneDim(0, 1, VT_I4);
  Variant nullArray;
  nullArray.vt = VT_ARRAY | VT_UI1;
  Variant text(u"AAEC");
  for (Variant* value : {&longs, &nullArray, &text}) {
    EXPECT_EQ(FailureOf([&] { ByteArrayView view(*value); }), "Expecting array of byte");
  }
}

}  // namespace
}  // namespace nv::test
