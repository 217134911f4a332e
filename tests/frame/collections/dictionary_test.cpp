#include "frame/collections/dictionary.h"

#include "frame/com_ptr.h"
#include "frame/variant.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nv {
namespace {

std::vector<std::u16string> VisitOrder(std::vector<std::u16string> added) {
  CNvDictionary<Bstr> dictionary;
  for (const auto& key : added) dictionary.Add(Bstr(key), u"v");
  std::vector<std::u16string> keys;
  for (const auto& [key, value] : dictionary) keys.emplace_back(key.View());
  return keys;
}

TEST(CNvDictionaryTest, VisitsKeysInCodeUnitOrder) {
  using Keys = std::vector<std::u16string>;
  EXPECT_EQ(VisitOrder({u"b", u"a", u"B"}), (Keys{u"B", u"a", u"b"}));
  EXPECT_EQ(VisitOrder({u"abc", u"", u"ab"}), (Keys{u"", u"ab", u"abc"}));
  // Code units, not code points: the surrogate pair of U+10000 precedes U+E000.
  EXPECT_EQ(VisitOrder({u"\uE000", u"\U00010000"}), (Keys{u"\U00010000", u"\uE000"}));
}

TEST(CNvDictionaryTest, DuplicateAddKeepsFirstValueAndLookupIsCaseSensitive) {
  CNvDictionary<Bstr> dictionary;
  dictionary.Add(u"key", u"first");
  dictionary.Add(u"key", u"second");
  dictionary.Add(Bstr(), u"null");
  dictionary.Add(u"", u"empty");  // the null key again
  EXPECT_EQ(dictionary.Count(), 2);
  EXPECT_EQ(dictionary.Get(u"key"), Bstr(u"first"));
  EXPECT_EQ(dictionary.Get(u""), Bstr(u"null"));
  EXPECT_TRUE(dictionary.Exists(u"key"));
  EXPECT_FALSE(dictionary.Exists(u"Key"));
  EXPECT_TRUE(dictionary.Get(u"Key").Empty());
  dictionary.Clear();
  EXPECT_EQ(dictionary.Count(), 0);
  EXPECT_EQ(dictionary.begin(), dictionary.end());
}

TEST(CNvDictionaryTest, AbsentKeyYieldsEmptyValue) {
  EXPECT_EQ(CNvDictionary<Variant>().Get(u"x").Type(), VT_EMPTY);
  EXPECT_FALSE(CNvDictionary<ComPtr<IUnknown>>().Get(u"x"));
}

}  // namespace
}  // namespace nv
