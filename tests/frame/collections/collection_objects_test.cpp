// The collections as other objects of the library reach them: through their
// internal interfaces and the generated call wrappers.
#include "frame/collections/collection_objects.h"

#include <gtest/gtest.h>

namespace nv {
namespace {

TEST(VariantCollectionObject, InsertsFindsByExactTypeAndFailsOnUncomparableTypes) {
  ComPtr<INvVariantCollection> values = CreateObject<CNvCollection>();
  values.Add(Variant(u"A"));
  values.PutItem(0, Variant(int32_t(5)));
  EXPECT_EQ(values.Count(), 2);
  EXPECT_EQ(values.Item(1).ToBstr().ToUtf8(), "A");
  EXPECT_EQ(values.IndexOf(Variant(int32_t(5))), 0);
  EXPECT_EQ(values.IndexOf(Variant(int16_t(5))), -1);
  EXPECT_TRUE(values.Item(7).IsEmpty());
  values.Add(Variant(int64_t(1)));
  try {
    values.IndexOf(Variant(int64_t(1)));
    FAIL() << "no exception";
  } catch (const ComError& e) {
    EXPECT_EQ(e.Error(), E_INVALIDARG);
  }
  values.Clear();
  EXPECT_EQ(values.Count(), 0);
}

TEST(SimpleStringListObject, ForwardsToTheStringList) {
  ComPtr<INvSimpleStringList> names = CreateObject<CNvSimpleStringList>();
  for (const char16_t* name : {u"VEXA_CB_NS1.xsd", u"name", u"name"}) names.Add(name);
  EXPECT_EQ(names.Count(), 3);
  EXPECT_EQ(names.IndexOf(u"name"), 1);
  EXPECT_EQ(names.IndexOf(u"Name"), -1);
  names.Delete(0);
  names.Delete(9);
  EXPECT_EQ(names.Item(0).ToUtf8(), "name");
  EXPECT_EQ(names.Item(-1).ToUtf8(), "");
}

}  // namespace
}  // namespace nv
