// The four views of a class over three generations: Grand <- Parent <- Child.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "schema_test_support.h"

namespace nv::test {
namespace {

class ThreeGenerations : public ::testing::Test {
 protected:
  void SetUp() override {
    grand = AddClass(schema, u"Grand");
    parent = AddClass(schema, u"Parent", grand);
    child = AddClass(schema, u"Child", parent);
    for (auto name : {u"g1", u"g2"}) grand.CurrentClassAttributes().Add(name);
    for (auto name : {u"p1", u"p2", u"shared"}) parent.CurrentClassAttributes().Add(name);
    for (auto name : {u"c1", u"shared"}) child.CurrentClassAttributes().Add(name);
    auto behaviors = schema.ClassesBehaviors();
    for (auto uri : {u"urn:x#G", u"urn:x#P", u"urn:x#C", u"urn:x#Free"})
      behaviors.Add(mtEmbedded, uri, u"", false);
    grand.CurrentClassBehaviors().Add(behaviors.ItemByURI(u"urn:x#G"), muYes);
    parent.CurrentClassBehaviors().Add(behaviors.ItemByURI(u"urn:x#P"), muNo);
    child.CurrentClassBehaviors().Add(behaviors.ItemByURI(u"urn:x#C"), muYes);
  }

  static std::vector<std::string> Names(const ComPtr<INvVexaReadOnlyAttributes>& view) {
    std::vector<std::string> names;
    for (LONG k = 0; k < view.Count(); ++k) names.push_back(Utf8(view.Item(k).Name()));
    return names;
  }
  static std::vector<std::string> Uris(const ComPtr<INvVexaReadOnlyClassBehaviors>& view) {
    std::vector<std::string> uris;
    for (LONG k = 0; k < view.Count(); ++k) uris.push_back(Utf8(view.Item(k).URI()));
    return uris;
  }

