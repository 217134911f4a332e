// The schema: its URI, Clear and Info, and a copy of a whole schema (classes, attributes
// of every kind, behaviours of each origin but the catalogue, with their marks, domain
// behaviours).
#include <gtest/gtest.h>

#include <string>

#include "schema_test_support.h"

namespace nv::test {
namespace {

// The URI is set once until cleared or copied; the Info, with a
// must-understand item, survives Clear and is copied.
TEST(Schema, UriIsSetOnceUntilClearedOrCopiedAndInfoSurvivesClear) {
  auto schema = MakeSchema();
  schema.PutSchemaURI(u"urn:s");
  for (const char16_t* again : {u"urn:s", u"urn:t"})
    EXPECT_EQ(FailureOf([&] { schema.PutSchemaURI(again); }),
              "Schema URI is already set to \"urn:s\"");
  const auto item = schema.Info().GetInfoItem(u"a", u"urn:s");
  item.PutValueType(dtString);
  item.PutValue(Variant(u"v"));
  EXPECT_FALSE(schema.as<INvVexaSchemaCRaw>().HasMustUnderstandItems());
  item.PutMustUnderstand(muYes);
  schema.Clear();
  schema.PutSchemaURI(u"urn:again");
  EXPECT_TRUE(schema.as<INvVexaSchemaCRaw>().HasMustUnderstandItems());

  auto copy = MakeSchema();
  copy.Copy(schema);
  const auto copied = copy.Info().GetInfoItem(u"a", u"urn:s");
  EXPECT_EQ(copied.MustUnderstand(), muYes);
  EXPECT_EQ(Utf8(copied.Value().bstrVal), "v");
  EXPECT_TRUE(copy.as<INvVexaSchemaCRaw>().HasMustUnderstandItems());

  auto source = MakeSchema();
  source.PutSchemaURI(u"urn:source");
  source.as<INvVexaSchemaCRaw>().Set_SchemaLocation(u"source.xsd");
  schema.Copy(source);
  EXPECT_EQ(Utf8(schema.SchemaLocation()), "source.xsd");
  schema.PutSchemaURI(u"urn:replaced");
  EXPECT_EQ(Utf8(schema.SchemaURI()), "urn:replaced");
  AddClass(schema, u"A");
  schema.Copy(schema);  // a copy to itself changes nothing
  EXPECT_EQ(schema.Classes().Count(), 1);
}

// Attributes t1..t21, one of each data type.
void AddAttributesOfEveryKind(const ComPtr<INvVexaAttributes>& attributes) {
  for (int type = dtString; type <= dtXML; ++type) {
    auto attribute = attributes.Add(Bstr::FromUtf8("t" + std::to_string(type)));
    attribute.TypeDefinition().PutValueType(static_cast<DataTypeEnum>(type));
    attribute.PutIsNullAllowed(type % 2 == 0);
    if (type == dtString) attribute.TypeDefinition().StringType().PutMaxLength(8);
    if (type == dtObjectReference) {
      attribute.TypeDefinition().ObjectReferenceType().PutRestrictionType(ortClass);
      attribute.TypeDefinition().ObjectReferenceType().PutClassName(u"Base");
    }
  }
  attributes.ItemByName(u"t10").PutRequired(true);
  attributes.ItemByName(u"t10").PutIsPrimary(true);
  attributes.ItemByName(u"t2").PutDefaultValue(Variant(true));
}

// Behaviours of each origin but the catalogue, three classes with the child
// first, attributes of every kind and a domain behaviour.
ComPtr<INvVexaSchema> CopySource() {
  ComPtr<INvVexaSchema> source = MakeSchema();
  source.PutSchemaURI(u"urn:source");
  auto behaviors = source.ClassesBehaviors();
  auto embedded = behaviors.Add(mtEmbedded, u"urn:x#Embedded", u"", false);
  embedded.Attributes().Add(u"e").PutRequired(true);
  auto packaged = behaviors.Add(mtExternal, u"urn:p#Packaged", u"VEXA_CB_NS1.xsd", false);
  auto reference = packaged.Attributes().Add(u"p").TypeDefinition();
  reference.PutValueType(dtObjectReference);
  reference.ObjectReferenceType().PutRestrictionType(ortBehavior);
  reference.ObjectReferenceType().PutBehaviorURI(u"urn:x#Embedded");
  behaviors.Add(mtExternal, u"urn:far#Far", u"http://host/far.xsd", false);

  // The child comes first in the collection, its parent after it.
  auto derived = AddClass(source, u"Derived");
  auto base = AddClass(source, u"Base");
  derived.PutParentClass(base);
  AddClass(source, u"Leaf", derived);
  base.PutIsAbstract(true);
  AddAttributesOfEveryKind(base.CurrentClassAttributes());
  derived.CurrentClassAttributes().Add(u"own");
  base.CurrentClassBehaviors().Add(embedded, muYes);
  derived.CurrentClassBehaviors().Add(packaged, muNo);
  source.DomainBehaviors().Add(u"urn:d#Files").RoleClassMapping().PutItem(u"file", derived);
  return source;
}

// What the destination held is replaced.
TEST(SchemaCopy, CopiesClassesAttributesAndBehaviorsByOriginWithTheirMarks) {
  const ComPtr<INvVexaSchema> source = CopySource(), copy = NewSchemaWithServices();
  AddClass(copy, u"Stale");
  copy.ClassesBehaviors().Add(mtEmbedded, u"urn:stale#S", u"", false);
  copy.DomainBehaviors().Add(u"urn:stale");
  EXPECT_EQ(FailureOf([&] { MakeSchema().Copy(source); }),
            "Cannot copy behavior \"urn:far#Far\": the standard behavior catalogue is not "
            "available");
  copy.Copy(source);
  EXPECT_EQ(copy.Classes().IndexOf(u"Stale") + copy.ClassesBehaviors().IndexOf(u"urn:stale#S") +
                copy.DomainBehaviors().IndexOf(u"urn:stale"),
            -3);

  auto classes = copy.Classes();
  ASSERT_EQ(classes.Count(), 3);
  const auto derived = classes.Item(0), base = classes.Item(1), leaf = classes.Item(2);
  EXPECT_NE(derived, source.Classes().Item(0));
  EXPECT_EQ(derived.ParentClass(), base);
  EXPECT_EQ(leaf.ParentClass(), derived);
  EXPECT_EQ(base.ParentClass(), nullptr);
  EXPECT_TRUE(base.IsAbstract());
  EXPECT_EQ(leaf.AllAttributes().IndexOf(u"t20"), 20);

  auto attributes = base.CurrentClassAttributes();
  ASSERT_EQ(attributes.Count(), 21);
  for (LONG k = 0; k < attributes.Count(); ++k) {
    EXPECT_EQ(attributes.Item(k).TypeDefinition().ValueType(), static_cast<DataTypeEnum>(k + 1));
    EXPECT_EQ(attributes.Item(k).IsNullAllowed(), (k + 1) % 2 == 0);
  }
  EXPECT_EQ(attributes.ItemByName(u"t1").TypeDefinition().StringType().MaxLength(), 8);
  auto reference = attributes.ItemByName(u"t20").TypeDefinition().ObjectReferenceType();
  EXPECT_EQ(Utf8(reference.ClassName()), "Base");
  EXPECT_TRUE(attributes.ItemByName(u"t10").Required() && attributes.ItemByName(u"t10").IsPrimary());
  EXPECT_EQ(attributes.ItemByName(u"t2").DefaultValue().boolVal, VARIANT_TRUE);
  EXPECT_TRUE(attributes.as<INvVexaAttributesCRaw>().ConsistsRequiredAttributes());

  auto behaviors = copy.ClassesBehaviors();
  ASSERT_EQ(behaviors.Count(), 3);
  // Embedded, and beside the schema: embedded copies without a location.
  EXPECT_EQ(Utf8(behaviors.Item(0).SchemaLocation()), "");
  EXPECT_TRUE(
      behaviors.Item(0).Attributes().as<INvVexaAttributesCRaw>().ConsistsRequiredAttributes());
  auto packaged = behaviors.ItemByURI(u"urn:p#Packaged");
  EXPECT_EQ(Utf8(packaged.SchemaLocation()), "");
  EXPECT_EQ(
      Utf8(packaged.Attributes().Item(0).TypeDefinition().ObjectReferenceType().BehaviorURI()),
      "urn:x#Embedded");
  // Elsewhere: loaded again.
  auto far = behaviors.ItemByURI(u"urn:far#Far");
  EXPECT_EQ(Utf8(far.SchemaLocation() + far.Attributes().Item(0).Name().View()),
            "http://host/far.xsdfarAway");

  // Classes list the destination's behaviours, with their marks.
  auto all = copy.Classes().ItemByName(u"Leaf").AllBehaviors();
  ASSERT_EQ(all.Count(), 2);
  EXPECT_EQ(all.Item(0), packaged);
  EXPECT_EQ(all.Item(1), behaviors.ItemByURI(u"urn:x#Embedded"));
  EXPECT_EQ(all.GetMustUnderstandStatus(u"urn:p#Packaged"), muNo);
  EXPECT_EQ(all.GetMustUnderstandStatus(u"urn:x#Embedded"), muYes);
  EXPECT_TRUE(copy.as<INvVexaSchemaCRaw>().HasMustUnderstandItems());

  // Domain behaviours find the copied classes.
  auto roles = copy.DomainBehaviors().ItemByURI(u"urn:d#Files").RoleClassMapping();
  EXPECT_EQ(roles.Item(u"file"), copy.Classes().ItemByName(u"Derived"));
}

}  // namespace
}  // namespace nv::test
