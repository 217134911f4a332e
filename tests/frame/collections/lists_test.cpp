#include "frame/collections/interface_list.h"
#include "frame/collections/simple_string_list.h"
#include "frame/collections/string_list.h"
#include "frame/exception.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

// An interface of the test's own, so that ItemAs has something to ask for.
struct IProbe : public IUnknown {
  virtual int Tag() = 0;

 protected:
  ~IProbe() = default;
};
constexpr IID IID_IProbe = {0x5A1C0DE1, 0x0001, 0x0002, {1, 2, 3, 4, 5, 6, 7, 8}};

}  // namespace

template <>
const IID& nv::IidOf<IProbe>() {
  return IID_IProbe;
}

namespace nv {
namespace {

// A stack-held object that counts references and logs its releases by tag.
class Probe final : public IProbe {
 public:
  Probe(int tag, std::vector<int>* releases, bool exposesProbe = true)
      : tag_(tag), releases_(releases), exposesProbe_(exposesProbe) {}

  HRESULT QueryInterface(REFIID iid, void** out) override {
    *out = iid == IID_IUnknown || (exposesProbe_ && iid == IID_IProbe) ? this : nullptr;
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override {
    releases_->push_back(tag_);
    return --refs;
  }
  int Tag() override { return tag_; }

  ULONG refs = 0;

 private:
  int tag_;
  std::vector<int>* releases_;
  bool exposesProbe_;
};

template <class F>
std::string MessageOf(F call) {
  try {
    call();
  } catch (const ENvException& e) {
    return e.what();
  }
  return "<no exception>";
}

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
  EXPECT_EQ(ResultOf([&] { list_.ItemAs<IProbe>(3); }), E_POINTER);
}

TEST_F(CNvInterfaceListTest, BadIndexThrows) {
  for (int32_t index : {-1, 3, INT_MIN}) {
    SCOPED_TRACE(index);
    EXPECT_EQ(MessageOf([&] { list_.Item(index); }),
              "Illegal index. Failed to get item from list.");
    EXPECT_EQ(MessageOf([&] { list_.Remove(index); }),
              "Illegal index. Failed to remove item from list.");
  }
}

TEST_F(CNvInterfaceListTest, RemoveReleasesAndClosesGap) {
  list_.Remove(0);
  EXPECT_EQ(releases_, std::vector<int>{1});
  ASSERT_EQ(list_.Count(), 2);
  EXPECT_EQ(list_.Item(0).get(), &b_);
  EXPECT_EQ(list_.Item(1).get(), &c_);
}

TEST_F(CNvInterfaceListTest, ClearReleasesLastToFirst) {
  list_.Clear();
  EXPECT_EQ(list_.Count(), 0);
  EXPECT_EQ(releases_, (std::vector<int>{3, 2, 1}));
}

TEST_F(CNvInterfaceListTest, ItemAsQueriesTheElement) {
  EXPECT_EQ(list_.ItemAs<IProbe>(1)->Tag(), 2);
  Probe bare{9, &releases_, /*exposesProbe=*/false};
  const int32_t index = list_.Add(&bare);
  EXPECT_EQ(ResultOf([&] { list_.ItemAs<IProbe>(index); }), E_NOINTERFACE);
  list_.Clear();
}

// The string list and the implementation behind the simple string list
// interface must behave alike, so every case runs on both.
template <class List>
class StringListTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const char16_t* item : {u"name", u"", u"x", u"name"}) list_.Add(item);
  }
  std::vector<std::u16string> Contents() const {
    std::vector<std::u16string> out;
    for (int32_t i = 0; i < list_.Count(); ++i) out.emplace_back(list_.Item(i).View());
    return out;
  }
  List list_;
};
using StringLists = testing::Types<CNvStringList, CNvSimpleStringListImpl>;
TYPED_TEST_SUITE(StringListTest, StringLists);

TYPED_TEST(StringListTest, BadIndexIsHarmless) {
  for (int32_t index : {-1, 4, INT_MIN}) {
    EXPECT_TRUE(this->list_.Item(index).Empty());
    this->list_.Delete(index);
  }
  EXPECT_EQ(this->list_.Count(), 4);
}

TYPED_TEST(StringListTest, DeleteClosesGap) {
  this->list_.Delete(0);
  EXPECT_EQ(this->Contents(), (std::vector<std::u16string>{u"", u"x", u"name"}));
}

TYPED_TEST(StringListTest, IndexOfIsExactAndFindsFirst) {
  EXPECT_EQ(this->list_.IndexOf(u"name"), 0);
  EXPECT_EQ(this->list_.IndexOf(u"Name"), -1);
  EXPECT_EQ(this->list_.IndexOf(u"nam"), -1);
  EXPECT_EQ(this->list_.IndexOf(u""), 1);
}

}  // namespace
}  // namespace nv
