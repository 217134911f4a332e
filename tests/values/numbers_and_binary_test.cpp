#include "frame/collections/collection_objects.h"
#include "values/binary_text.h"
#include "values/number_text.h"
#include "value_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace nv::test {
namespace {

// Leading numbers as atoi (keeping the low bits) and strtod in the C locale read them.
TEST(NumberParse, LeadingNumbersLikeTheCLibrary) {
  const std::pair<const char16_t*, int64_t> rows[] = {
      {u"abc", 0}, {u" \t\n+42", 42}, {u"- 5", 0}, {u"\u00a05", 0},
      {u"-9223372036854775808", INT64_MIN},
      {u"18446744073709551617", 1},  // 2^64 + 1: only the low bits are kept
  };
  for (const auto& [text, value] : rows) EXPECT_EQ(ParseLeadingInteger(text), value) << Utf8(text);
  const double inf = std::numeric_limits<double>::infinity();
  const std::pair<const char16_t*, double> reals[] = {
      {u" \t+1.5E+3x", 1500}, {u".5", 0.5},        {u"1e+", 1},  {u".", 0},
      {u"0x1p3", 0},           {u"inf", 0},         {u"1,5", 1},  {u"-1e999", -inf},
      {u"1e-999", 0},          {u"2.5e-310", 2.5e-310},
  };
  for (const auto& [text, value] : reals) EXPECT_EQ(ParseLeadingReal(text), value) << Utf8(text);
}

// Writing pads with "="; reading skips foreign characters and keeps whole bytes.
TEST(Base64, WritesTheStandardAlphabetAndReadsLeniently) {
  const std::pair<Bytes, const char16_t*> written[] = {{{'f', 'o'}, u"Zm8="},
                                                       {{0xFB, 0xFF, 0xBF}, u"+/+/"}};
  for (const auto& [bytes, text] : written) {
    std::u16string out;
    AppendBase64(out, bytes);
    EXPECT_EQ(out, text);
  }
  const std::pair<const char16_t*, Bytes> read[] = {
      {u"+/+/", {0xFB, 0xFF, 0xBF}},
      {u"Zm9v\r\nYm Fy", {'f', 'o', 'o', 'b', 'a', 'r'}},
      {u"Zg=", {'f'}},
      {u"Z", {}},
      {u"Zg==Zg==", {'f', 0x06, 0x60}},  // "=" is skipped, not an end
      {u"!!-_\u00e9", {}},
      {u"Zm9v\U0001F600", {'f', 'o', 'o'}},
  };
  for (const auto& [text, bytes] : read) {
    const Variant value = DecodeBase64(text);
    LONG low = -1;
    ASSERT_EQ(SafeArrayGetLBound(value.parray, 1, &low), S_OK);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(BytesOf(value), bytes) << Utf8(text);
  }
}

TEST(Hex, WritesUpperCaseReadsEitherCaseAndRefusesMalformedText) {
  std::u16string out;
  AppendHex(out, Bytes{0x00, 0x0F, 0xA0, 0xFF});
  EXPECT_EQ(out, u"000FA0FF");
  EXPECT_EQ(BytesOf(DecodeHex(u"000fA0Ff")), (Bytes{0x00, 0x0F, 0xA0, 0xFF}));
  for (const char16_t* text : {u"0", u"0G", u"zz"}) {
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
