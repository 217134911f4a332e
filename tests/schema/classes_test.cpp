// Classes and attributes with their type definitions, and the classes' four
// views over three generations: Grand <- Parent <- Child.
#include "schema/attributes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "schema_test_support.h"

namespace nv::test {
namespace {

// Names are checked and looked up exactly; a parent cannot be removed before its children.
TEST(Classes, AddLookupsAndRemove) {
  auto schema = MakeSchema();
  auto classes = schema.Classes();
  auto base = AddClass(schema, u"Part");
  const struct { const char16_t* name; const char* failure; } cases[] = {
      {u"", "Missing Class Name"},
      {u"1abc", "Invalid name \"1abc\" for class"},
      {u"Part", "Class Part already exist"},
      {u"part", kNoFailure},
  };
  for (const auto& c : cases) EXPECT_EQ(FailureOf([&] { classes.Add(c.name); }), c.failure);
  EXPECT_EQ(classes.IndexOf(u"part"), 1);
  EXPECT_EQ(classes.IndexOf(u"PART"), -1);
  for (LONG index : {-1, 2}) {
    EXPECT_EQ(FailureOf([&] { classes.Remove(index); }),
              "Remove item from vector failed due to illegal index");
    EXPECT_EQ(FailureOf([&] { classes.Item(index); }),
              "Get item from vector failed due to illegal index");
  }
  AddClass(schema, u"Child", base);
  EXPECT_EQ(FailureOf([&] { classes.Remove(0); }),
            "Cannot remove class \"Part\" since it is parent of class \"Child\".");
  classes.Remove(2);
  classes.Remove(0);
  EXPECT_EQ(Utf8(classes.Item(0).Name()), "part");
}

TEST(Class, ParentClassRefusesCyclesAndOtherSchemas) {
  auto schema = MakeSchema();
  auto a = AddClass(schema, u"A");
  auto c = AddClass(schema, u"C", AddClass(schema, u"B", a));
  auto foreign = AddClass(MakeSchema(), u"F");
  const struct { ComPtr<INvVexaClass> child, parent; const char* failure; } cases[] = {
      {a, a,
       "Class \"A\" cannot be the parent of class \"A\" since the inheritance would become cyclic"},
      {a, c,
       "Class \"C\" cannot be the parent of class \"A\" since the inheritance would become cyclic"},
      {a, foreign,
       "Class \"F\" cannot be the parent of class \"A\" since it belongs to another schema"},
  };
  for (const auto& k : cases)
    EXPECT_EQ(FailureOf([&] { k.child.PutParentClass(k.parent); }), k.failure);
  EXPECT_EQ(a.ParentClass(), nullptr);
  c.PutParentClass(a);  // moving up the chain is fine
  EXPECT_EQ(c.ParentClass(), a);
}

using Strings = std::vector<std::string>;

Strings Names(const ComPtr<INvVexaReadOnlyAttributes>& view) {
  Strings names;
  for (LONG k = 0; k < view.Count(); ++k) names.push_back(Utf8(view.Item(k).Name()));
  return names;
}

Strings Names(const ComPtr<INvVexaReadOnlyClassBehaviors>& view) {
  Strings uris;
  for (LONG k = 0; k < view.Count(); ++k) uris.push_back(Utf8(view.Item(k).URI()));
  return uris;
}

// The views list nearest first and index across the chain; they follow later
// changes above their root, and outlive their class.
TEST(ThreeGenerations, ViewsListNearestFirstFollowChangesAndOutliveTheirClass) {
  ComPtr<INvVexaSchema> schema = MakeSchema();
  const auto grand = AddClass(schema, u"Grand"), parent = AddClass(schema, u"Parent", grand);
  ComPtr<INvVexaClass> child = AddClass(schema, u"Child", parent);
  for (auto name : {u"g1", u"g2"}) grand.CurrentClassAttributes().Add(name);
  for (auto name : {u"p1", u"p2", u"shared"}) parent.CurrentClassAttributes().Add(name);
  for (auto name : {u"c1", u"shared"}) child.CurrentClassAttributes().Add(name);
  for (auto uri : {u"urn:x#G", u"urn:x#P", u"urn:x#C", u"urn:x#Free"})
    schema.ClassesBehaviors().Add(mtEmbedded, uri, u"", false);
  grand.CurrentClassBehaviors().Add(schema.ClassesBehaviors().ItemByURI(u"urn:x#G"), muYes);
  parent.CurrentClassBehaviors().Add(schema.ClassesBehaviors().ItemByURI(u"urn:x#P"), muNo);
  child.CurrentClassBehaviors().Add(schema.ClassesBehaviors().ItemByURI(u"urn:x#C"), muYes);

  EXPECT_EQ(Names(child.AllAttributes()),
            (Strings{"c1", "shared", "p1", "p2", "shared", "g1", "g2"}));
  EXPECT_EQ(Names(child.InheritedAttributes()), (Strings{"p1", "p2", "shared", "g1", "g2"}));
  auto all = child.AllAttributes();
  EXPECT_EQ(all.IndexOf(u"g2"), 6);
  // The own attribute hides the inherited one of the same name.
  EXPECT_EQ(all.IndexOf(u"shared"), 1);
  EXPECT_EQ(all.ItemByName(u"shared"), child.CurrentClassAttributes().Item(1));
  EXPECT_EQ(child.InheritedAttributes().ItemByName(u"shared"),
            parent.CurrentClassAttributes().Item(2));
  for (LONG index : {-1, 7}) EXPECT_EQ(FailureOf([&] { all.Item(index); }), "Invalid index");
  // An own attribute may repeat an inherited name, not an own one.
  EXPECT_EQ(FailureOf([&] { child.CurrentClassAttributes().Add(u"g1"); }), kNoFailure);
  EXPECT_EQ(FailureOf([&] { child.CurrentClassAttributes().Add(u"c1"); }),
            "Attribute c1 already exist");

  // Behaviours likewise, with their marks.
  EXPECT_EQ(Names(child.AllBehaviors()), (Strings{"urn:x#C", "urn:x#P", "urn:x#G"}));
  EXPECT_EQ(Names(child.InheritedBehaviors()), (Strings{"urn:x#P", "urn:x#G"}));
  auto behaviors = child.AllBehaviors();
  EXPECT_EQ(behaviors.IndexOf(u"urn:x#G"), 2);
  EXPECT_EQ(behaviors.ItemByURI(u"urn:x#Free"), nullptr);
  EXPECT_EQ(behaviors.ItemByURI(u"urn:x#P"), schema.ClassesBehaviors().ItemByURI(u"urn:x#P"));
  EXPECT_EQ(behaviors.GetMustUnderstandStatus(u"urn:x#G"), muYes);
  EXPECT_EQ(behaviors.GetMustUnderstandStatus(u"urn:x#P"), muNo);
  EXPECT_EQ(FailureOf([&] { behaviors.GetMustUnderstandStatus(u"urn:x#Free"); }),
            "behavior \"urn:x#Free\" does not exist");

  // Views follow later changes above their root, and outlive their class.
  auto inherited = child.InheritedAttributes();
  grand.CurrentClassAttributes().Add(u"g3");
  EXPECT_EQ(inherited.Count(), 6);
  parent.PutParentClass(nullptr);
  EXPECT_EQ(Names(inherited), (Strings{"p1", "p2", "shared"}));
  // An inherited view keeps the parent it started with.
  auto orphan = AddClass(schema, u"Orphan");
  EXPECT_EQ(orphan.InheritedAttributes().Count(), 0);
  orphan.PutParentClass(grand);
  EXPECT_EQ(orphan.InheritedAttributes().Count(), 0);
  EXPECT_EQ(orphan.AllAttributes().Count(), 3);
  child.reset();
  schema.Classes().Remove(2);
  EXPECT_EQ(inherited.Count(), 3);
  EXPECT_EQ(behaviors.Count(), 2);
}


// Names are checked in order and looked up exactly; an attribute outliving its
// collection is detached.
TEST(Attributes, AddChecksTheNameLookupsAreExactAndAnOrphanIsDetached) {
  auto attributes = MakeAttributes(aotClass);
  attributes.Add(u"Part");
  const std::u16string longName(300, u'x');
  const struct { std::u16string name; std::string failure; } cases[] = {
      {u"", "Missing Name for attribute"},
      {u"1abc", "Invalid name \"1abc\" for attribute"},
      {u"a:b", "Invalid name \"a:b\" for attribute"},
      {u"Part", "Attribute Part already exist"},
      {u"part", kNoFailure},
      {longName, kNoFailure},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FailureOf([&] { attributes.Add(std::u16string_view(c.name)); }), c.failure);
  EXPECT_EQ(attributes.IndexOf(u"part"), 1);
  EXPECT_FALSE(attributes.Exist(u"pART"));

  ComPtr<INvVexaAttribute> kept;
  {
    auto attributes = MakeAttributes(aotClassBehavior);
    kept = attributes.Add(u"kept");
  }
  kept.PutRequired(true);  // no collection left to tell
  // The owner type was taken at creation: a behaviour's reference may not
  // name a class (the accepted restrictions are set in the schema copy test).
  kept.TypeDefinition().PutValueType(dtObjectReference);
  const auto reference = kept.TypeDefinition().ObjectReferenceType();
  EXPECT_EQ(FailureOf([&] { reference.PutRestrictionType(ortClassAndDescendants); }),
            "Class Behavior attribute of type dtObjectReference cannot be restricted to ortClass "
            "or to ortClassAndDescendants");
  EXPECT_EQ(reference.RestrictionType(), ortAny);
}

TEST(TypeDefinition, RefinementsAnswerOnlyForTheirValueTypeAndNamesForTheirRestriction) {
  const char* undefined =
      "You must define TypeDefinition.ValueType prior to using other properties of "
      "TypeDefinition";
  const struct { DataTypeEnum type; const char* string; const char* reference; } cases[] = {
      {dtUndefined, undefined, undefined},
      {dtString, kNoFailure,
       "Invalid property \"ObjectReference\" for Type definition of ValueType 1"},
      {dtObjectReference, "Invalid property \"String\" for Type definition of ValueType 20",
       kNoFailure},
  };
  ComPtr<INvVexaTypeDefinition> definition;
  for (const auto& c : cases) {
    definition = MakeAttributes(aotClass).Add(u"a").TypeDefinition();
    definition.PutValueType(c.type);
    EXPECT_EQ(FailureOf([&] { definition.StringType(); }), c.string) << c.type;
    EXPECT_EQ(FailureOf([&] { definition.ObjectReferenceType(); }), c.reference) << c.type;
  }

  // A reference's names need the matching restriction.
  const char* needsClass =
      "Object reference restriction type must be defined as ortClass or ortClassAndDescendants "
      "before assigning restriction class name";
  const char* needsBehavior =
      "Object reference restriction type must be defined as ortBehavior before assigning "
      "restriction behavior name";
  auto reference = definition.ObjectReferenceType();  // the last row's
  EXPECT_EQ(FailureOf([&] { reference.PutClassName(u"Part"); }), needsClass);
  EXPECT_EQ(FailureOf([&] { reference.PutBehaviorURI(u"urn:x#B"); }), needsBehavior);
  reference.PutRestrictionType(ortClassAndDescendants);
  reference.PutClassName(u"Part");
  reference.PutRestrictionType(ortBehavior);
  reference.PutBehaviorURI(u"urn:x#B");
  EXPECT_EQ(FailureOf([&] { reference.PutClassName(u"Other"); }), needsClass);
  // Changing the restriction keeps both names.
  EXPECT_EQ(Utf8(reference.ClassName()), "Part");
  EXPECT_EQ(Utf8(reference.BehaviorURI()), "urn:x#B");
}

}  // namespace
}  // namespace nv::test
