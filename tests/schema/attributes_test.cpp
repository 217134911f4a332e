// Attributes and their type definitions. Attributes of every kind are copied
// in schema_test.cpp; the list's index refusals are the frame's collections'.
#include "schema/attributes.h"

#include <gtest/gtest.h>

#include <string>

#include "schema_test_support.h"

namespace nv::test {
namespace {

// Converted only when written.
TEST(Attribute, ADefaultValueIsKeptAsGiven) {
  auto attribute = MakeAttributes(aotClass).Add(u"a");
  attribute.TypeDefinition().PutValueType(dtInt);
  attribute.PutDefaultValue(Variant(u"not a number"));
  const Variant stored = attribute.DefaultValue();
  ASSERT_EQ(stored.vt, VT_BSTR);
  EXPECT_EQ(Bstr::FromBstr(stored.bstrVal).ToUtf8(), "not a number");
}

TEST(Attributes, AddChecksTheNameInOrderAndLookupsAreExact) {
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
      {longName + u"?", "Invalid name \"" + std::string(300, 'x') + "?\" for attribute"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FailureOf([&] { attributes.Add(std::u16string_view(c.name)); }), c.failure);
  EXPECT_EQ(attributes.IndexOf(u"part"), 1);
  EXPECT_FALSE(attributes.Exist(u"pART"));
  attributes.Remove(0);
  EXPECT_EQ(Utf8(attributes.as<INvVexaReadOnlyAttributes>().Item(0).Name()), "part");
}

TEST(Attributes, AnAttributeOutlivingItsCollectionIsDetached) {
  ComPtr<INvVexaAttribute> kept;
  {
    auto attributes = MakeAttributes(aotClassBehavior);
    kept = attributes.Add(u"kept");
    auto removed = attributes.Add(u"removed");
    EXPECT_EQ(kept.as<INvVexaAttributeCRaw>().GetOwner(), attributes);
    attributes.Remove(1);
    EXPECT_EQ(removed.as<INvVexaAttributeCRaw>().GetOwner(), nullptr);
  }
  EXPECT_EQ(kept.as<INvVexaAttributeCRaw>().GetOwner(), nullptr);
  kept.PutRequired(true);  // no collection left to tell
  EXPECT_TRUE(kept.Required());
  // The owner type was taken at creation: a behaviour's reference may not
  // name a class (the accepted restrictions are set in the schema copy test).
  kept.TypeDefinition().PutValueType(dtObjectReference);
  const auto reference = kept.TypeDefinition().ObjectReferenceType();
  EXPECT_EQ(FailureOf([&] { reference.PutRestrictionType(ortClassAndDescendants); }),
            "Class Behavior attribute of type dtObjectReference cannot be restricted to ortClass "
            "or to ortClassAndDescendants");
  EXPECT_EQ(reference.RestrictionType(), ortAny);
}

TEST(Attributes, TheRequiredFlagIsRaisedForGoodAndCopied) {
  auto source = MakeAttributes(aotClassBehavior);
  auto copy = MakeAttributes(aotClassBehavior);
  auto copyRaw = copy.as<INvVexaAttributesCRaw>();
  source.Add(u"a");
  copy.Add(u"stale");
  copyRaw.Copy(source);
  EXPECT_EQ(copy.Count(), 1);
  EXPECT_FALSE(copyRaw.ConsistsRequiredAttributes());
  // Once raised, the source's flag stays raised; so does the copy's.
  source.Item(0).PutRequired(true);
  source.Item(0).PutRequired(false);
  EXPECT_FALSE(source.Item(0).Required());
  EXPECT_TRUE(source.as<INvVexaAttributesCRaw>().ConsistsRequiredAttributes());
  copyRaw.Copy(source);
  EXPECT_TRUE(copyRaw.ConsistsRequiredAttributes());
  // A copy of itself keeps its attributes.
  copyRaw.Copy(copy);
  copy.as<INvVexaReadOnlyAttributesCRaw>().Copy(copy.as<INvVexaReadOnlyAttributes>());
  EXPECT_EQ(copy.Count(), 1);
}

ComPtr<INvVexaTypeDefinition> NewTypeDefinition(AttributeOwnerTypeEnum owner, DataTypeEnum type) {
  auto definition = MakeAttributes(owner).Add(u"a").TypeDefinition();
  definition.PutValueType(type);
  return definition;
}

TEST(TypeDefinition, RefinementsAnswerOnlyForTheirValueType) {
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
  for (const auto& c : cases) {
    auto definition = NewTypeDefinition(aotClass, c.type);
    EXPECT_EQ(FailureOf([&] { definition.StringType(); }), c.string) << c.type;
    EXPECT_EQ(FailureOf([&] { definition.ObjectReferenceType(); }), c.reference) << c.type;
  }
}

TEST(TypeDefinition, RefinementsSurviveAChangeOfValueType) {
  auto definition = NewTypeDefinition(aotClass, dtString);
  definition.StringType().PutMaxLength(-3);  // stored without test
  definition.PutValueType(dtObjectReference);
  definition.ObjectReferenceType().PutRestrictionType(ortBehavior);
  definition.PutValueType(dtString);
  EXPECT_EQ(definition.StringType().MaxLength(), -3);
  definition.PutValueType(dtObjectReference);
  EXPECT_EQ(definition.ObjectReferenceType().RestrictionType(), ortBehavior);
}

TEST(ObjectReferenceType, NamesNeedTheMatchingRestriction) {
  const char* needsClass =
      "Object reference restriction type must be defined as ortClass or ortClassAndDescendants "
      "before assigning restriction class name";
  const char* needsBehavior =
      "Object reference restriction type must be defined as ortBehavior before assigning "
      "restriction behavior name";
  auto reference = NewTypeDefinition(aotClass, dtObjectReference).ObjectReferenceType();
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
  auto source = NewTypeDefinition(aotClass, dtObjectReference);
  source.ObjectReferenceType().PutRestrictionType(ortClass);
  source.ObjectReferenceType().PutClassName(u"Part");
  // A class behaviour's attribute could not be restricted to a class by its setter.
  auto copy = NewTypeDefinition(aotClassBehavior, dtUndefined);
  copy.as<INvVexaTypeDefinitionCRaw>().Copy(source);
  EXPECT_EQ(copy.ValueType(), dtObjectReference);
  auto reference = copy.ObjectReferenceType();
  EXPECT_EQ(reference.RestrictionType(), ortClass);
  EXPECT_EQ(Utf8(reference.ClassName()), "Part");
  EXPECT_EQ(reference.as<INvVexaObjectReferenceTypeDefinitionCRaw>().GetAttributeOwnerType(),
            aotClassBehavior);
}

}  // namespace
}  // namespace nv::test