  ComPtr<INvVexaSchema> schema = NewSchema();
  ComPtr<INvVexaClass> grand, parent, child;
};

using Strings = std::vector<std::string>;

TEST_F(ThreeGenerations, AttributeViewsListNearestFirst) {
  EXPECT_EQ(Names(child.AllAttributes()),
            (Strings{"c1", "shared", "p1", "p2", "shared", "g1", "g2"}));
  EXPECT_EQ(Names(child.InheritedAttributes()), (Strings{"p1", "p2", "shared", "g1", "g2"}));
  EXPECT_EQ(Names(parent.AllAttributes()), (Strings{"p1", "p2", "shared", "g1", "g2"}));
  EXPECT_EQ(Names(grand.InheritedAttributes()), Strings{});
}

TEST_F(ThreeGenerations, AttributeViewIndexesSpanTheChain) {
  auto all = child.AllAttributes();
  EXPECT_EQ(all.Count(), 7);
  EXPECT_EQ(all.IndexOf(u"p2"), 3);
  EXPECT_EQ(all.IndexOf(u"g2"), 6);
  EXPECT_EQ(all.IndexOf(u"none"), -1);
  // The own attribute hides the inherited one of the same name.
  EXPECT_EQ(all.IndexOf(u"shared"), 1);
  EXPECT_EQ(all.ItemByName(u"shared"), child.CurrentClassAttributes().Item(1));
  EXPECT_EQ(child.InheritedAttributes().ItemByName(u"shared"),
            parent.CurrentClassAttributes().Item(2));
  EXPECT_TRUE(all.Exist(u"g1"));
  EXPECT_FALSE(all.Exist(u"G1"));
  for (LONG index : {-1, 7}) EXPECT_EQ(FailureOf([&] { all.Item(index); }), "Invalid index");
  EXPECT_EQ(FailureOf([&] { grand.InheritedAttributes().Item(0); }), "Invalid index");
}

TEST_F(ThreeGenerations, ViewsFollowLaterChangesAboveTheirRoot) {
  auto inherited = child.InheritedAttributes();
  grand.CurrentClassAttributes().Add(u"g3");
  EXPECT_EQ(inherited.Count(), 6);
  parent.PutParentClass(nullptr);
  EXPECT_EQ(Names(inherited), (Strings{"p1", "p2", "shared"}));
}

TEST_F(ThreeGenerations, InheritedViewsKeepTheParentTheyStartedWith) {
  auto orphan = AddClass(schema, u"Orphan");
  EXPECT_EQ(orphan.InheritedAttributes().Count(), 0);
  orphan.PutParentClass(grand);
  EXPECT_EQ(orphan.InheritedAttributes().Count(), 0);
  EXPECT_EQ(orphan.AllAttributes().Count(), 2);
}

TEST_F(ThreeGenerations, ViewsAreKeptWhileHeld) {
  auto all = child.AllAttributes();
  EXPECT_EQ(child.AllAttributes(), all);
  EXPECT_EQ(child.InheritedBehaviors(), child.InheritedBehaviors());
  auto behaviors = child.AllBehaviors();
  EXPECT_EQ(child.AllBehaviors(), behaviors);
}

TEST_F(ThreeGenerations, AViewOutlivesItsClassesReferences) {
  ComPtr<INvVexaReadOnlyAttributes> all = child.AllAttributes();
  ComPtr<INvVexaReadOnlyClassBehaviors> behaviors = child.AllBehaviors();
  child.reset();
  schema.Classes().Remove(2);
  EXPECT_EQ(all.Count(), 7);
  EXPECT_EQ(behaviors.Count(), 3);
}

TEST_F(ThreeGenerations, BehaviorViewsListNearestFirst) {
  EXPECT_EQ(Uris(child.AllBehaviors()), (Strings{"urn:x#C", "urn:x#P", "urn:x#G"}));
  EXPECT_EQ(Uris(child.InheritedBehaviors()), (Strings{"urn:x#P", "urn:x#G"}));
  auto all = child.AllBehaviors();
  EXPECT_EQ(all.IndexOf(u"urn:x#G"), 2);
  EXPECT_EQ(all.IndexOf(u"urn:x#Free"), -1);
  EXPECT_EQ(all.ItemByURI(u"urn:x#Free"), nullptr);
  EXPECT_EQ(Utf8(all.ItemByURI(u"urn:x#P").URI()), "urn:x#P");
  for (LONG index : {-1, 3}) EXPECT_EQ(FailureOf([&] { all.Item(index); }), "Invalid index");
}

TEST_F(ThreeGenerations, MustUnderstandStatusOfViewsAndOwnCollections) {
  auto all = child.AllBehaviors();
  EXPECT_EQ(all.GetMustUnderstandStatus(u"urn:x#G"), muYes);
  EXPECT_EQ(all.GetMustUnderstandStatus(u"urn:x#P"), muNo);
  EXPECT_EQ(FailureOf([&] { all.GetMustUnderstandStatus(u"urn:x#Free"); }),
            "behavior \"urn:x#Free\" does not exist");
  // A class's own collection answers muNo for what it does not list.
  EXPECT_EQ(child.CurrentClassBehaviors().GetMustUnderstandStatus(u"urn:x#G"), muNo);
  EXPECT_EQ(child.CurrentClassBehaviors().GetMustUnderstandStatus(u"urn:x#C"), muYes);
}

TEST_F(ThreeGenerations, SupportsBehaviorThroughAncestors) {
  EXPECT_TRUE(child.SupportsBehavior(u"urn:x#G"));
  EXPECT_TRUE(child.SupportsBehavior(u"urn:x#C"));
  EXPECT_FALSE(parent.SupportsBehavior(u"urn:x#C"));
  EXPECT_FALSE(child.SupportsBehavior(u"urn:x#g"));
}

TEST_F(ThreeGenerations, AnAttributeMayRepeatAnInheritedName) {
  EXPECT_EQ(FailureOf([&] { child.CurrentClassAttributes().Add(u"g1"); }), "<no failure>");
  EXPECT_EQ(FailureOf([&] { child.CurrentClassAttributes().Add(u"c1"); }),
            "Attribute c1 already exist");
}

}  // namespace
}  // namespace nv::test
