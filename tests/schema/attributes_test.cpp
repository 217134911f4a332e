// Attributes and their type definitions. Attributes of every kind are copied
// in schema_test.cpp.
#include "schema/attributes.h"

#include <gtest/gtest.h>

#include <string>

#include "schema_test_support.h"

namespace nv::test {
namespace {

TEST(Attribute, DefaultsAndADefaultValueKeptAsGiven) {
  auto attribute = MakeAttributes(aotClass).Add(u"a");
  EXPECT_FALSE(attribute.IsPrimary() || attribute.Required());
  EXPECT_TRUE(attribute.IsNullAllowed());
  EXPECT_EQ(attribute.DefaultValue().vt, VT_NULL);
  EXPECT_EQ(attribute.TypeDefinition().ValueType(), dtUndefined);
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
      {u"_x-1.y", kNoFailure},
      {longName, kNoFailure},
      {longName + u"?", "Invalid name \"" + std::string(300, 'x') + "?\" for attribute"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FailureOf([&] { attributes.Add(std::u16string_view(c.name)); }), c.failure);
  EXPECT_EQ(attributes.Count(), 4);
  EXPECT_EQ(attributes.IndexOf(u"part"), 1);
  EXPECT_EQ(attributes.IndexOf(u"PART"), -1);
  EXPECT_TRUE(attributes.Exist(u"Part"));
  EXPECT_FALSE(attributes.Exist(u"pART"));
  EXPECT_EQ(attributes.ItemByName(u"pART"), nullptr);
  for (LONG index : {-1, 4}) {
    EXPECT_EQ(FailureOf([&] { attributes.Item(index); }),
              "Illegal index. Failed to get item from list.");
    EXPECT_EQ(FailureOf([&] { attributes.Remove(index); }),
              "Illegal index. Failed to remove item from list.");
  }
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
  // The owner type was taken at creation.
  kept.TypeDefinition().PutValueType(dtObjectReference);
  EXPECT_EQ(
      FailureOf([&] { kept.TypeDefinition().ObjectReferenceType().PutRestrictionType(ortClass); }),
      "Class Behavior attribute of type dtObjectReference cannot be restricted to ortClass "
      "or to ortClassAndDescendants");
}

TEST(Attributes, TheRequiredFlagIsRaisedForGoodAndCopied) {
  auto source = MakeAttributes(aotClassBehavior);
  auto copy = MakeAttributes(aotClassBehavior);
  auto copyRaw = copy.as<INvVexaAttributesCRaw>();
  source.Add(u"a").PutIsNullAllowed(false);
  copy.Add(u"stale");
  copyRaw.Copy(source);
  ASSERT_EQ(copy.Count(), 1);
  EXPECT_NE(copy.Item(0), source.Item(0));
  EXPECT_FALSE(copy.Item(0).IsNullAllowed());
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
      {static_cast<DataTypeEnum>(25),
       "Invalid property \"String\" for Type definition of ValueType 25",
       "Invalid property \"ObjectReference\" for Type definition of ValueType 25"},
  };
  for (const auto& c : cases) {
    auto definition = NewTypeDefinition(aotClass, c.type);
    EXPECT_EQ(FailureOf([&] { definition.StringType(); }), c.string) << c.type;
    EXPECT_EQ(FailureOf([&] { definition.ObjectReferenceType(); }), c.reference) << c.type;
  }
}

TEST(TypeDefinition, RefinementsSurviveAChangeOfValueType) {
  auto definition = NewTypeDefinition(aotClass, dtString);
  EXPECT_EQ(definition.StringType().MaxLength(), 0);
  definition.StringType().PutMaxLength(-3);  // stored without test
  definition.PutValueType(dtObjectReference);
  definition.ObjectReferenceType().PutRestrictionType(ortBehavior);
  definition.PutValueType(dtString);
  EXPECT_EQ(definition.StringType().MaxLength(), -3);
  definition.PutValueType(dtObjectReference);
  EXPECT_EQ(definition.ObjectReferenceType().RestrictionType(), ortBehavior);
}

TEST(ObjectReferenceType, RestrictionByOwnerType) {
  const char* refused =
      "Class Behavior attribute of type dtObjectReference cannot be restricted to ortClass or "
      "to ortClassAndDescendants";
  const struct {
    AttributeOwnerTypeEnum owner;
    ObjectReferenceRestrictionTypeEnum restriction;
    const char* failure;
  } cases[] = {
      {aotClass, ortClass, kNoFailure},
      {aotClassBehavior, ortClass, refused},
      {aotClassBehavior, ortClassAndDescendants, refused},
      {aotClassBehavior, ortBehavior, kNoFailure},
  };
  for (const auto& c : cases) {
    auto reference = NewTypeDefinition(c.owner, dtObjectReference).ObjectReferenceType();
    EXPECT_EQ(FailureOf([&] { reference.PutRestrictionType(c.restriction); }), c.failure);
    const bool stored = std::string(c.failure) == kNoFailure;
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
  source.PutValueType(dtString);
  source.StringType().PutMaxLength(40);
  copy.as<INvVexaTypeDefinitionCRaw>().Copy(source);
  EXPECT_EQ(copy.StringType().MaxLength(), 40);
}

}  // namespace
}  // namespace nv::test
