// The schema: its URI, Clear and Info, and a copy's behaviours of each origin but the
// catalogue, with their marks, and the links between the copies.
#include <gtest/gtest.h>

#include <string>

#include "schema_test_support.h"

namespace nv::test {
namespace {

// The URI is set once until cleared or copied; the Info, with a
// must-understand item, survives Clear.
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

// Behaviours of each origin but the catalogue, and a chain of classes with the
// child first. (That a copy keeps every property of classes, attributes,
// domain behaviours and Info items is checked on the random schemas of the
// schema document tests.)
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
  auto derived = AddClass(source, u"Derived");
  auto base = AddClass(source, u"Base");
  derived.PutParentClass(base);
  AddClass(source, u"Leaf", derived);
  base.CurrentClassAttributes().Add(u"id").PutRequired(true);
  base.CurrentClassBehaviors().Add(embedded, muYes);
  derived.CurrentClassBehaviors().Add(packaged, muNo);
  source.DomainBehaviors().Add(u"urn:d#Files").RoleClassMapping().PutItem(u"file", derived);
  return source;
}

// What the destination held is replaced by new objects that refer to each other.
TEST(SchemaCopy, CopiesBehaviorsByOriginAndLinksTheCopies) {
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
  const auto derived = copy.Classes().Item(0), base = copy.Classes().Item(1);
  EXPECT_NE(derived, source.Classes().Item(0));
  EXPECT_EQ(derived.ParentClass(), base);
  EXPECT_TRUE(
      base.CurrentClassAttributes().as<INvVexaAttributesCRaw>().ConsistsRequiredAttributes());

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

  // Classes list the destination's behaviours, with their marks; domain
  // behaviours the destination's classes.
  auto all = copy.Classes().ItemByName(u"Leaf").AllBehaviors();
  ASSERT_EQ(all.Count(), 2);
  EXPECT_EQ(all.Item(0), packaged);
  EXPECT_EQ(all.Item(1), behaviors.ItemByURI(u"urn:x#Embedded"));
  EXPECT_EQ(all.GetMustUnderstandStatus(u"urn:x#Embedded"), muYes);
  EXPECT_TRUE(copy.as<INvVexaSchemaCRaw>().HasMustUnderstandItems());
  auto roles = copy.DomainBehaviors().ItemByURI(u"urn:d#Files").RoleClassMapping();
  EXPECT_EQ(roles.Item(u"file"), derived);
}

}  // namespace
}  // namespace nv::test
