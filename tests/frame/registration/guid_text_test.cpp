#include "frame/guid_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace nv {
namespace {

constexpr GUID kWriter = {
    0x29D4A9F9, 0x65CE, 0x4B2D, {0xB8, 0x84, 0x5F, 0x59, 0xCA, 0x82, 0x7B, 0xF7}};
constexpr GUID kOrdered = {
    0x01020304, 0x0506, 0x0708, {0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10}};

TEST(GuidTextTest, FormatsAndParsesEachField) {
  for (const auto& [guid, text] : {std::pair{kWriter, "{29D4A9F9-65CE-4B2D-B884-5F59CA827BF7}"},
                                   std::pair{kOrdered, "{01020304-0506-0708-090A-0B0C0D0E0F10}"}}) {
    EXPECT_EQ(GuidToString(guid), text);
    GUID parsed = GUID_NULL;
    ASSERT_TRUE(ParseGuid(text, parsed)) << text;
    EXPECT_EQ(parsed, guid) << text;
  }
  GUID parsed{};
  ASSERT_TRUE(ParseGuid("{29d4A9f9-65Ce-4b2D-B884-5f59cA827Bf7}", parsed));
  EXPECT_EQ(parsed, kWriter);
}

TEST(GuidTextTest, RejectsMalformedTextAndLeavesGuidAlone) {
  const std::string badTexts[] = {
      "",
      "29D4A9F9-65CE-4B2D-B884-5F59CA827BF7",      // no braces
      "{29D4A9F9-65CE-4B2D-B884-5F59CA827BF7} ",   // trailing blank
      "{29D4A9F965CE-4B2D-B884-5F59CA827BF7-}",    // dash moved
      "{29D4A9G9-65CE-4B2D-B884-5F59CA827BF7}",    // non-hex
      "{+9D4A9F9-65CE-4B2D-B884-5F59CA827BF7}",    // sign
      std::string("{29D4A9F9-65CE-4B2D-B884-5F59CA8\0" "7BF7}", 38),
  };
  for (const std::string& text : badTexts) {
    GUID guid = kOrdered;
    EXPECT_FALSE(ParseGuid(text, guid)) << text;
    EXPECT_EQ(guid, kOrdered) << text;
  }
}

TEST(GuidTextTest, NewGuidsAreDistinctRandomVersion4) {
  const GUID a = NewGuid();
  const GUID b = NewGuid();
  EXPECT_NE(a, b);
  // Version and variant sit in Data3's top nibble and Data4[0]'s top bits
  // only when the bytes are mapped big-endian.
  for (const GUID& g : {a, b}) {
    EXPECT_EQ(g.Data3 >> 12, 4u) << GuidToString(g);
    EXPECT_EQ(g.Data4[0] & 0xC0, 0x80) << GuidToString(g);
  }
}

TEST(StringFromGuid2Test, WritesUtf16WithNulOnlyWhenRoomForIt) {
  OLECHAR buffer[40];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  EXPECT_EQ(StringFromGUID2(kWriter, buffer, 38), 0);
  EXPECT_EQ(buffer[0], u'#');
  EXPECT_EQ(StringFromGUID2(kWriter, nullptr, 40), 0);
  ASSERT_EQ(StringFromGUID2(kWriter, buffer, 39), 39);
  EXPECT_EQ(std::u16string(buffer), u"{29D4A9F9-65CE-4B2D-B884-5F59CA827BF7}");
  EXPECT_EQ(buffer[39], u'#');
}

TEST(GuidFromStringTest, ParsesEitherCaseAndGivesEachFunctionsCodeOnBadText) {
  CLSID clsid{};
  EXPECT_EQ(CLSIDFromString(u"{29d4a9f9-65CE-4b2d-B884-5f59ca827bf7}", &clsid), S_OK);
  EXPECT_EQ(clsid, kWriter);
  IID iid{};
  EXPECT_EQ(IIDFromString(u"{01020304-0506-0708-090a-0B0C0D0E0F10}", &iid), S_OK);
  EXPECT_EQ(iid, kOrdered);
  for (const char16_t* text : {u"", u"NorvVexa1.NvVexaWriter",
                               u"{29D4A9F9-65CE-4B2D-B884-5F59CA827BF7}x",
                               // A wide character must not pass as its low byte.
                               u"{29D4A9F9-65CE-4B2D-B884-5F59CA827BF\uFF17}",
                               u"{29D4A9F9-65CE-4B2D-B884-5F59CA827BF\u0137}"}) {
    clsid = iid = kWriter;
    EXPECT_EQ(CLSIDFromString(text, &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(clsid, GUID_NULL);
    EXPECT_EQ(IIDFromString(text, &iid), E_INVALIDARG);
    EXPECT_EQ(iid, GUID_NULL);
  }
}

}  // namespace
}  // namespace nv
