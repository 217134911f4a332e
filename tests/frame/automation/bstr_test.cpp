#include "frame/automation/automation_api.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string_view>

namespace {

std::u16string_view View(BSTR text) { return {text, SysStringLen(text)}; }

TEST(Bstr, AllocStringCopiesUpToTheNulAndTerminates) {
  const std::u16string_view cases[] = {u"", u"abc", u"\u00e9\u4e2d", u"\U0001F600x"};
  for (std::u16string_view text : cases) {
    BSTR s = SysAllocString(text.data());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(View(s), text);
    EXPECT_EQ(SysStringByteLen(s), text.size() * 2);
    EXPECT_EQ(s[text.size()], u'\0');
    SysFreeString(s);
  }
}

TEST(Bstr, NullIsTheEmptyString) {
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysStringByteLen(nullptr), 0u);
  SysFreeString(nullptr);
}

TEST(Bstr, AllocStringLenKeepsEmbeddedNulsAndZeroFillsWithoutSource) {
  BSTR s = SysAllocStringLen(u"a\0b", 3);
  EXPECT_EQ(View(s), std::u16string_view(u"a\0b", 3));
  SysFreeString(s);

  BSTR blank = SysAllocStringLen(nullptr, 4);
  ASSERT_NE(blank, nullptr);
  EXPECT_EQ(View(blank), std::u16string_view(u"\0\0\0\0", 4));
  EXPECT_EQ(blank[4], u'\0');
  SysFreeString(blank);
}

TEST(Bstr, ByteLenKeepsOddLengthsTerminatedAsWideText) {
  struct Row {
    const char* source;
    UINT bytes;
  };
  const Row rows[] = {{"abc", 3}, {"ab", 2}, {"a", 1}, {"", 0}, {nullptr, 5}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.bytes);
    BSTR s = SysAllocStringByteLen(row.source, row.bytes);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringByteLen(s), row.bytes);
    EXPECT_EQ(SysStringLen(s), row.bytes / 2);
    const auto* bytes = reinterpret_cast<const char*>(s);
    if (row.source) EXPECT_EQ(std::memcmp(bytes, row.source, row.bytes), 0);
    else EXPECT_EQ(std::string_view(bytes, row.bytes), std::string_view("\0\0\0\0\0", 5));
    EXPECT_EQ(bytes[row.bytes], '\0');
    EXPECT_EQ(s[(row.bytes + 1) / 2], u'\0');  // the char16 after the last partial one
    SysFreeString(s);
  }
}

TEST(Bstr, LengthsBeyondTheByteCountFail) {
  EXPECT_EQ(SysAllocStringLen(nullptr, UINT_MAX), nullptr);
  EXPECT_EQ(SysAllocStringLen(nullptr, 0x80000000u), nullptr);  // byte count would wrap
  EXPECT_EQ(SysAllocStringByteLen(nullptr, UINT_MAX), nullptr);
}

TEST(Bstr, ReAllocStringReplacesEvenFromItsOwnText) {
  BSTR s = SysAllocString(u"hello");
  ASSERT_TRUE(SysReAllocString(&s, s + 1));  // the source lies inside the old string
  EXPECT_EQ(View(s), u"ello");
  ASSERT_TRUE(SysReAllocString(&s, nullptr));
  EXPECT_EQ(s, nullptr);
  EXPECT_FALSE(SysReAllocString(nullptr, u"x"));
}

TEST(Bstr, ReAllocStringLenWithoutSourceKeepsThePrefix) {
  BSTR s = SysAllocString(u"abc");
  ASSERT_TRUE(SysReAllocStringLen(&s, nullptr, 5));
  EXPECT_EQ(View(s), std::u16string_view(u"abc\0\0", 5));
  ASSERT_TRUE(SysReAllocStringLen(&s, nullptr, 2));
  EXPECT_EQ(View(s), u"ab");
  ASSERT_TRUE(SysReAllocStringLen(&s, u"xyz", 3));
  EXPECT_EQ(View(s), u"xyz");
  SysFreeString(s);
}

TEST(Bstr, FailedReAllocLeavesTheOldString) {
  BSTR s = SysAllocString(u"keep");
  BSTR before = s;
  EXPECT_FALSE(SysReAllocStringLen(&s, nullptr, UINT_MAX));
  EXPECT_EQ(s, before);
  EXPECT_EQ(View(s), u"keep");
  SysFreeString(s);
}

}  // namespace
