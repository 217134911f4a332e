#include <gtest/gtest.h>

#include "schema/attributes.h"
#include "schema_test_support.h"

namespace nv::test {
namespace {

ComPtr<INvVexaTypeDefinition> NewTypeDefinition(AttributeOwnerTypeEnum owner) {
  return MakeAttributes(owner).Add(u"a").TypeDefinition();
}

TEST(TypeDefinition, RefinementsAnswerOnlyForTheirValueType) {
  struct Case {
    DataTypeEnum type;
    const char* stringType;
    const char* objectReferenceType;
  };
  const char* undefined =
      "You must define TypeDefinition.ValueType prior to using other properties of "
      "TypeDefinition";
  const Case cases[] = {
      {dtUndefined, undefined, undefined},
      {dtString, "<no failure>",
       "Invalid property \"ObjectReference\" for Type definition of ValueType 1"},
      {dtInt, "Invalid property \"String\" for Type definition of ValueType 10",
       "Invalid property \"ObjectReference\" for Type definition of ValueType 10"},
      {dtObjectReference, "Invalid property \"String\" for Type definition of ValueType 20",
       "<no failure>"},
      {static_cast<DataTypeEnum>(25),
       "Invalid property \"String\" for Type definition of ValueType 25",
       "Invalid property \"ObjectReference\" for Type definition of ValueType 25"},
  };
  for (const Case& c : cases) {
    auto definition = NewTypeDefinition(aotClass);
    definition.PutValueType(c.type);
    EXPECT_EQ(FailureOf([&] { definition.StringType(); }), c.stringType) << c.type;
    EXPECT_EQ(FailureOf([&] { definition.ObjectReferenceType(); }), c.objectReferenceType)
        << c.type;
  }
}

TEST(TypeDefinition, RefinementsSurviveAChangeOfValueType) {
  auto definition = NewTypeDefinition(aotClass);
  definition.PutValueType(dtString);
  definition.StringType().PutMaxLength(12);
  definition.PutValueType(dtObjectReference);
  definition.ObjectReferenceType().PutRestrictionType(ortBehavior);
  definition.PutValueType(dtString);
  EXPECT_EQ(definition.StringType().MaxLength(), 12);
  definition.PutValueType(dtObjectReference);
  EXPECT_EQ(definition.ObjectReferenceType().RestrictionType(), ortBehavior);
  EXPECT_EQ(definition.ObjectReferenceType(), definition.ObjectReferenceType());
}

TEST(TypeDefinition, StringMaxLengthIsStoredWithoutTest) {
  auto definition = NewTypeDefinition(aotClass);
  definition.PutValueType(dtString);
  EXPECT_EQ(definition.StringType().MaxLength(), 0);
  definition.StringType().PutMaxLength(-3);
  EXPECT_EQ(definition.StringType().MaxLength(), -3);
}

TEST(ObjectReferenceType, RestrictionByOwnerType) {
  const char* refused =
      "Class Behavior attribute of type dtObjectReference cannot be restricted to ortClass or "
      "to ortClassAndDescendants";
  struct Case {
    AttributeOwnerTypeEnum owner;
    ObjectReferenceRestrictionTypeEnum restriction;
    const char* failure;
  };
  const Case cases[] = {
      {aotClass, ortClass, "<no failure>"},
      {aotClass, ortClassAndDescendants, "<no failure>"},
      {aotClass, ortBehavior, "<no failure>"},
      {aotClassBehavior, ortClass, refused},
      {aotClassBehavior, ortClassAndDescendants, refused},
      {aotClassBehavior, ortBehavior, "<no failure>"},
      {aotClassBehavior, ortAny, "<no failure>"},
  };
  for (const Case& c : cases) {
    auto definition = NewTypeDefinition(c.owner);
    definition.PutValueType(dtObjectReference);
    auto reference = definition.ObjectReferenceType();
    EXPECT_EQ(FailureOf([&] { reference.PutRestrictionType(c.restriction); }), c.failure);
    const bool stored = std::string(c.failure) == "<no failure>";
    EXPECT_EQ(reference.RestrictionType(), stored ? c.restriction : ortAny);
  }
}

TEST(ObjectReferenceType, NamesNeedTheMatchingRestriction) {
  const char* needsClass =
      "Object reference restriction type must be defined as ortClass or ortClassAndDescendants "
      "before assigning restriction class name";
  const char* needsBehavior =
      "Object reference restriction type must be defined as ortBehavior before assigning "
      "restriction behavior name";
  auto definition = NewTypeDefinition(aotClass);
  definition.PutValueType(dtObjectReference);
  auto reference = definition.ObjectReferenceType();
  EXPECT_EQ(FailureOf([&] { reference.PutClassName(u"Part"); }), needsClass);
  EXPECT_EQ(FailureOf([&] { reference.PutBehaviorURI(u"urn:x#B"); }), needsBehavior);

  reference.PutRestrictionType(ortClassAndDescendants);
  reference.PutClassName(u"Part");
  EXPECT_EQ(FailureOf([&] { reference.PutBehaviorURI(u"urn:x#B"); }), needsBehavior);
  reference.PutRestrictionType(ortBehavior);
  reference.PutBehaviorURI(u"urn:x#B");
  EXPECT_EQ(FailureOf([&] { reference.PutClassName(u"Other"); }), needsClass);
  // Changing the restriction keeps both names.
  EXPECT_EQ(Utf8(reference.ClassName()), "Part");
  EXPECT_EQ(Utf8(reference.BehaviorURI()), "urn:x#B");
}

TEST(TypeDefinition, CopyTakesTheRefinementOfItsTypeWithoutTheSettersTests) {
  auto source = NewTypeDefinition(aotClass);
  source.PutValueType(dtObjectReference);
  source.ObjectReferenceType().PutRestrictionType(ortClass);
  source.ObjectReferenceType().PutClassName(u"Part");

  // A class behaviour's attribute could not be restricted to a class by its setter.
  auto copy = NewTypeDefinition(aotClassBehavior);
  copy.as<INvVexaTypeDefinitionCRaw>().Copy(source);
  EXPECT_EQ(copy.ValueType(), dtObjectReference);
  EXPECT_EQ(copy.ObjectReferenceType().RestrictionType(), ortClass);
  EXPECT_EQ(Utf8(copy.ObjectReferenceType().ClassName()), "Part");
  EXPECT_EQ(copy.ObjectReferenceType()
                .as<INvVexaObjectReferenceTypeDefinitionCRaw>()
                .GetAttributeOwnerType(),
            aotClassBehavior);

  source.PutValueType(dtString);
  source.StringType().PutMaxLength(40);
  copy.as<INvVexaTypeDefinitionCRaw>().Copy(source);
  EXPECT_EQ(copy.StringType().MaxLength(), 40);
}

}  // namespace
}  // namespace nv::test
