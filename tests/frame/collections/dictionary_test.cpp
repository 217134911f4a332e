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
  EXPECT_EQ(VisitOrder({u"a", u""}), (Keys{u"", u"a"}));
  EXPECT_EQ(VisitOrder({u"abc", u"ab"}), (Keys{u"ab", u"abc"}));
  EXPECT_EQ(VisitOrder({u"\uFFFF", u"z", u"\u00E9"}), (Keys{u"z", u"\u00E9", u"\uFFFF"}));
  // Code units, not code points: the surrogate pair of U+10000 precedes U+E000.
  EXPECT_EQ(VisitOrder({u"\uE000", u"\U00010000"}), (Keys{u"\U00010000", u"\uE000"}));
}

TEST(CNvDictionaryTest, DuplicateAddKeepsFirstValue) {
  CNvDictionary<Bstr> dictionary;
  dictionary.Add(u"key", u"first");
  dictionary.Add(u"key", u"second");
  dictionary.Add(Bstr(), u"null");
  dictionary.Add(u"", u"empty");  // the null key again
  EXPECT_EQ(dictionary.Count(), 2);
  EXPECT_EQ(dictionary.Get(u"key"), Bstr(u"first"));
  EXPECT_EQ(dictionary.Get(u""), Bstr(u"null"));
}

TEST(CNvDictionaryTest, LookupIsCaseSensitive) {
  CNvDictionary<Bstr> dictionary;
  dictionary.Add(u"name", u"value");
  EXPECT_TRUE(dictionary.Exists(u"name"));
  EXPECT_FALSE(dictionary.Exists(u"Name"));
  EXPECT_TRUE(dictionary.Get(u"Name").Empty());
}

TEST(CNvDictionaryTest, AbsentKeyYieldsEmptyValue) {
  EXPECT_EQ(CNvDictionary<Variant>().Get(u"x").Type(), VT_EMPTY);
  EXPECT_FALSE(CNvDictionary<ComPtr<IUnknown>>().Get(u"x"));
}

TEST(CNvDictionaryTest, ClearRemovesEverything) {
  CNvDictionary<Variant> dictionary;
  dictionary.Add(u"a", Variant(u"text"));
  dictionary.Clear();
  EXPECT_EQ(dictionary.Count(), 0);
  EXPECT_EQ(dictionary.begin(), dictionary.end());
}

}  // namespace
}  // namespace nv
