// Attributes and their type definitions (copies are tested with the schema's).
#include "schema/attributes.h"

#include <gtest/gtest.h>

#include <string>

#include "schema_test_support.h"

namespace nv::test {
namespace {

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
