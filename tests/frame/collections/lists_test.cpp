#include "frame/collections/interface_list.h"
#include "frame/collections/simple_string_list.h"
#include "frame/collections/string_list.h"
#include "frame/exception.h"

#include <gtest/gtest.h>

#include "support/scratch.h"

#include <climits>
#include <string>
#include <vector>

namespace nv {
namespace {

// A stack-held object that counts references and logs its releases by tag.
class Probe final : public IUnknown {
 public:
  Probe(int tag, std::vector<int>* releases) : tag_(tag), releases_(releases) {}
  HRESULT QueryInterface(REFIID iid, void** out) override {
    *out = iid == IID_IUnknown ? this : nullptr;
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override {
    releases_->push_back(tag_);
    return --refs;
  }
  ULONG refs = 0;

 private:
  int tag_;
  std::vector<int>* releases_;
};

using nv_test::FailureOf;

template <class F>
HRESULT ResultOf(F call) {
  try {
    call();
  } catch (const ComError& e) {
    return e.Error();
  }
  return S_OK;
}

class CNvInterfaceListTest : public testing::Test {
 protected:
  void SetUp() override {
    for (Probe* probe : {&a_, &b_, &c_}) list_.Add(probe);
  }
  std::vector<int> releases_;
  Probe a_{1, &releases_}, b_{2, &releases_}, c_{3, &releases_};
  CNvInterfaceList list_;
};

TEST_F(CNvInterfaceListTest, AddTakesOneReferenceAndKeepsNull) {
  EXPECT_EQ(a_.refs, 1u);
  EXPECT_EQ(list_.Add(nullptr), 3);
  EXPECT_FALSE(list_.Item(3));
  EXPECT_EQ(ResultOf([&] { list_.ItemAs<IUnknown>(3); }), E_POINTER);
  EXPECT_EQ(ResultOf([&] { list_.ItemAs<IDispatch>(1); }), E_NOINTERFACE);
}

TEST_F(CNvInterfaceListTest, BadIndexThrows) {
  for (int32_t index : {-1, 3, INT_MIN}) {
    SCOPED_TRACE(index);
    EXPECT_EQ(FailureOf([&] { list_.Item(index); }),
              "Illegal index. Failed to get item from list.");
    EXPECT_EQ(FailureOf([&] { list_.Remove(index); }),
              "Illegal index. Failed to remove item from list.");
  }
}

TEST_F(CNvInterfaceListTest, RemoveAndClearRelease) {
  list_.Remove(0);
  EXPECT_EQ(releases_, std::vector<int>{1});
  ASSERT_EQ(list_.Count(), 2);
  EXPECT_EQ(list_.Item(0).get(), &b_);
  EXPECT_EQ(list_.Item(1).get(), &c_);
  list_.Add(&a_);
  releases_.clear();
  list_.Clear();
  EXPECT_EQ(list_.Count(), 0);
  EXPECT_EQ(releases_, (std::vector<int>{1, 3, 2}));  // last to first
}

// The string list and the implementation behind the simple string list
// interface must behave alike, so every case runs on both.
template <class List>
class StringListTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const char16_t* item : {u"name", u"", u"x", u"name"}) list_.Add(item);
  }
  List list_;
};
using StringLists = testing::Types<CNvStringList, CNvSimpleStringListImpl>;
TYPED_TEST_SUITE(StringListTest, StringLists);

TYPED_TEST(StringListTest, BadIndexIsHarmlessAndDeleteClosesTheGap) {
  auto& list = this->list_;
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

TYPED_TEST(StringListTest, IndexOfIsExactAndFindsFirst) {
  EXPECT_EQ(this->list_.IndexOf(u"name"), 0);
  EXPECT_EQ(this->list_.IndexOf(u"Name"), -1);
  EXPECT_EQ(this->list_.IndexOf(u"nam"), -1);
  EXPECT_EQ(this->list_.IndexOf(u""), 1);
}

}  // namespace
}  // namespace nv
